#include "platform/fetch_wininet.h"

#include "platform/http_client.h"
#include "platform/utf8.h"

#include <atomic>
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

std::string describe(DWORD e) {
    switch (e) {
    case ERROR_INTERNET_TIMEOUT:
        return "the server did not answer in time";
    case ERROR_INTERNET_CANNOT_CONNECT:
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
        return "the server could not be reached";
    case ERROR_INTERNET_CONNECTION_ABORTED:
    case ERROR_INTERNET_CONNECTION_RESET:
        return "the connection was lost";
    case HttpGet::kTooManyRedirects:
        return "too many redirects";
    default:
        return "the request failed (error " + std::to_string(e) + ")";
    }
}

// What the worker thread and the waiting thread share. The worker may
// outlive an abandoned wait, so both hold it.
struct Job {
    std::string url, temp;
    std::uint64_t maxBytes = 0;
    HttpGet get;
    std::atomic<bool> abandoned{false};
    std::mutex lock;
    bool tempMade = false;
    FetchResult result;
    // Set once `result` is final and the temporary file closed.
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);

    explicit Job(HttpLimits limits) : get(limits) {}
    ~Job() {
        if (done)
            CloseHandle(done);
    }

    // The temporary file, opened so that a delete from the waiting thread
    // takes effect as soon as this handle goes (even if the process ends).
    HANDLE createTemp() {
        std::lock_guard<std::mutex> g(lock);
        if (abandoned)
            return INVALID_HANDLE_VALUE;
        HANDLE h =
            CreateFileW(widen(temp).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        tempMade = h != INVALID_HANDLE_VALUE;
        return h;
    }
};

void transfer(Job& job) {
    FetchResult& r = job.result;
    HttpGet& get = job.get;
    if (!get.open(job.url)) {
        r.error = describe(get.error());
        return;
    }
    r.status = get.status();
    if (r.status < 200 || r.status > 299) {
        r.error = "the server answered with status " + std::to_string(r.status);
        return;
    }
    auto tooLarge = [&] {
        r.error = "the answer is larger than " + std::to_string(job.maxBytes) +
                  " bytes, more than such a file can be";
    };
    if (job.maxBytes && get.announcedLength() > static_cast<std::int64_t>(job.maxBytes)) {
        tooLarge();
        return;
    }
    HANDLE out = job.createTemp();
    if (out == INVALID_HANDLE_VALUE) {
        r.error = "the file could not be written (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    bool ended = false;
    std::unique_ptr<char[]> buffer(new char[65536]);
    for (;;) {
        DWORD n = 0;
        if (!get.read(buffer.get(), 65536, n)) {
            r.error = get.error() == ERROR_INTERNET_TIMEOUT
                          ? "the transfer stalled"
                          : "the transfer broke off (" + describe(get.error()) + ")";
            break;
        }
        if (n == 0) {
            ended = true;
            break;
        }
        if (job.maxBytes && get.received() > job.maxBytes) {
            tooLarge();
            break;
        }
        DWORD written = 0;
        if (!WriteFile(out, buffer.get(), n, &written, nullptr) || written != n) {
            r.error =
                "the file could not be written (error " + std::to_string(GetLastError()) + ")";
            break;
        }
        if (job.abandoned)
            break;
    }
    bool flushed = ended && FlushFileBuffers(out);
    CloseHandle(out);
    if (!ended)
        return;
    BodyEnd end = get.bodyEnd();
    if (end == BodyEnd::Short) {
        r.error = "the answer ended after " + std::to_string(get.received()) + " of " +
                  std::to_string(get.announcedLength()) + " bytes";
        return;
    }
    if (!flushed) {
        r.error = "the file could not be written (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    r.unconfirmed = end == BodyEnd::Unconfirmed;
    r.ok = true;
}

DWORD WINAPI worker(void* p) {
    std::unique_ptr<std::shared_ptr<Job>> holder(static_cast<std::shared_ptr<Job>*>(p));
    Job& job = **holder;
    transfer(job);
    SetEvent(job.done);
    // The waiting thread goes on while the connection is let go here.
    job.get.close();
    // Nobody waits for an abandoned transfer: its partial file goes here.
    if (job.abandoned)
        DeleteFileW(widen(job.temp).c_str());
    return 0;
}

std::string folderOf(const std::string& file) {
    size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

// A name of its own for each fetch of this process.
std::string temporaryName(const std::string& file) {
    static std::atomic<unsigned> counter{0};
    return folderOf(file) + "\\~fl" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++counter) + ".tmp";
}

bool within(HWND window, HWND child) {
    return window && child && (child == window || IsChild(window, child));
}

// Lets the windows repaint while dropping keyboard and mouse input (a click
// meant for a window that is busy must not act later). Only the cancel button
// takes its input, and Esc in the waiting window asks for the cancel.
void keepPainting(const FetchOptions& options, bool& cancel) {
    auto input = [&](UINT first, UINT last) {
        MSG m;
        while (PeekMessageW(&m, nullptr, first, last, PM_REMOVE)) {
            if (options.cancelButton && m.hwnd == options.cancelButton) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            } else if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) &&
                       m.wParam == VK_ESCAPE &&
                       (within(options.waiting, m.hwnd) ||
                        (options.waiting && GetActiveWindow() == options.waiting))) {
                // Without a focused control the key goes to no window (or
                // comes as a system key) while the waiting window is active.
                cancel = true;
            }
        }
    };
    input(WM_KEYFIRST, WM_KEYLAST);
    input(WM_MOUSEFIRST, WM_MOUSELAST);
    input(WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK);
    MSG m;
    while (PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageW(&m);
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

} // namespace

