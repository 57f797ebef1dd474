// File access for the profile component: what a path is (missing, unreadable,
// a file with a stamp), whole-file reads and atomic replacement.
#pragma once

#include <cstdint>
#include <string>

namespace profile::io {

enum class PathState {
    file,    // an existing regular file
    missing, // no such file, but its folder exists: reads see an empty file
    failed,  // the folder is missing, the path names a folder, or access failed
};

// Identifies one version of a file on disk: any rewrite or replacement of the
// file changes at least one member. A replacement by another file is a new
// file (file number); a rewrite in place changes the times.
struct Stamp {
    // From the path alone (cheap).
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::int64_t created = 0; // creation time on Windows, status change time elsewhere
    // From an open file (Windows) or with the rest (elsewhere).
    std::int64_t changed = 0;   // the change time (of contents or attributes)
    std::uint64_t volume = 0;   // the device (not asked on Windows: see identify)
    std::uint64_t identity = 0; // file number on its volume (inode elsewhere)
    bool identified = false;    // changed, volume and identity are known
    bool operator==(const Stamp&) const = default;
    bool samePathFacts(const Stamp& o) const {
        return size == o.size && modified == o.modified && created == o.created;
    }
};

// The path facts of a file (and elsewhere than on Windows, all of its stamp).
PathState inspect(const std::string& path, Stamp& stamp);

// Adds what only an open file tells: its number on its volume and its
// change time. False when the file could not be opened.
bool identify(const std::string& path, Stamp& stamp);

// Whether the file was last modified long enough ago (over two seconds) for
// its stamp to tell versions apart: file times are kept with a coarse clock,
// so two writes in quick succession can leave the same times and size, and a
// file that recent is always read again. So is a file whose identity could
// not be read.
bool settled(const Stamp& stamp);

// The folder of a file's path ("C:\\Data" of "C:\\Data\\FLApps.def"); empty
// for a bare name.
std::string folderOf(const std::string& path);

// Change notification on a folder: while a file of it is cached, the folder
// is watched, and a cached reading stays good for as long as the folder's
// change count has not moved, with no need to ask the file itself.
// - watchFolder starts a watch on the folder (once; later calls just look)
//   and returns its change count: how many times the system has reported a
//   change in it (a file created, removed, renamed, written, resized, or
//   given other attributes or times) since the watch began.
// - folderChanges looks at a watch that exists and starts none.
// - unwatchFolder ends the watch: a watched folder may be held by it (under
//   Wine a removed folder stays until then), so a folder is watched only
//   while the cache holds one of its files.
// A count of 0 means the folder is not watched (it cannot be, or the
// platform does not tell): every read must then check the file.
std::uint64_t watchFolder(const std::string& folder);
std::uint64_t folderChanges(const std::string& folder);
void unwatchFolder(const std::string& folder);

// False for an existing file marked read-only: it is not to be replaced.
bool writable(const std::string& path);

// The whole file into `data`; false when it cannot be read. With `stamp`, the
// open file's identity is added to it as identify() does.
bool readAll(const std::string& path, std::string& data, Stamp* stamp = nullptr);

// The one temporary file of a target: `path` + ".tmp", in the same folder.
std::string temporaryPath(const std::string& path);

// Writes `data` to the target's temporary file and then renames it over
// `path`, so that readers see either the old or the new file whole.
// - The temporary file is created exclusively. One left behind by a write
//   that was killed is removed first, so at most one is ever left.
// - While another process holds the target or the temporary file open
//   (a virus scanner, an indexer, an editor), the attempt is repeated with
//   growing pauses for about one second in all; then the call gives up,
//   removes its temporary file and returns false.
bool replaceAtomically(const std::string& path, const std::string& data);

} // namespace profile::io
