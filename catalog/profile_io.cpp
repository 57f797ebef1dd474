// The few operating-system calls of the profile component. Paths are narrow
// strings in the ANSI code page, so on Windows the A functions are used.
#include "catalog/profile_io.h"

#include <cstdio>
#include <iterator>
#include <mutex>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace profile::io {

namespace {

// Pauses between attempts while another process holds a file: about one
// second in all.
class Backoff {
  public:
    // Waits before the next attempt; false once the time is used up.
    bool wait() {
        static constexpr unsigned kPausesMs[] = {10, 20, 40, 80, 160, 320, 370};
        if (next_ >= std::size(kPausesMs))
            return false;
        pause(kPausesMs[next_++]);
        return true;
    }

  private:
    static void pause(unsigned ms);
    size_t next_ = 0;
};

} // namespace

std::string folderOf(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos || cut == 0)
        return std::string();
    // "C:\\" keeps its backslash: "C:" alone names the drive's current folder.
    return path.substr(0, cut > 0 && path[cut - 1] == ':' ? cut + 1 : cut);
}

std::string temporaryPath(const std::string& path) {
    return path + ".tmp";
}

#ifdef _WIN32

namespace {
std::int64_t fileTime(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                     t.dwLowDateTime);
}
} // namespace

void Backoff::pause(unsigned ms) {
    Sleep(ms);
}

namespace {
// Errors that another process holding a file open causes, and that end
// when it lets go.
bool transient(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION;
}
} // namespace

namespace {

// The file's number on its volume (FileInternalInformation), without the
// volume query that GetFileInformationByHandle makes on every call.
bool fileIndex(HANDLE h, std::uint64_t& index) {
    struct IoStatus {
        union {
            LONG status;
            void* pointer;
        };
        ULONG_PTR information;
    };
    using Query = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
    static const Query query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationFile")));
    constexpr int kFileInternalInformation = 6;
    if (!query)
        return false;
    IoStatus io{};
    LARGE_INTEGER number{};
    if (query(h, &io, &number, sizeof number, kFileInternalInformation) < 0)
        return false;
    index = static_cast<std::uint64_t>(number.QuadPart);
    return true;
}

// The identity of an open file into the stamp.
bool identifyHandle(HANDLE h, Stamp& stamp) {
    FILE_BASIC_INFO basic;
    std::uint64_t index = 0;
    if (!GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) ||
        !fileIndex(h, index))
        return false;
    stamp.changed = basic.ChangeTime.QuadPart;
    // No volume serial: a file is cached by its path, so the two stamps ever
    // compared belong to one path, and the serial of that path's root (asked
    // once per run, over a millisecond under Wine) could not tell them apart;
    // the handle's own (FileIdInfo) costs half a millisecond per file.
    stamp.volume = 0;
    stamp.identity = index;
    stamp.identified = true;
    return true;
}

} // namespace

PathState inspect(const std::string& path, Stamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return GetLastError() == ERROR_FILE_NOT_FOUND ? PathState::missing : PathState::failed;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return PathState::failed;
    stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.modified = fileTime(data.ftLastWriteTime);
    stamp.created = fileTime(data.ftCreationTime);
    return PathState::file;
}

bool identify(const std::string& path, Stamp& stamp) {
    // Opened for its attributes only, which no other process's sharing mode
    // refuses.
    HANDLE h = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = identifyHandle(h, stamp);
    CloseHandle(h);
    return ok;
}

namespace {

// The change notifications, one per watched folder: at most as many as the
// cache has files.
struct Watch {
    std::string folder;
    HANDLE handle = nullptr;
    std::uint64_t changes = 1;
};

class Watches {
  public:
    ~Watches() {
        for (Watch& w : watches_)
            FindCloseChangeNotification(w.handle);
    }

    std::uint64_t changes(const std::string& folder, bool start) {
        std::lock_guard<std::mutex> guard(lock_);
        for (size_t i = 0; i < watches_.size(); ++i) {
            Watch& w = watches_[i];
            if (w.folder != folder)
                continue;
            // Signalled: something changed since the last look. Armed again
            // before anyone reads, so that a change after this moment is
            // reported by the next look.
            if (WaitForSingleObject(w.handle, 0) == WAIT_OBJECT_0) {
                if (!FindNextChangeNotification(w.handle)) {
                    close(i);
                    return 0;
                }
                ++w.changes;
            }
            return w.changes;
        }
        if (!start || folder.empty())
            return 0;
        const HANDLE h = FindFirstChangeNotificationA(
            folder.c_str(), FALSE,
            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION);
        if (h == INVALID_HANDLE_VALUE || h == nullptr)
            return 0;
        watches_.push_back(Watch{folder, h, 1});
        return 1;
    }

