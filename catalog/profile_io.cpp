// The few operating-system calls of the profile component. Paths are narrow
// strings in the ANSI code page, so on Windows the A functions are used.
#include "catalog/profile_io.h"

#include <cstdio>

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

std::string folderOf(const std::string& path) {
#ifdef _WIN32
    const auto cut = path.find_last_of("\\/:");
#else
    const auto cut = path.find_last_of('/');
#endif
    if (cut == std::string::npos)
        return std::string();
#ifdef _WIN32
    if (path[cut] == ':')
        return path.substr(0, cut + 1);
#endif
    return path.substr(0, cut == 0 ? 1 : cut);
}

} // namespace

#ifdef _WIN32

namespace {
std::int64_t fileTime(const FILETIME& t) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                     t.dwLowDateTime);
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
    stamp.changed = fileTime(data.ftCreationTime);
    stamp.identity = 0;
    return PathState::file;
}

bool writable(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY);
}

bool settled(const Stamp& stamp) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return stamp.modified + 21000000 < fileTime(now); // 2.1 s in 100 ns units
}

bool readAll(const std::string& path, std::string& data) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
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
    const std::string folder = folderOf(path);
    char temp[MAX_PATH + 16];
    if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "ini", 0, temp))
        return false;
    HANDLE file =
        CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temp);
        return false;
    }
    DWORD written = 0;
    bool ok = data.empty() ||
              (WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
               written == data.size());
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    if (ok)
        ok = MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileA(temp);
    return ok;
}

#else

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
    stamp.changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    stamp.identity =
        static_cast<std::uint64_t>(st.st_ino) ^ (static_cast<std::uint64_t>(st.st_dev) << 32);
    return PathState::file;
}

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

bool readAll(const std::string& path, std::string& data) {
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
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
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
    if (ok)
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

#endif

} // namespace profile::io
