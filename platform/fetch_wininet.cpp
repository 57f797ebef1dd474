#include "platform/fetch_wininet.h"

#include <wininet.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

namespace platform {

namespace {

bool isWebAddress(const std::string& url) {
    auto starts = [&](const char* scheme) {
        size_t n = std::strlen(scheme);
        return url.size() > n && _strnicmp(url.c_str(), scheme, n) == 0;
    };
    return starts("http://") || starts("https://");
}

// What the worker thread and the waiting thread share. The worker may
// outlive an abandoned wait, so both hold it.
struct Job {
    std::string url, temp;
    bool bypassCache = false;
    FetchLimits limits;
    std::mutex lock;
    HINTERNET session = nullptr;
    HINTERNET request = nullptr;
    std::atomic<bool> abandoned{false};
    FetchResult result;

    // Closing the handles makes a pending WinINet call return at once.
    void abort() {
        std::lock_guard<std::mutex> g(lock);
        if (request)
            InternetCloseHandle(request);
        if (session)
            InternetCloseHandle(session);
        request = session = nullptr;
    }
};

std::string systemError(DWORD code) {
    return "error " + std::to_string(code);
}

void transfer(Job& job) {
    FetchResult& r = job.result;
    HINTERNET session =
        InternetOpenA("Fetchlets", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) {
        r.error = "the network service is not available (" + systemError(GetLastError()) + ")";
        return;
    }
    DWORD connect = job.limits.connect, receive = job.limits.receive;
    InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    InternetSetOptionA(session, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof receive);
    InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof receive);
    {
        std::lock_guard<std::mutex> g(job.lock);
        if (job.abandoned) {
            InternetCloseHandle(session);
            return;
        }
        job.session = session;
    }
    if (job.bypassCache)
        DeleteUrlCacheEntryA(job.url.c_str());
    DWORD flags = INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH |
                  INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
    if (job.bypassCache)
        flags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
    HINTERNET request = InternetOpenUrlA(session, job.url.c_str(), nullptr, 0, flags, 0);
    {
        std::lock_guard<std::mutex> g(job.lock);
        if (job.abandoned || !job.session) {
            if (request)
                InternetCloseHandle(request);
            return;
        }
        job.request = request;
    }
    if (!request) {
        DWORD e = GetLastError();
        r.error = e == ERROR_INTERNET_TIMEOUT ? "the server did not answer in time"
                  : e == ERROR_INTERNET_CANNOT_CONNECT || e == ERROR_INTERNET_NAME_NOT_RESOLVED
                      ? "the server could not be reached"
                      : "the request failed (" + systemError(e) + ")";
        return;
    }
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr)) {
        r.error = "the answer was not an HTTP answer";
        return;
    }
    r.status = static_cast<int>(status);
    if (status < 200 || status > 299) {
        r.error = "the server answered with status " + std::to_string(status);
        return;
    }
    // The promised length, when the server gave one: a body that ends before
    // it was cut off on the way.
    long long expected = -1;
    char lengthText[32] = {};
    size = sizeof lengthText - 1;
    if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, lengthText, &size, nullptr)) {
        char* end = nullptr;
        long long v = std::strtoll(lengthText, &end, 10);
        if (end != lengthText && v >= 0)
            expected = v;
    }
    HANDLE out = CreateFileA(job.temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        r.error = "the file could not be written (" + systemError(GetLastError()) + ")";
        return;
    }
    long long received = 0;
    bool complete = false;
    std::unique_ptr<char[]> buffer(new char[65536]);
    for (;;) {
        DWORD n = 0;
        if (!InternetReadFile(request, buffer.get(), 65536, &n)) {
            DWORD e = GetLastError();
            r.error = e == ERROR_INTERNET_TIMEOUT
                          ? "the transfer stalled"
                          : "the transfer broke off (" + systemError(e) + ")";
            break;
        }
        if (n == 0) {
            complete = true;
            break;
        }
        DWORD written = 0;
        if (!WriteFile(out, buffer.get(), n, &written, nullptr) || written != n) {
            r.error = "the file could not be written (" + systemError(GetLastError()) + ")";
            break;
        }
        received += n;
        if (job.abandoned)
            break;
    }
    bool flushed = complete && FlushFileBuffers(out);
    CloseHandle(out);
    if (!complete)
        return;
    if (expected >= 0 && received != expected) {
        r.error = "the answer ended after " + std::to_string(received) + " of " +
                  std::to_string(expected) + " bytes";
        return;
    }
    if (!flushed) {
        r.error = "the file could not be written (" + systemError(GetLastError()) + ")";
        return;
    }
    r.ok = true;
}

