#include "platform/http_client.h"

#include "platform/utf8.h"

#include <cstdlib>
#include <set>
#include <thread>
#include <vector>

namespace platform {

namespace {

std::string queryText(HINTERNET req, DWORD what) {
    std::vector<wchar_t> buf(512);
    for (;;) {
        DWORD size = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
        DWORD index = 0;
        if (HttpQueryInfoW(req, what, buf.data(), &size, &index))
            return narrow(std::wstring(buf.data(), size / sizeof(wchar_t)));
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return {};
        buf.resize(size / sizeof(wchar_t) + 1);
    }
}

void setLimit(HINTERNET h, DWORD option, unsigned ms) {
    DWORD v = ms;
    InternetSetOptionW(h, option, &v, sizeof v);
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Some WinINet versions (Wine's among them) report a receive time-out as a
// lost connection: a call that failed after waiting the whole limit timed out.
DWORD timeoutAware(DWORD error, ULONGLONG waitedMs, unsigned limitMs) {
    bool lost =
        error == ERROR_INTERNET_CONNECTION_ABORTED || error == ERROR_INTERNET_CONNECTION_RESET;
    return lost && waitedMs + 100 >= limitMs ? ERROR_INTERNET_TIMEOUT : error;
}

} // namespace

void detail::closeInternetHandle(void* h) {
    InternetCloseHandle(h);
}

HttpGet::HttpGet(HttpLimits limits) : limits_(limits) {}

HttpGet::~HttpGet() {
    std::lock_guard<std::mutex> lock(mutex_);
    request_.reset();
    connection_.reset();
    session_.reset();
}

bool HttpGet::cancelled() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return cancelled_;
}

void HttpGet::cancel() {
    InternetHandle request, connection, session;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        cancelled_ = true;
        request = std::move(request_);
        connection = std::move(connection_);
        session = std::move(session_);
    }
    // Closing the handles makes a blocking WinINet call return where it can.
    // The close itself may take long (WinINet reads what the server still
    // sends before it lets a connection go), so it runs on a thread of its
    // own and the caller goes on at once.
    std::thread([r = std::move(request), c = std::move(connection),
                 s = std::move(session)]() mutable {
        r.reset();
        c.reset();
        s.reset();
    }).detach();
}

void HttpGet::close() {
    std::lock_guard<std::mutex> lock(mutex_);
    request_.reset();
    connection_.reset();
    session_.reset();
}

bool HttpGet::fail(DWORD error) {
    std::lock_guard<std::mutex> lock(mutex_);
    return failLocked(error);
}

bool HttpGet::failLocked(DWORD error) {
    error_ = cancelled_ ? kCancelled : error;
    return false;
}

std::string HttpGet::header(DWORD query) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return request_ ? queryText(request_.get(), query) : std::string();
}

// Connects to the address's server and sends one request, redirects not
// followed; the answer's headers have arrived when it returns true.
bool HttpGet::sendOne(const std::wstring& url, const std::wstring& headers) {
    wchar_t host[1024] = {}, path[8192] = {}, extra[8192] = {};
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 1024;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 8192;
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = 8192;
    if (!InternetCrackUrlW(url.c_str(), 0, 0, &parts))
        return fail(ERROR_INTERNET_INVALID_URL);
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return fail(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
    HINTERNET session = nullptr;
    InternetHandle oldRequest, oldConnection; // of the previous hop, closed unlocked
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (cancelled_)
            return failLocked(kCancelled);
        oldRequest = std::move(request_);
        oldConnection = std::move(connection_);
        session = session_.get();
    }
    oldRequest.reset();
    oldConnection.reset();
    HINTERNET connection =
        InternetConnectW(session, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection)
        return fail(GetLastError());
    std::wstring object = std::wstring(path) + extra;
    if (object.empty())
        object = L"/";
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES |
                  INTERNET_FLAG_NO_AUTH | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    const wchar_t* accept[] = {L"*/*", nullptr};
    HINTERNET request =
        HttpOpenRequestW(connection, L"GET", object.c_str(), nullptr, nullptr, accept, flags, 0);
    const DWORD openError = request ? 0 : GetLastError();
    InternetHandle c(connection), r(request);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (cancelled_)
            return failLocked(kCancelled); // c and r close after the lock
        connection_ = std::move(c);
        request_ = std::move(r);
    }
    if (!request)
        return fail(openError);
    // The limits go on the request itself: WinINet does not apply every one
    // of a session's limits to the requests made in it.
    setLimit(request, INTERNET_OPTION_CONNECT_TIMEOUT, limits_.connectMs);
    setLimit(request, INTERNET_OPTION_SEND_TIMEOUT, limits_.headersMs);
    setLimit(request, INTERNET_OPTION_RECEIVE_TIMEOUT, limits_.headersMs);
    ULONGLONG asked = GetTickCount64();
    if (!HttpSendRequestW(request, headers.empty() ? nullptr : headers.c_str(),
                          static_cast<DWORD>(headers.size()), nullptr, 0))
        return fail(timeoutAware(GetLastError(), GetTickCount64() - asked, limits_.headersMs));
    setLimit(request, INTERNET_OPTION_RECEIVE_TIMEOUT, limits_.silenceMs);
    return !cancelled() || fail(kCancelled);
}

