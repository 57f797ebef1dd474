// The catalog maintainer's checks of a Data folder: what the program would
// refuse, cut short or show wrongly, found before the catalog is published.
#pragma once

#include <string>
#include <vector>

namespace catalogtool {

struct Problem {
    bool error = false; // an error fails the check; a warning does not
    std::string file;   // the file's name in the folder
    int line = 0;       // 1-based; 0 for the file as a whole
    std::string section;
    std::string name;
    std::string text;
};

// "FILE:LINE: [section] name: problem" (section and name when known), with
// "warning: " before the problem of a warning.
std::string format(const Problem& p);

// The five catalog files (each must be there), and FLSignatures.ddl and
// FLBlacklist.def when present. Problems in file order.
std::vector<Problem> checkFolder(const std::string& dir);

bool hasErrors(const std::vector<Problem>& problems);

// One entry of a catalog file, as the program lists it.
struct Entry {
    std::string file; // FLApps.def, ...
    int line = 0;
    std::string section, name, link;
    bool directDownload = true; // false for the Pages catalog
};

// Every entry of the five catalog files, in file order.
std::vector<Entry> catalogEntries(const std::string& dir);

// Writes DIR/FLVersion.ini with [Signature] Version (and Changelog when
// given, not empty) set, every other key kept, and a [Files] section naming
// each file the updater fetches with its size and SHA-256. Refuses (false,
// `why` set) when checkFolder finds an error or a file cannot be read or the
// manifest cannot be written. The manifest is replaced whole or not at all.
bool publish(const std::string& dir, const std::string& version, const std::string* changelog,
             std::string& why);

// The SHA-256 of a file as 64 lowercase hexadecimal digits; empty when it
// cannot be read.
std::string sha256File(const std::string& path, unsigned long long& size);

} // namespace catalogtool
