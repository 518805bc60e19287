#include "online/CloudTransfer.h"

#include <wininet.h>

#include <algorithm>
#include <string>

#include "online/HttpRequestRules.h"
#include "online/UnicodeEscapes.h"
#include "session/Utf8Text.h"

namespace korv {

// Time left of one Post's budget.
class TransferDeadline {
public:
    explicit TransferDeadline(DWORD budgetMs) : end_(GetTickCount64() + budgetMs) {}
    DWORD Left() const {
        ULONGLONG now = GetTickCount64();
        return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
    }
    bool Passed() const { return Left() == 0; }

private:
    ULONGLONG end_;
};

namespace {

// One WinInet handle, closed when the object goes. Post declares the
// session, the connection and the request in that order, so they close in
// the reverse one: request, connection, session, on every path.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_ != nullptr) {
            InternetCloseHandle(handle_);
        }
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;

    HINTERNET Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};

const wchar_t kRequestHeaders[] =
    L"Accept: application/json, text/javascript, */*\r\nContent-type: application/x-www-form-urlencoded\r\n";

// Every wait of WinInet on this handle (connecting, sending, receiving) may
// last the step limit, but never beyond the deadline.
void LimitWaits(HINTERNET handle, DWORD stepMs, const TransferDeadline& deadline) {
    DWORD wait = std::max<DWORD>(1, std::min(stepMs, deadline.Left()));
    InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &wait, sizeof(wait));
    InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &wait, sizeof(wait));
    InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &wait, sizeof(wait));
}

std::wstring WideFromUtf8Bytes(const std::string& bytes) {
    if (bytes.empty()) {
        return {};
    }
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(std::max(length, 0)), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    }
    return text;
}

// A redirect answer to a secure request, whose new address (resolved
// against the current one) is secure too. Any other redirect is not
// followed: its status then fails the request like every status but 200.
bool SecureRedirect(HINTERNET request, const std::wstring& current, std::wstring& next) {
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
        return false;
    }
    if (status != HTTP_STATUS_MOVED && status != HTTP_STATUS_REDIRECT && status != HTTP_STATUS_REDIRECT_METHOD &&
        status != HTTP_STATUS_REDIRECT_KEEP_VERB && status != 308) {
        return false;
    }
    wchar_t location[INTERNET_MAX_URL_LENGTH + 1] = {};
    size = sizeof(location);
    if (!HttpQueryInfoW(request, HTTP_QUERY_LOCATION, location, &size, nullptr)) {
        return false;
    }
    wchar_t combined[INTERNET_MAX_URL_LENGTH + 1] = {};
    DWORD length = static_cast<DWORD>(std::size(combined));
    if (!InternetCombineUrlW(current.c_str(), location, combined, &length, ICU_NO_ENCODE)) {
        return false;
    }
    next = combined;
    return IsSecureUrl(next);
}

// The status must be exactly 200; then the body is read in pieces of at
// most kReadPiece bytes. Each piece counts as text up to its first zero byte.
bool ReadResponse(HINTERNET request, DWORD stepMs, const TransferDeadline& deadline, std::wstring& response) {
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status != HTTP_STATUS_OK) {
        return false;
    }

    std::string body;
    body.reserve(CCloudTransfer::kReadPiece);
    std::string piece(CCloudTransfer::kReadPiece + 1, '\0');
    size_t received = 0;
    for (;;) {
        if (deadline.Passed()) {
            return false;
        }
        // Asks for no more than has arrived: a read of a whole piece would
        // wait until the piece is full, and a server that sends a byte at a
        // time would keep it waiting past the deadline.
        LimitWaits(request, stepMs, deadline);
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request, &available, 0, 0)) {
            return false;
        }
        std::fill(piece.begin(), piece.end(), '\0');
        DWORD read = 0;
        if (available > 0 &&
            !InternetReadFile(request, piece.data(), std::min(available, CCloudTransfer::kReadPiece), &read)) {
            return false;
        }
        if (read == 0) {
            break;
        }
        received += read;
        if (received > CCloudTransfer::kMaxReplyBytes) {
            return false;
        }
        piece[read] = '\0';
        body.append(piece.c_str());
    }
    response = WideFromUtf8Bytes(body);
    return true;
}

}  // namespace

