// Rules of the installed-applications list, free of any window or registry
// code: which display names are taken, how the check window searches them and
// when a catalog entry counts as installed.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace app {

// Upper-cases text for comparisons that ignore letter case. The window code
// passes the system's own rule (the ANSI code page's letters); the default
// folds ASCII letters only.
using UpperCase = std::function<std::string(std::string_view)>;
std::string asciiUpper(std::string_view text);

// A display name as read from a value buffer: its text up to the first NUL.
std::string displayNameFromBuffer(const unsigned char* data, size_t size);

// Collects display names from every uninstall list read. A name is taken when
// it is not empty, fits the 255-byte read buffer with its closing NUL (254
// bytes at most) and its first 200 characters differ from those of every name
// taken before (compared exactly: letter case matters). A hash set keeps each
// test constant in time, so reading thousands of products stays linear.
class InstalledNames {
  public:
    static constexpr size_t kMaxNameBytes = 254;
    static constexpr size_t kSameWithin = 200;

    // True when the name was taken.
    bool add(std::string_view name);
    // The names taken, in the order they came.
    const std::vector<std::string>& names() const { return names_; }
    size_t size() const { return names_.size(); }
    void clear();

  private:
    std::unordered_set<std::string> seen_; // first 200 characters of each name
    std::vector<std::string> names_;
};

// The check window's search over the installed names, returning the indexes
// of the matching names in list order. An empty pattern finds nothing; a
// pattern beginning with "*" finds the names that contain the rest anywhere
// (a lone "*" finds every name); any other pattern finds the names that begin
// with it. Both ignore letter case.
std::vector<size_t> searchInstalled(std::string_view pattern, const std::vector<std::string>& names,
                                    const UpperCase& upper = asciiUpper);

// The check window's search text for a catalog entry: "*" and the first three
// characters of its name (the whole name when shorter; "*" alone for none).
std::string checkSearchText(std::string_view entryName);

// The check window's caption: its own title with the entry's name when one is
// chosen.
std::string checkCaption(std::string_view entryName);

// Whether a catalog entry is installed. An entry counts as installed when an
// installed name, ignoring letter case, equals the entry's name or begins with
// it followed by a character that is neither a letter nor a digit: "7-Zip"
// matches "7-Zip 23.01 (x64)" and "7-ZIP", but "Opera" does not match
// "Operator" and "Zip" does not match "7-Zip". Blanks around the entry's name
// are ignored; an empty name matches nothing.
class InstalledMatcher {
  public:
    InstalledMatcher() = default;
    explicit InstalledMatcher(const std::vector<std::string>& installed,
                              UpperCase upper = asciiUpper);
    bool isInstalled(std::string_view entryName) const;
    bool empty() const { return sorted_.empty(); }

  private:
    std::vector<std::string> sorted_; // upper-cased, ascending by byte
    UpperCase upper_ = asciiUpper;
};

} // namespace app
