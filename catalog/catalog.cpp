#include "catalog/catalog.h"

#include "catalog/profile.h"

namespace catalog {

const KindInfo& info(Kind kind) {
    return kKinds[static_cast<size_t>(kind)];
}

std::string catalogPath(const std::string& applicationPath, Kind kind) {
    return applicationPath + "Data\\" + info(kind).fileName;
}

std::string settingsPath(const std::string& applicationPath) {
    return applicationPath + "Data\\Fetchlets.ini";
}

std::vector<std::string> categoryNames(const std::string& path) {
    return profile::sectionNames(path, kCategoryBufferSize);
}

std::vector<std::string> entryNames(const std::string& path, const std::string& category) {
    std::vector<std::string> names;
    for (const std::string& line : profile::sectionLines(path, category, kSectionBufferSize)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos)
            names.push_back(line.substr(0, eq));
    }
    return names;
}

std::optional<std::string> entryLink(const std::string& path, const std::string& category,
                                     const std::string& entry) {
    profile::ReadResult r = profile::readString(path, category, entry, nullptr, kLinkBufferSize);
    if (r.count == 0)
        return std::nullopt;
    const char* blanks = " \t";
    size_t first = r.text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    size_t last = r.text.find_last_not_of(blanks);
    return r.text.substr(first, last - first + 1);
}

} // namespace catalog
