// What the HTTP client decides before it touches the network: how a URL is
// split into server, port and object, whether it is a secure one, the
// request flags that follow from that, and the user agent it introduces
// itself with. Plain values in and out, no platform headers, so these rules
// are tested in tables and fuzzed on Linux.
#pragma once

#include <cstdint>
#include <string>

namespace korv {

struct UrlParts {
    bool https = false;      // the scheme is https (in any case of letters)
    std::wstring host;       // server name or address, without brackets around an IPv6 address
    std::uint16_t port = 0;  // from the URL, or 80 / 443 by the scheme
    std::wstring object;     // path with query, beginning with "/"; the fragment is dropped
};

// Splits an absolute http:// or https:// URL. False for anything else: no
// scheme, another scheme, no host, a port that is not a number from 1 to
// 65535, or a control character, space or DEL anywhere (such a text would
// reach the request line and its headers unchanged).
bool SplitUrl(const std::wstring& url, UrlParts& parts);

// Whether the browser of the elevated process may open url (the page the
// lookup named, or any later navigation of it): an absolute https:// address
// (http:// only when plainHttpAllowed, that is when the service itself was
// asked over plain HTTP, as on the demo medium) with a host name of letters,
// digits, "-", "." (or an IPv6 address in brackets) and no user information.
// Everything else is refused: other schemes (file:, javascript:, res:,
// ftp:, about:), UNC paths, "\" anywhere before the path, "user@host".
bool IsAcceptedPageAddress(const std::wstring& url, bool plainHttpAllowed);

// True when the URL's scheme is https, whatever the case of its letters.
// A capitalised "HTTPS://" names the same secure service: treating it as
// plain would send the request in clear text to the TLS port, where anyone
// on the path could answer it.
bool IsSecureUrl(const std::wstring& url);

// The WinInet request flags of a POST (INTERNET_FLAG_* values): always an
// existing connection; a secure request keeps every certificate check and
// does not follow a redirect from HTTPS to HTTP; a plain request may follow
// a redirect to HTTPS.
std::uint32_t RequestFlags(bool secure);

// "Korvanix/1.0 (<file name> 1.0; Windows NT 6.1)", the file name being the
// part of programPath after its last "\" or "/" (empty without one). The
// Windows version is always 6.1: the service groups its clients by this
// text, not by the system they run on.
std::wstring UserAgentFor(const std::wstring& programPath);

}  // namespace korv
