// CCloudTransfer: the setup program's HTTP client, over WinInet. One
// synchronous form-encoded POST per call, whose reply comes back as text.
//
//   CCloudTransfer transfer;
//   std::wstring reply;
//   if (transfer.Post(L"https://host/api/x", L"a=1&b=2", reply)) { ... }
//
// Every Post opens and closes its own session, connection and request; the
// system's proxy settings apply and nothing is cached. The lookup it serves
// runs after a finished installation with nothing on screen, so it must
// never keep the program waiting long: it gives up after kPostBudgetMs
// whatever the server does, and a reply larger than kMaxReplyBytes is
// refused rather than collected.
#pragma once

#include <windows.h>

#include <string>

namespace korv {

class TransferDeadline;

class CCloudTransfer {
public:
    // Longest time one Post may take, from the first connection attempt to
    // the last byte of the reply.
    static constexpr DWORD kPostBudgetMs = 30000;
    // Far above any real reply of the service (a few kilobytes).
    static constexpr size_t kMaxReplyBytes = 1024 * 1024;
    // The reply is read in pieces of this size.
    static constexpr DWORD kReadPiece = 10240;

    CCloudTransfer() = default;
    virtual ~CCloudTransfer() = default;

    // POSTs body (sent as UTF-8, exactly as given: the caller encodes it)
    // to url with the form content type. True only for status 200: response
    // then holds the reply decoded from UTF-8 with its \uXXXX escapes
    // replaced. On false response keeps what the caller put there.
    bool Post(const std::wstring& url, const std::wstring& body, std::wstring& response);

private:
    // A secure request is followed to this many further secure addresses.
    static constexpr int kMaxSecureRedirects = 5;

    enum class Outcome { Done, Failed, Redirected };
    Outcome PostOnce(const std::wstring& url, const std::string& bytes, const TransferDeadline& deadline,
                     std::wstring& response, std::wstring& redirect);

    // Connect time-out; also the longest single wait for sending or
    // receiving (each shortened to what is left of kPostBudgetMs).
    DWORD m_timeoutMs = 15000;
};

// The user agent of this program (see UserAgentFor).
std::wstring MakeUserAgent();

}  // namespace korv
