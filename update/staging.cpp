#include "update/staging.h"

#include "platform/utf8.h"
#include "update/pure/rules.h"

#include <windows.h>

namespace update {

namespace {

std::wstring w(const std::string& s) {
    return platform::widen(s);
}

bool exists(const std::string& path) {
    return GetFileAttributesW(w(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool move(const std::string& from, const std::string& to) {
    return MoveFileExW(w(from).c_str(), w(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string why(DWORD error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "it is in use by another program";
    case ERROR_ACCESS_DENIED:
        return "access was denied";
    case ERROR_DISK_FULL:
        return "the disk is full";
    default:
        return "error " + std::to_string(error);
    }
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(w(folder + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(platform::narrow(fd.cFileName));
    while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

void removeFiles(const std::string& folder) {
    for (const std::string& name : filesIn(folder)) {
        SetFileAttributesW(w(folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(w(folder + name).c_str());
    }
}

} // namespace

Staging::Staging(std::string data) : data_(std::move(data)) {}

std::string Staging::manifest() const {
    return folder() + kManifestFile;
}

void Staging::recover() {
    const std::string aside = folder() + "previous\\";
    // Without the manifest recorded, the files moved aside are the catalog.
    // One that cannot go back now (held by another program) stays for the
    // next try rather than being lost.
    bool kept = false;
    if (exists(manifest()))
        for (const std::string& name : filesIn(aside))
            kept |= !move(aside + name, data_ + name);
    if (kept) {
        removeFiles(folder() + "files\\");
        return;
    }
    clear();
}

bool Staging::prepare(std::string& error) {
    for (const std::string& f : {folder(), folder() + "files\\", folder() + "previous\\"})
        if (!CreateDirectoryW(w(f).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            error = "the folder " + f + " could not be made (" + why(GetLastError()) + ")";
            return false;
        }
    return true;
}

void Staging::clear() {
    for (const std::string& sub : {std::string("files\\"), std::string("previous\\")}) {
        removeFiles(folder() + sub);
        RemoveDirectoryW(w(folder() + sub).c_str());
    }
    removeFiles(folder());
    RemoveDirectoryW(w(folder()).c_str());
}

Staging::Outcome Staging::commit(const std::vector<std::string>& names) {
    Outcome out;
    struct Done {
        std::string name;
        bool hadPrevious;
    };
    std::vector<Done> done;
    std::string failure;
    for (const std::string& name : names) {
        bool had = exists(data_ + name);
        // Moving the installed file aside fails when another program holds
        // it, before anything of this file changed.
        if (had && !move(data_ + name, previous(name))) {
            failure = name + " could not be updated: " + why(GetLastError()) + ".";
            break;
        }
        if (!move(file(name), data_ + name)) {
            failure = name + " could not be updated: " + why(GetLastError()) + ".";
            if (had)
                move(previous(name), data_ + name);
            break;
        }
        done.push_back({name, had});
    }
    if (failure.empty() && !move(manifest(), data_ + kManifestFile))
        failure =
            std::string(kManifestFile) + " could not be updated: " + why(GetLastError()) + ".";
    if (failure.empty()) {
        out.ok = true;
        return out;
    }
    out.lines.push_back(failure);
    // Back to the catalog as it was, newest first.
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
        bool back = it->hadPrevious ? move(previous(it->name), data_ + it->name)
                                    : DeleteFileW(w(data_ + it->name).c_str()) != 0;
        out.restored &= back;
        if (!back)
            out.lines.push_back(it->name + " could not be put back: " + why(GetLastError()) +
                                "; the new copy stays.");
        else
            out.lines.push_back(it->name + " was put back as it was.");
    }
    return out;
}

} // namespace update
