#include "downloads/transfer.h"

#include "downloads/pure/file_names.h"
#include "platform/utf8.h"

#include <wininet.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace downloads {

namespace {

// One header of the answer as text; empty when absent.
std::string queryText(HINTERNET req, DWORD what) {
    std::vector<wchar_t> buf(512);
    for (;;) {
        DWORD size = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
        DWORD index = 0;
        if (HttpQueryInfoW(req, what, buf.data(), &size, &index))
            return platform::narrow(std::wstring(buf.data(), size / sizeof(wchar_t)));
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return {};
        buf.resize(size / sizeof(wchar_t) + 1);
    }
}

std::string systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring w = text ? text : L"";
    LocalFree(text);
    while (!w.empty() &&
           (w.back() == L'\n' || w.back() == L'\r' || w.back() == L' ' || w.back() == L'.'))
        w.pop_back();
    return w.empty() ? "error " + std::to_string(error) : platform::narrow(w);
}

std::uint64_t fileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d))
        return 0;
    return (static_cast<std::uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

bool endsWithNoCase(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size())
        return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i])
            return false;
    return true;
}

constexpr DWORD kBufferSize = 1 << 20;
constexpr DWORD kSmallestPiece = 8 * 1024;

// Some WinINet versions (Wine's among them) report a receive time-out as a
// lost connection: a call that failed after waiting the whole limit timed out.
DWORD timeoutAware(DWORD error, ULONGLONG waitedMs, unsigned limitMs) {
    bool lost =
        error == ERROR_INTERNET_CONNECTION_ABORTED || error == ERROR_INTERNET_CONNECTION_RESET;
    return lost && waitedMs + 100 >= limitMs ? ERROR_INTERNET_TIMEOUT : error;
}

} // namespace

Transfer::Transfer(std::string url, Limits limits, HWND notify, UINT message)
    : url_(std::move(url)), limits_(limits), notify_(notify), message_(message) {
    s_.url = url_;
}

Transfer::~Transfer() = default;

Transfer::Snapshot Transfer::snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return s_;
}

void Transfer::presetPath(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    s_.path = path;
}

void Transfer::start() {
    if (running_.exchange(true))
        return;
    cancel_ = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        s_.state = State::Connecting;
        s_.detail.clear();
        s_.signatureChecked = false;
        s_.signature = {};
        s_.webPage = false;
    }
    // The thread keeps the transfer alive until it ends.
    std::thread([self = shared_from_this()] { self->work(); }).detach();
}

void Transfer::setDestination(const std::string& path) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        s_.path = path;
        s_.needsDestination = false;
        destinationAnswered_ = true;
    }
    destinationSet_.notify_all();
}

void Transfer::cancel() {
    cancel_ = true;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // Closing the session makes a blocking connect or read return at once.
        if (session_) {
            InternetCloseHandle(static_cast<HINTERNET>(session_));
            session_ = nullptr;
        }
        if (!running_ && (s_.state == State::Failed))
            s_.state = State::Cancelled;
    }
    destinationSet_.notify_all();
    // The part file goes now: the worker holds it open with delete sharing,
    // so it vanishes when the worker lets go, even if the worker is still
    // waiting on a silent server.
    std::string path = snapshot().path;
    if (!path.empty())
        DeleteFileW(platform::widen(partPath(path)).c_str());
}

void Transfer::discardPart() {
    if (running_)
        return;
    std::string path = snapshot().path;
    if (!path.empty())
        DeleteFileW(platform::widen(partPath(path)).c_str());
}

void Transfer::post() {
    if (notify_)
        PostMessageW(notify_, message_, 0, 0);
}

void Transfer::finish(State state, const std::string& detail) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        s_.state = state;
        s_.detail = detail;
        s_.needsDestination = false;
        if (session_) {
            InternetCloseHandle(static_cast<HINTERNET>(session_));
            session_ = nullptr;
        }
    }
    running_ = false;
    post();
}