FetchResult WinInetFetcher::fetch(const std::string& url, const std::string& file,
                                  const FetchOptions& options) {
    FetchResult result;
    if (!isWebAddress(url)) {
        result.error = "only http and https addresses are fetched";
        return result;
    }
    auto job =
        std::make_shared<Job>(HttpLimits{.connectMs = static_cast<unsigned>(limits_.connect),
                                         .headersMs = static_cast<unsigned>(limits_.receive),
                                         .silenceMs = static_cast<unsigned>(limits_.receive)});
    job->url = url;
    job->temp = temporaryName(file);
    job->maxBytes = options.maxBytes;

    HCURSOR before = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    auto* holder = new std::shared_ptr<Job>(job);
    HANDLE thread =
        job->done ? CreateThread(nullptr, 0, worker, holder, 0, nullptr) : HANDLE(nullptr);
    if (!thread) {
        delete holder;
        SetCursor(before);
        result.error = "the transfer could not be started";
        return result;
    }
    DWORD start = GetTickCount();
    bool finished = false, cancel = options.cancelled && *options.cancelled;
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limits_.total || cancel)
            break;
        DWORD slice = limits_.total - elapsed < 50 ? limits_.total - elapsed : 50;
        DWORD w = MsgWaitForMultipleObjects(1, &job->done, FALSE, slice,
                                            QS_PAINT | QS_INPUT | QS_SENDMESSAGE);
        if (w == WAIT_OBJECT_0) {
            finished = true;
            break;
        }
        keepPainting(options, cancel);
        if (options.cancelled && *options.cancelled)
            cancel = true;
    }
    if (!finished) {
        // Cancelled or out of time: stop the transfer and give the worker a
        // moment to notice; a worker that still hangs cleans up after itself.
        {
            std::lock_guard<std::mutex> g(job->lock);
            job->abandoned = true;
        }
        job->get.cancel();
        WaitForSingleObject(job->done, 300);
        CloseHandle(thread);
        DeleteFileW(widen(job->temp).c_str());
        bool ignored = false;
        keepPainting({}, ignored);
        SetCursor(before);
        result.cancelled = cancel;
        result.error = cancel ? "cancelled"
                              : "no complete answer within " +
                                    std::to_string(limits_.total / 1000) + " seconds";
        return result;
    }
    CloseHandle(thread);
    result = job->result;
    if (result.ok && !MoveFileExW(widen(job->temp).c_str(), widen(file).c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        result.ok = false;
        result.error =
            "the file could not be replaced (error " + std::to_string(GetLastError()) + ")";
    }
    if (!result.ok)
        DeleteFileW(widen(job->temp).c_str());
    bool ignored = false;
    keepPainting({}, ignored);
    SetCursor(before);
    return result;
}

} // namespace platform
