// The catalog files: five profile files in the Data folder, one per kind. A
// section is a category, a "name=link" line an entry. Nothing is cached: every
// call reads the file again, so a file replaced on disk is seen at once.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace catalog {

enum class Kind { Apps, Portable, Slim, Special, Pages };

// The file of each kind.
struct KindInfo {
    Kind kind;
    const char* fileName; // in the Data folder
};

constexpr std::array<KindInfo, 5> kKinds{{
    {Kind::Apps, "FLApps.def"},
    {Kind::Portable, "FLPortable.def"},
    {Kind::Slim, "FLSlim.def"},
    {Kind::Special, "FLSpecial.def"},
    {Kind::Pages, "FLPages.def"},
}};

// The order in which the category lists are filled at start-up.
constexpr std::array<Kind, 5> kLoadOrder{Kind::Apps, Kind::Portable, Kind::Slim, Kind::Pages,
                                         Kind::Special};

const KindInfo& info(Kind kind);

// Read buffers, in characters with the terminating NULs. They set the limits
// of the format: category names of one file together, entry lines of one
// category together, and the length of one link.
constexpr unsigned long kCategoryBufferSize = 8192;
constexpr unsigned long kSectionBufferSize = 31165;
constexpr unsigned long kLinkBufferSize = 256;

// applicationPath (ending in "\") + "Data\" + the kind's file name.
std::string catalogPath(const std::string& applicationPath, Kind kind);

// The program's settings file, beside the catalog files: applicationPath
// (ending in "\") + "Data\Fetchlets.ini". Every window keeps its values and
// geometry there.
std::string settingsPath(const std::string& applicationPath);

// The category names of a catalog file in file order (empty when the file is
// missing or has none); names beyond the buffer are left out.
std::vector<std::string> categoryNames(const std::string& path);

// The entry names of a category in file order, duplicates included: the text
// before the first "=" of each entry line; lines without "=" are skipped.
std::vector<std::string> entryNames(const std::string& path, const std::string& category);

// The link of an entry (the first one of that name), with surrounding blanks
// removed; nothing when no value was read.
std::optional<std::string> entryLink(const std::string& path, const std::string& category,
                                     const std::string& entry);

} // namespace catalog