bool HttpGet::open(const std::string& address, const std::string& extraHeaders) {
    {
        HINTERNET session =
            InternetOpenW(L"Fetchlets", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        const DWORD openError = session ? 0 : GetLastError();
        InternetHandle s(session);
        std::lock_guard<std::mutex> lock(mutex_);
        if (cancelled_)
            return failLocked(kCancelled);
        if (!session)
            return failLocked(openError);
        session_ = std::move(s);
        setLimit(session, INTERNET_OPTION_CONNECT_TIMEOUT, limits_.connectMs);
        setLimit(session, INTERNET_OPTION_SEND_TIMEOUT, limits_.headersMs);
        setLimit(session, INTERNET_OPTION_RECEIVE_TIMEOUT, limits_.headersMs);
    }
    std::wstring url = widen(address);
    const std::wstring headers = widen(extraHeaders);
    // Every address asked so far: one asked again is a loop, which no
    // further request can end.
    std::set<std::wstring> asked;
    for (int hop = 0;; ++hop) {
        asked.insert(url);
        if (!sendOne(url, headers))
            return false;
        status_ = std::atoi(header(HTTP_QUERY_STATUS_CODE).c_str());
        if (cancelled())
            return fail(kCancelled);
        std::string location = header(HTTP_QUERY_LOCATION);
        if (!isRedirect(status_) || location.empty())
            break;
        // The next address, relative to this one.
        std::wstring next(8192, L'\0');
        DWORD size = static_cast<DWORD>(next.size());
        if (!InternetCombineUrlW(url.c_str(), widen(location).c_str(), next.data(), &size, 0))
            return fail(ERROR_HTTP_REDIRECT_FAILED);
        next.resize(size);
        if (hop + 1 > kMaxRedirects || asked.count(next))
            return fail(kTooManyRedirects);
        url = next;
    }
    finalUrl_ = narrow(url);
    std::string length = header(HTTP_QUERY_CONTENT_LENGTH);
    if (!length.empty()) {
        char* end = nullptr;
        long long v = std::strtoll(length.c_str(), &end, 10);
        length_ = end != length.c_str() && v >= 0 ? v : -1;
    }
    std::string encoding = header(HTTP_QUERY_TRANSFER_ENCODING);
    chunked_ = _stricmp(encoding.c_str(), "chunked") == 0;
    return true;
}

bool HttpGet::read(void* buffer, DWORD size, DWORD& got) {
    got = 0;
    HINTERNET request = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (cancelled_ || !request_)
            return failLocked(kCancelled);
        request = request_.get();
    }
    ULONGLONG began = GetTickCount64();
    if (!InternetReadFile(request, buffer, size, &got)) {
        got = 0;
        return fail(timeoutAware(GetLastError(), GetTickCount64() - began, limits_.silenceMs));
    }
    if (cancelled()) {
        got = 0;
        return fail(kCancelled);
    }
    received_ += got;
    if (got == 0)
        ended_ = true;
    return true;
}

BodyEnd HttpGet::bodyEnd() const {
    if (length_ >= 0)
        return received_ == static_cast<std::uint64_t>(length_) ? BodyEnd::Whole : BodyEnd::Short;
    // Without a length nothing says where the body ends. That holds for a
    // chunked body too: WinINet hides the chunk framing, and under Wine a
    // body cut inside a chunk, or before the closing chunk, reads exactly
    // like a whole one (no error, nothing more available).
    return BodyEnd::Unconfirmed;
}

} // namespace platform
