#include "app/pure/installed_list.h"

#include <algorithm>

namespace app {

std::string asciiUpper(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string displayNameFromBuffer(const unsigned char* data, size_t size) {
    if (!data)
        return {};
    const auto* begin = reinterpret_cast<const char*>(data);
    const char* end = std::find(begin, begin + size, '\0');
    return std::string(begin, end);
}

bool InstalledNames::add(std::string_view name) {
    if (name.empty() || name.size() > kMaxNameBytes)
        return false;
    if (!seen_.emplace(name.substr(0, kSameWithin)).second)
        return false;
    names_.emplace_back(name);
    return true;
}

void InstalledNames::clear() {
    seen_.clear();
    names_.clear();
}

std::vector<size_t> searchInstalled(std::string_view pattern, const std::vector<std::string>& names,
                                    const UpperCase& upper) {
    std::vector<size_t> found;
    if (pattern.empty())
        return found;
    bool contains = pattern.front() == '*';
    if (contains)
        pattern.remove_prefix(1);
    const std::string wanted = upper(pattern);
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string name = upper(names[i]);
        bool match = contains ? name.find(wanted) != std::string::npos
                              : name.compare(0, wanted.size(), wanted) == 0;
        if (match)
            found.push_back(i);
    }
    return found;
}

std::string checkSearchText(std::string_view entryName) {
    std::string text = "*";
    text.append(entryName.substr(0, 3));
    return text;
}

std::string checkCaption(std::string_view entryName) {
    if (entryName.empty())
        return "Fetchlets - Check whether App Installed";
    return "Fetchlets - Check whether " + std::string(entryName) + " Installed";
}

InstalledMatcher::InstalledMatcher(const std::vector<std::string>& installed, UpperCase upper)
    : upper_(std::move(upper)) {
    sorted_.reserve(installed.size());
    for (const std::string& n : installed)
        sorted_.push_back(upper_(n));
    std::sort(sorted_.begin(), sorted_.end());
}

namespace {
bool isAlphaNumeric(unsigned char c) {
    // Bytes beyond ASCII are letters of the code page in most names.
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80;
}
} // namespace

bool InstalledMatcher::isInstalled(std::string_view entryName) const {
    while (!entryName.empty() && entryName.front() == ' ')
        entryName.remove_prefix(1);
    while (!entryName.empty() && entryName.back() == ' ')
        entryName.remove_suffix(1);
    if (entryName.empty() || sorted_.empty())
        return false;
    const std::string key = upper_(entryName);
    // Every name that begins with the key sorts at or after it, together.
    for (auto it = std::lower_bound(sorted_.begin(), sorted_.end(), key);
         it != sorted_.end() && it->compare(0, key.size(), key) == 0; ++it) {
        if (it->size() == key.size() ||
            !isAlphaNumeric(static_cast<unsigned char>((*it)[key.size()])))
            return true;
    }
    return false;
}

} // namespace app
