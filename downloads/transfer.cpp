#include "downloads/transfer.h"

#include "downloads/pure/file_names.h"
#include "platform/utf8.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace downloads {

namespace {

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
// Names from a server are cut to this many characters.
constexpr std::size_t kLongestName = 120;
const char* const kUnconfirmedNote =
    "the server did not announce the size; it could not be confirmed complete";
constexpr DWORD kSmallestPiece = 8 * 1024;

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
    auto run = std::make_shared<Run>(platform::HttpLimits{.connectMs = limits_.connectMs,
                                                          .headersMs = limits_.transferMs,
                                                          .silenceMs = limits_.transferMs});
    {
        std::lock_guard<std::mutex> lock(mutex_);
        run_ = run;
        s_.state = State::Connecting;
        s_.detail.clear();
        s_.signatureChecked = false;
        s_.signature = {};
        s_.webPage = false;
        s_.unconfirmed = false;
    }
    // The thread keeps the transfer alive until it ends.
    std::thread([self = shared_from_this(), run] { self->work(run); }).detach();
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
    std::shared_ptr<Run> run;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        run = run_;
        if (running_ && run) {
            // The download ends now, whatever the worker is waiting for: a
            // connect, a redirect, a silent server.
            run->cancelled = true;
            s_.state = State::Cancelled;
            s_.detail.clear();
            s_.needsDestination = false;
            running_ = false;
        } else if (s_.state == State::Failed) {
            s_.state = State::Cancelled;
        }
    }
    if (run)
        run->get.cancel();
    destinationSet_.notify_all();
    // The part file goes now: the worker holds it open with delete sharing,
    // so it vanishes when the worker lets go.
    std::string path = snapshot().path;
    if (!path.empty())
        DeleteFileW(platform::widen(partPath(path)).c_str());
    post();
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

void Transfer::finish(Run& run, State state, const std::string& detail) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (run.cancelled)
            return; // cancel() ended it already
        s_.state = state;
        s_.detail = detail;
        s_.needsDestination = false;
        running_ = false;
    }
    post();
}

void Transfer::work(const std::shared_ptr<Run>& run) {
    std::vector<char> buffer(kBufferSize);
    bool ended = false;
    for (int attempt = 0; attempt < 2 && !run->cancelled && !ended; ++attempt) {
        Step step = connect(*run);
        if (step == Step::Go)
            step = resume(*run);
        if (step == Step::Again)
            continue;
        if (step == Step::Go)
            step = receive(*run, buffer);
        if (step == Step::Go)
            verify(*run);
        ended = true;
    }
    if (!ended)
        finish(*run, State::Failed, "the server could not resume the file");
    // The connection is let go here, never on the window's thread.
    run->get.close();
}

Transfer::Step Transfer::connect(Run& run) {
    std::string etag, lastModified;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        run.path = s_.path;
        etag = etag_;
        lastModified = lastModified_;
    }
    run.have = run.path.empty() ? 0 : fileSize(platform::widen(partPath(run.path)));
    std::string headers = resumeHeaders(run.have, etag, lastModified);
    if (headers.empty())
        run.have = 0;
    if (!run.get.open(url_, headers)) {
        finish(run, State::Failed,
               networkFailure(run.get.error(), (limits_.connectMs + 999) / 1000,
                              (limits_.transferMs + 999) / 1000));
        return Step::End;
    }
    Answer answer;
    answer.status = run.get.status();
    answer.statusText = run.get.header(HTTP_QUERY_STATUS_TEXT);
    answer.contentRange = run.get.header(HTTP_QUERY_CONTENT_RANGE);
    answer.contentLength = run.get.announcedLength();
    run.plan = planAnswer(run.have, answer);
    return Step::Go;
}