DWORD WINAPI worker(void* p) {
    std::unique_ptr<std::shared_ptr<Job>> holder(static_cast<std::shared_ptr<Job>*>(p));
    Job& job = **holder;
    transfer(job);
    {
        std::lock_guard<std::mutex> g(job.lock);
        if (job.request)
            InternetCloseHandle(job.request);
        if (job.session)
            InternetCloseHandle(job.session);
        job.request = job.session = nullptr;
    }
    // Nobody waits for an abandoned transfer: its partial file goes here.
    if (job.abandoned)
        DeleteFileA(job.temp.c_str());
    return 0;
}

std::string folderOf(const std::string& file) {
    size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

// Lets the windows repaint while dropping keyboard and mouse input (a click
// meant for a window that is busy must not act later).
void keepPainting(HWND waiting) {
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        ;
    while (PeekMessageA(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
        ;
    while (PeekMessageA(&m, nullptr, WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK, PM_REMOVE))
        ;
    while (PeekMessageA(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageA(&m);
    (void)waiting;
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

} // namespace

FetchResult WinInetFetcher::fetch(const std::string& url, const std::string& file, bool bypassCache,
                                  HWND waiting) {
    FetchResult result;
    if (!isWebAddress(url)) {
        result.error = "only http and https addresses are fetched";
        return result;
    }
    char temp[MAX_PATH] = {};
    if (!GetTempFileNameA(folderOf(file).c_str(), "~fl", 0, temp)) {
        result.error = "no temporary file could be made beside " + file + " (" +
                       systemError(GetLastError()) + ")";
        return result;
    }
    auto job = std::make_shared<Job>();
    job->url = url;
    job->temp = temp;
    job->bypassCache = bypassCache;
    job->limits = limits_;

    HCURSOR before = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    auto* holder = new std::shared_ptr<Job>(job);
    HANDLE thread = CreateThread(nullptr, 0, worker, holder, 0, nullptr);
    if (!thread) {
        delete holder;
        DeleteFileA(temp);
        SetCursor(before);
        result.error = "the transfer could not be started";
        return result;
    }
    DWORD start = GetTickCount();
    bool finished = false;
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limits_.total)
            break;
        DWORD slice = limits_.total - elapsed < 100 ? limits_.total - elapsed : 100;
        DWORD w = MsgWaitForMultipleObjects(1, &thread, FALSE, slice,
                                            QS_PAINT | QS_INPUT | QS_SENDMESSAGE);
        if (w == WAIT_OBJECT_0) {
            finished = true;
            break;
        }
        keepPainting(waiting);
    }
    if (!finished) {
        // Out of time: stop the transfer and give the worker a moment to
        // notice; a worker that still hangs cleans up after itself.
        job->abandoned = true;
        job->abort();
        finished = WaitForSingleObject(thread, 500) == WAIT_OBJECT_0;
        CloseHandle(thread);
        if (finished)
            DeleteFileA(temp);
        keepPainting(waiting);
        SetCursor(before);
        result.error =
            "no complete answer within " + std::to_string(limits_.total / 1000) + " seconds";
        result.status = job->result.status;
        return result;
    }
    CloseHandle(thread);
    result = job->result;
    if (result.ok &&
        !MoveFileExA(temp, file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        result.ok = false;
        result.error = "the file could not be replaced (" + systemError(GetLastError()) + ")";
    }
    if (!result.ok)
        DeleteFileA(temp);
    keepPainting(waiting);
    SetCursor(before);
    return result;
}

} // namespace platform