// Connects to the address's server and sends the request (following
// redirects), with the time limits on the request itself. Null on failure
// (GetLastError tells why); `connection` is set when it was made.
HINTERNET Transfer::openRequest(void* sessionHandle, const std::wstring& headers,
                                HINTERNET& connection) {
    HINTERNET session = static_cast<HINTERNET>(sessionHandle);
    std::wstring url = platform::widen(url_);
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
        return nullptr;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
        SetLastError(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
        return nullptr;
    }
    connection =
        InternetConnectW(session, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection)
        return nullptr;
    std::wstring object = std::wstring(path) + extra;
    if (object.empty())
        object = L"/";
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES |
                  INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    const wchar_t* accept[] = {L"*/*", nullptr};
    HINTERNET req =
        HttpOpenRequestW(connection, L"GET", object.c_str(), nullptr, nullptr, accept, flags, 0);
    if (!req)
        return nullptr;
    DWORD connect = limits_.connectMs, transfer = limits_.transferMs;
    InternetSetOptionW(req, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionW(req, INTERNET_OPTION_SEND_TIMEOUT, &transfer, sizeof transfer);
    InternetSetOptionW(req, INTERNET_OPTION_RECEIVE_TIMEOUT, &transfer, sizeof transfer);
    if (!HttpSendRequestW(req, headers.empty() ? nullptr : headers.c_str(),
                          static_cast<DWORD>(headers.size()), nullptr, 0)) {
        DWORD err = GetLastError();
        InternetCloseHandle(req);
        SetLastError(err);
        return nullptr;
    }
    return req;
}

void Transfer::work() {
    HINTERNET session =
        InternetOpenW(L"Fetchlets", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) {
        finish(State::Failed, systemMessage(GetLastError()));
        return;
    }
    DWORD connect = limits_.connectMs, transfer = limits_.transferMs;
    InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionW(session, INTERNET_OPTION_SEND_TIMEOUT, &transfer, sizeof transfer);
    InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &transfer, sizeof transfer);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (cancel_) {
            InternetCloseHandle(session);
            session = nullptr;
        }
        session_ = session;
    }
    auto cancelledEnd = [&] {
        std::string path = snapshot().path;
        if (!path.empty())
            DeleteFileW(platform::widen(partPath(path)).c_str());
        finish(State::Cancelled, {});
    };
    if (!session) {
        cancelledEnd();
        return;
    }
    const unsigned connectS = (limits_.connectMs + 999) / 1000;
    const unsigned transferS = (limits_.transferMs + 999) / 1000;

    std::vector<char> buffer(kBufferSize);
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string path, etag, lastModified;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            path = s_.path;
            etag = etag_;
            lastModified = lastModified_;
        }
        std::uint64_t have = path.empty() ? 0 : fileSize(platform::widen(partPath(path)));
        std::wstring headers = platform::widen(resumeHeaders(have, etag, lastModified));
        if (headers.empty())
            have = 0;

        HINTERNET connection = nullptr;
        ULONGLONG asked = GetTickCount64();
        HINTERNET req = openRequest(session, headers, connection);
        if (!req) {
            DWORD err = timeoutAware(GetLastError(), GetTickCount64() - asked, limits_.transferMs);
            if (connection)
                InternetCloseHandle(connection);
            if (cancelled())
                return cancelledEnd();
            finish(State::Failed, networkFailure(err, connectS, transferS));
            return;
        }
        // The connection handle goes with the request (closed after it).
        struct Closer {
            HINTERNET h;
            ~Closer() {
                if (h)
                    InternetCloseHandle(h);
            }
        } closeConnection{connection};
        Answer answer;
        answer.status = std::atoi(queryText(req, HTTP_QUERY_STATUS_CODE).c_str());
        answer.statusText = queryText(req, HTTP_QUERY_STATUS_TEXT);
        answer.contentRange = queryText(req, HTTP_QUERY_CONTENT_RANGE);
        std::string length = queryText(req, HTTP_QUERY_CONTENT_LENGTH);
        if (!length.empty())
            answer.contentLength = std::strtoll(length.c_str(), nullptr, 10);
        std::string disposition = queryText(req, HTTP_QUERY_CONTENT_DISPOSITION);
        std::string type = queryText(req, HTTP_QUERY_CONTENT_TYPE);
        std::wstring finalUrl(4096, L'\0');
        DWORD urlSize = static_cast<DWORD>(finalUrl.size() * sizeof(wchar_t));
        if (InternetQueryOptionW(req, INTERNET_OPTION_URL, finalUrl.data(), &urlSize))
            finalUrl.resize(wcsnlen(finalUrl.c_str(), finalUrl.size()));
        else
            finalUrl.clear();

        Plan plan = planAnswer(have, answer);
        if (plan.action == Plan::StartOver) {
            InternetCloseHandle(req);
            if (!path.empty())
                DeleteFileW(platform::widen(partPath(path)).c_str());
            std::lock_guard<std::mutex> lock(mutex_);
            etag_.clear();
            lastModified_.clear();
            continue;
        }
        if (plan.action == Plan::Fail) {
            InternetCloseHandle(req);
            if (cancelled())
                return cancelledEnd();
            finish(State::Failed, plan.failure);
            return;
        }
        if (plan.action == Plan::WriteNew) {
            // Validators of a whole answer guard a later resume.
            std::lock_guard<std::mutex> lock(mutex_);
            etag_ = queryText(req, HTTP_QUERY_ETAG);
            lastModified_ = queryText(req, HTTP_QUERY_LAST_MODIFIED);
        }
        bool webPage = type.rfind("text/html", 0) == 0;

        // The file name: asked of the window unless it was chosen before.
        if (path.empty()) {
            std::unique_lock<std::mutex> lock(mutex_);
            s_.finalUrl = platform::narrow(finalUrl);
            s_.suggestedName = suggestedFileName(disposition, s_.finalUrl, url_);
            s_.total = plan.total;
            s_.state = State::Waiting;
            s_.needsDestination = true;
            destinationAnswered_ = false;
            lock.unlock();
            post();
            lock.lock();
            destinationSet_.wait(lock, [&] { return destinationAnswered_ || cancel_.load(); });
            path = s_.path;
            lock.unlock();
            if (cancelled() || path.empty()) {
                InternetCloseHandle(req);
                return cancelledEnd();
            }
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            s_.finalUrl = platform::narrow(finalUrl);
            s_.total = plan.total;
            s_.received = plan.action == Plan::Append ? have : 0;
            s_.state = State::Downloading;
            s_.webPage = webPage && !endsWithNoCase(path, ".htm") && !endsWithNoCase(path, ".html");
        }
        post();

        std::wstring part = platform::widen(partPath(path));
        HANDLE file =
            CreateFileW(part.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                        plan.action == Plan::Append ? OPEN_EXISTING : CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            DWORD err = GetLastError();
            InternetCloseHandle(req);
            finish(State::Failed, "the file could not be written: " + systemMessage(err));
            return;
        }
        std::uint64_t received = 0;
        DWORD piece = 64 * 1024;
        if (plan.action == Plan::Append) {
            LARGE_INTEGER end{};
            SetFilePointerEx(file, end, nullptr, FILE_END);
            received = have;
        }
        std::string failure;
        DWORD readError = 0;
        for (;;) {
            // A read returns when its piece is full or the body ends, so the
            // piece is sized to take about a tenth of a second at the speed
            // seen: a fast server is read in large pieces, a slow one still
            // shows progress, and a cancel is seen between pieces.
            DWORD got = 0;
            ULONGLONG began = GetTickCount64();
            if (!InternetReadFile(req, buffer.data(), piece, &got)) {
                readError =
                    timeoutAware(GetLastError(), GetTickCount64() - began, limits_.transferMs);
                break;
            }
            if (got == 0)
                break; // the end of the body
            ULONGLONG took = GetTickCount64() - began;
            if (got == piece && took < 50)
                piece = std::min<DWORD>(piece * 2, kBufferSize);
            else if (took > 200)
                piece = std::max<DWORD>(piece / 2, kSmallestPiece);
            DWORD written = 0;
            if (!WriteFile(file, buffer.data(), got, &written, nullptr) || written != got) {
                failure = "the file could not be written: " + systemMessage(GetLastError());
                break;
            }
            received += got;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                s_.received = received;
            }
            if (cancelled())
                break;
        }
        CloseHandle(file);
        InternetCloseHandle(req);
        if (cancelled())
            return cancelledEnd();
        if (failure.empty() && readError)
            failure = networkFailure(readError, connectS, transferS);
        if (failure.empty() && !isComplete(received, plan.total))
            failure = cutShortFailure(received, plan.total);
        if (!failure.empty()) {
            finish(State::Failed, failure);
            return;
        }
        std::wstring final = platform::widen(path);
        if (!MoveFileExW(part.c_str(), final.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            if (cancelled())
                return cancelledEnd();
            finish(State::Failed, "the file could not be saved: " + systemMessage(GetLastError()));
            return;
        }
        Signature signature;
        bool checked = false;
        if (isInstaller(path) && !webPage) {
            signature = checkSignature(path);
            checked = true;
        }
        std::string detail;
        if (webPage && !endsWithNoCase(path, ".htm") && !endsWithNoCase(path, ".html"))
            detail = "the server sent a web page, not a file";
        else if (checked)
            detail = signatureSummary(signature);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            s_.signature = signature;
            s_.signatureChecked = checked;
        }
        finish(State::Done, detail);
        return;
    }
    finish(State::Failed, "the server could not resume the file");
}

} // namespace downloads