Transfer::Step Transfer::resume(Run& run) {
    const Plan& plan = run.plan;
    if (plan.action == Plan::StartOver) {
        if (!run.path.empty())
            DeleteFileW(platform::widen(partPath(run.path)).c_str());
        std::lock_guard<std::mutex> lock(mutex_);
        etag_.clear();
        lastModified_.clear();
        return Step::Again;
    }
    if (plan.action == Plan::Fail) {
        finish(run, State::Failed, plan.failure);
        return Step::End;
    }
    if (plan.action == Plan::WriteNew) {
        // Validators of a whole answer guard a later resume.
        std::string etag = run.get.header(HTTP_QUERY_ETAG);
        std::string modified = run.get.header(HTTP_QUERY_LAST_MODIFIED);
        std::lock_guard<std::mutex> lock(mutex_);
        etag_ = etag;
        lastModified_ = modified;
    }
    run.webPage = run.get.header(HTTP_QUERY_CONTENT_TYPE).rfind("text/html", 0) == 0;
    const std::string finalUrl = run.get.finalUrl();

    // The file name: asked of the window unless it was chosen before. A
    // server's name may be of any length; the dialogs get a sane one.
    if (run.path.empty()) {
        std::string disposition = run.get.header(HTTP_QUERY_CONTENT_DISPOSITION);
        std::unique_lock<std::mutex> lock(mutex_);
        if (run.cancelled)
            return Step::End;
        s_.finalUrl = finalUrl;
        s_.suggestedName =
            shortenFileName(suggestedFileName(disposition, finalUrl, url_), kLongestName);
        s_.total = plan.total;
        s_.state = State::Waiting;
        s_.needsDestination = true;
        destinationAnswered_ = false;
        lock.unlock();
        post();
        lock.lock();
        destinationSet_.wait(lock, [&] { return destinationAnswered_ || run.cancelled.load(); });
        run.path = s_.path;
        lock.unlock();
        if (run.cancelled)
            return Step::End;
        if (run.path.empty()) {
            cancel();
            return Step::End;
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (run.cancelled)
            return Step::End;
        s_.finalUrl = finalUrl;
        s_.total = plan.total;
        s_.received = plan.action == Plan::Append ? run.have : 0;
        s_.state = State::Downloading;
        s_.webPage =
            run.webPage && !endsWithNoCase(run.path, ".htm") && !endsWithNoCase(run.path, ".html");
    }
    post();
    return Step::Go;
}

Transfer::Step Transfer::receive(Run& run, std::vector<char>& buffer) {
    const bool append = run.plan.action == Plan::Append;
    std::wstring part = platform::widen(partPath(run.path));
    HANDLE file =
        CreateFileW(part.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    append ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        finish(run, State::Failed,
               "the file could not be written: " + systemMessage(GetLastError()));
        return Step::End;
    }
    std::uint64_t received = 0;
    if (append) {
        LARGE_INTEGER end{};
        SetFilePointerEx(file, end, nullptr, FILE_END);
        received = run.have;
    }
    std::string failure;
    DWORD piece = 64 * 1024;
    for (;;) {
        // A read returns when its piece is full or the body ends, so the
        // piece is sized to take about a tenth of a second at the speed
        // seen: a fast server is read in large pieces, a slow one still
        // shows progress, and a cancel is seen between pieces.
        DWORD got = 0;
        ULONGLONG began = GetTickCount64();
        if (!run.get.read(buffer.data(), piece, got)) {
            failure = networkFailure(run.get.error(), (limits_.connectMs + 999) / 1000,
                                     (limits_.transferMs + 999) / 1000);
            break;
        }
        if (got == 0 || run.cancelled)
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
        std::lock_guard<std::mutex> lock(mutex_);
        s_.received = received;
    }
    CloseHandle(file);
    if (run.cancelled) {
        DeleteFileW(part.c_str());
        return Step::End;
    }
    if (failure.empty() && !isComplete(received, run.plan.total))
        failure = cutShortFailure(received, run.plan.total);
    if (!failure.empty()) {
        finish(run, State::Failed, failure);
        return Step::End;
    }
    return Step::Go;
}

void Transfer::verify(Run& run) {
    // A length was announced and checked above; without one, only the
    // closed connection ended the body.
    const bool unconfirmed = run.plan.total < 0;
    std::wstring part = platform::widen(partPath(run.path));
    if (!MoveFileExW(part.c_str(), platform::widen(run.path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        finish(run, State::Failed, "the file could not be saved: " + systemMessage(GetLastError()));
        return;
    }
    Signature signature;
    bool checked = false;
    if (isInstaller(run.path) && !run.webPage) {
        signature = checkSignature(run.path);
        checked = true;
    }
    std::vector<std::string> notes;
    if (unconfirmed)
        notes.push_back(kUnconfirmedNote);
    if (run.webPage && !endsWithNoCase(run.path, ".htm") && !endsWithNoCase(run.path, ".html"))
        notes.push_back("the server sent a web page, not a file");
    else if (checked)
        notes.push_back(signatureSummary(signature));
    std::string detail;
    for (const std::string& n : notes)
        detail += (detail.empty() ? "" : "; ") + n;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        s_.signature = signature;
        s_.signatureChecked = checked;
        s_.unconfirmed = unconfirmed;
    }
    finish(run, State::Done, detail);
}

} // namespace downloads
