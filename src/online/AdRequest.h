// The form of the advertisement lookup: its parameters, the text their
// signature is computed over, the form-encoded body and the timestamp text.
// Plain values only (no platform headers), so the request form is tested in
// tables and fuzzed on Linux; AdSettings.cpp adds the clock, MD5 and HTTP.
#pragma once

#include <map>
#include <string>

namespace korv {

// Parameter name to value, in ascending order of the names compared code
// unit by code unit: the order of the body and of the signature text.
using AdParams = std::map<std::wstring, std::wstring>;

// The service path, appended directly to the base address.
extern const wchar_t kAdSettingPath[];

// clientType, clientVersion, channelNo, language, type and ts of a lookup
// (sign is added when the request is posted).
AdParams MakeAdLookupParams(const std::wstring& version, const std::wstring& language, const std::wstring& channel,
                            const std::wstring& timestamp);

// The text the signature is the MD5 of: path "?" the sorted name=value
// pairs (leaving out "sign" and empty values) joined by "&", followed by
// "key=" and the utoken value when there is one, else by "key=" and the
// value of the first sorted pair, else by nothing.
std::wstring SignatureText(const std::wstring& path, const AdParams& params);

// A text in application/x-www-form-urlencoded form: its UTF-8 bytes, letters,
// digits and "*-._" as they are, a blank as "+", every other byte as "%XX".
// A value holding "&", "=" or "+" (a channel from Setup.ini, say) then stays
// one value instead of adding fields of its own.
std::wstring FormEncoded(const std::wstring& text);

// name=value for every entry in map order, empty values included, joined by
// "&", each name and value FormEncoded. The signature is still made over the
// plain values (SignatureText): the service decodes the form before it checks.
std::wstring FormBody(const AdParams& params);

// Seconds since 1970 as milliseconds, in decimal: always ends in 000.
std::wstring TimestampText(long long secondsSince1970);

}  // namespace korv