std::wstring MakeUserAgent() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return UserAgentFor(std::wstring(path, std::min<DWORD>(length, MAX_PATH)));
}

bool CCloudTransfer::Post(const std::wstring& url, const std::wstring& body, std::wstring& response) {
    const TransferDeadline deadline(kPostBudgetMs);
    std::wstring target = url;
    std::string bytes = Utf8FromWide(body);
    for (int hop = 0; hop <= kMaxSecureRedirects; ++hop) {
        std::wstring redirect;
        switch (PostOnce(target, bytes, deadline, response, redirect)) {
        case Outcome::Done:
            return true;
        case Outcome::Failed:
            return false;
        case Outcome::Redirected:
            target = redirect;
            break;
        }
    }
    return false;
}

CCloudTransfer::Outcome CCloudTransfer::PostOnce(const std::wstring& url, const std::string& bytes,
                                                 const TransferDeadline& deadline, std::wstring& response,
                                                 std::wstring& redirect) {
    UrlParts parts;
    if (!SplitUrl(url, parts)) {
        return Outcome::Failed;
    }
    const bool secure = IsSecureUrl(url);
    // A secure request follows no redirect by itself: WinInet would follow
    // one down to plain HTTP (Wine's does even without being allowed to),
    // and the reply would then come from whoever answers in clear text.
    const DWORD flags = RequestFlags(secure) | (secure ? INTERNET_FLAG_NO_AUTO_REDIRECT : 0);

    InternetHandle session(
        InternetOpenW(MakeUserAgent().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_DONT_CACHE));
    if (!session) {
        return Outcome::Failed;
    }
    LimitWaits(session.Get(), m_timeoutMs, deadline);

    InternetHandle connection(InternetConnectW(session.Get(), parts.host.c_str(), parts.port, nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, INTERNET_FLAG_RELOAD | INTERNET_FLAG_DONT_CACHE,
                                               1));
    if (!connection) {
        return Outcome::Failed;
    }
    InternetHandle request(HttpOpenRequestW(connection.Get(), L"POST", parts.object.c_str(), nullptr, nullptr,
                                            nullptr, flags, 1));
    if (!request) {
        return Outcome::Failed;
    }
    HttpAddRequestHeadersW(request.Get(), kRequestHeaders, static_cast<DWORD>(-1), HTTP_ADDREQ_FLAG_ADD_IF_NEW);

    // The body goes out in one write, its length announced beforehand.
    INTERNET_BUFFERSW announce{};
    announce.dwStructSize = sizeof(announce);
    announce.dwBufferTotal = static_cast<DWORD>(bytes.size());
    LimitWaits(request.Get(), m_timeoutMs, deadline);
    if (!HttpSendRequestExW(request.Get(), &announce, nullptr, HSR_INITIATE | HSR_SYNC, 1)) {
        return Outcome::Failed;
    }
    DWORD written = 0;
    if (!bytes.empty() && (!InternetWriteFile(request.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written) ||
                           written != bytes.size())) {
        return Outcome::Failed;
    }
    LimitWaits(request.Get(), m_timeoutMs, deadline);
    if (!HttpEndRequestW(request.Get(), nullptr, HSR_SYNC, 1) || deadline.Passed()) {
        return Outcome::Failed;
    }
    if (secure && SecureRedirect(request.Get(), url, redirect)) {
        return Outcome::Redirected;
    }

    std::wstring reply;
    if (!ReadResponse(request.Get(), m_timeoutMs, deadline, reply)) {
        return Outcome::Failed;
    }
    response = DecodeUnicodeEscapes(reply);
    return Outcome::Done;
}

}  // namespace korv