    void end(const std::string& folder) {
        std::lock_guard<std::mutex> guard(lock_);
        for (size_t i = 0; i < watches_.size(); ++i)
            if (watches_[i].folder == folder) {
                close(i);
                return;
            }
    }

  private:
    void close(size_t i) {
        FindCloseChangeNotification(watches_[i].handle);
        watches_.erase(watches_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    std::mutex lock_;
    std::vector<Watch> watches_;
};

Watches& watches() {
    static Watches all;
    return all;
}

} // namespace

std::uint64_t watchFolder(const std::string& folder) {
    return watches().changes(folder, true);
}

std::uint64_t folderChanges(const std::string& folder) {
    return watches().changes(folder, false);
}

void unwatchFolder(const std::string& folder) {
    watches().end(folder);
}

bool writable(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool settled(const Stamp& stamp) {
    if (!stamp.identified)
        return false;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return stamp.modified + 21000000 < fileTime(now); // 2.1 s in 100 ns units
}

bool readAll(const std::string& path, std::string& data, Stamp* stamp) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    if (stamp)
        identifyHandle(file, *stamp);
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x7fffffff;
    if (ok) {
        data.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = data.empty() ||
             (ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) &&
              got == data.size());
    }
    CloseHandle(file);
    return ok;
}

bool replaceAtomically(const std::string& path, const std::string& data) {
    const std::string temp = temporaryPath(path);
    Backoff backoff;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int removed = 0;;) {
        file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            break;
        DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            // Left behind by a write that was killed midway.
            SetFileAttributesA(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (DeleteFileA(temp.c_str()) && ++removed < 3)
                continue;
            error = GetLastError();
        }
        if (!transient(error) || !backoff.wait())
            return false;
    }
    DWORD written = 0;
    bool ok = data.empty() ||
              (WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
               written == data.size());
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    while (ok && !MoveFileExA(temp.c_str(), path.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ok = transient(GetLastError()) && backoff.wait();
    if (!ok)
        DeleteFileA(temp.c_str());
    return ok;
}

#else

void Backoff::pause(unsigned ms) {
    struct timespec t {
        static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000
    };
    while (::nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

PathState inspect(const std::string& path, Stamp& stamp) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT)
            return PathState::failed;
        // A missing file in an existing folder reads as empty; a missing
        // folder is a failure, as on Windows.
        const std::string folder = folderOf(path);
        struct stat dir;
        if (folder.empty() || (::stat(folder.c_str(), &dir) == 0 && S_ISDIR(dir.st_mode)))
            return PathState::missing;
        return PathState::failed;
    }
    if (!S_ISREG(st.st_mode))
        return PathState::failed;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.created = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    stamp.changed = stamp.created;
    stamp.volume = static_cast<std::uint64_t>(st.st_dev);
    stamp.identity = static_cast<std::uint64_t>(st.st_ino);
    stamp.identified = true;
    return PathState::file;
}

// stat() is cheap here: every read checks the file itself.
std::uint64_t watchFolder(const std::string&) {
    return 0;
}
std::uint64_t folderChanges(const std::string&) {
    return 0;
}
void unwatchFolder(const std::string&) {}

bool writable(const std::string& path) {
    // The mode bits, not access(): a process running as root may write any
    // file, but a file nobody may write is still meant to stay as it is.
    struct stat st;
    return ::stat(path.c_str(), &st) != 0 || (st.st_mode & 0222) != 0;
}

bool settled(const Stamp& stamp) {
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t nowNs = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
    return stamp.modified + 2100000000 < nowNs;
}

bool identify(const std::string&, Stamp& stamp) {
    return stamp.identified; // stat() told it all
}

bool readAll(const std::string& path, std::string& data, Stamp*) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0;
    if (ok) {
        data.resize(static_cast<size_t>(st.st_size));
        size_t done = 0;
        while (ok && done < data.size()) {
            const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                ok = false;
            else
                done += static_cast<size_t>(n);
        }
    }
    ::close(fd);
    return ok;
}

bool replaceAtomically(const std::string& path, const std::string& data) {
    const std::string temp = temporaryPath(path);
    int fd = -1;
    for (int removed = 0;;) {
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0)
            break;
        // One left behind by a write that was killed midway goes first.
        if (errno != EEXIST || ::unlink(temp.c_str()) != 0 || ++removed >= 3)
            return false;
    }
    // Keep the permissions of the file being replaced; a new file gets the
    // usual ones for the user's umask.
    struct stat st;
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0;
    size_t done = 0;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else
            done += static_cast<size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    Backoff backoff;
    while (ok && ::rename(temp.c_str(), path.c_str()) != 0)
        ok = (errno == EBUSY || errno == ETXTBSY) && backoff.wait();
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

#endif

} // namespace profile::io
