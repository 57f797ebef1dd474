#include "update/pure/rules.h"

#include "catalog/profile.h"
#include "platform/pure/device_names.h"

#include <cstdio>
#include <limits>

namespace update {

std::string manifestAddress(const std::string& server) {
    return server + "/fetchlets_latest/" + kManifestFile;
}

std::string downloadPageAddress(const std::string& server) {
    return server + "/download/finish/30-fetchlets/124-fetchlets-first-public-beta/0";
}

std::string defaultSignatureServer(const std::string& server) {
    return server + "/fetchlets_latest/";
}

std::string programVersion(int major, int minor, int revision) {
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

int compareOrdinal(std::string_view a, std::string_view b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key) {
    return profile::readString(path, section, key, "", 255).text;
}

Manifest readManifest(const std::string& path) {
    return {
        ReadIniString(path, "Fetchlets", "Version"), ReadIniString(path, "Fetchlets", "Changelog"),
        ReadIniString(path, "Signature", "Version"), ReadIniString(path, "Signature", "Changelog")};
}

std::vector<std::string>
readGrowing(const std::function<unsigned long(char*, unsigned long)>& read) {
    // A reader that always answers "too small" must not grow the buffer
    // without end: past this size the list is taken as it stands.
    constexpr unsigned long kLargest = 1ul << 28;
    std::vector<char> buffer(32);
    unsigned long count = 0;
    for (;;) {
        auto size = static_cast<unsigned long>(buffer.size());
        count = read(buffer.data(), size);
        if (count != size - 2 || size >= kLargest)
            break;
        buffer.assign(buffer.size() * 2, '\0');
    }
    std::vector<std::string> pieces;
    if (count == 0)
        return pieces;
    if (count > buffer.size())
        count = static_cast<unsigned long>(buffer.size());
    std::string_view text(buffer.data(), count - 1);
    size_t start = 0;
    for (;;) {
        size_t nul = text.find('\0', start);
        pieces.emplace_back(text.substr(start, nul == std::string_view::npos ? nul : nul - start));
        if (nul == std::string_view::npos)
            break;
        start = nul + 1;
    }
    return pieces;
}

std::vector<std::string> GetSectionNames(const std::string& path) {
    return readGrowing([&](char* buffer, unsigned long size) {
        return profile::GetPrivateProfileSectionNames(buffer, size, path.c_str());
    });
}

std::vector<std::string> GetSectionLines(const std::string& path, const std::string& section) {
    return readGrowing([&](char* buffer, unsigned long size) {
        return profile::GetPrivateProfileSection(section.c_str(), buffer, size, path.c_str());
    });
}

std::optional<int32_t> CountSignatures(const std::string& path) {
    int64_t sum = 0;
    for (const std::string& name : GetSectionNames(path)) {
        if (name.empty())
            continue;
        sum += static_cast<int64_t>(GetSectionLines(path, name).size());
        if (sum > std::numeric_limits<int32_t>::max())
            return std::nullopt;
    }
    return static_cast<int32_t>(sum);
}

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > 255)
        return false;
    bool onlyDotsAndBlanks = true;
    for (char ch : name) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 32)
            return false;
        switch (c) {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            return false;
        default:
            break;
        }
        if (c != '.' && c != ' ')
            onlyDotsAndBlanks = false;
    }
    // ".", ".." and the like name a folder, not a file in it. Windows drops
    // a trailing dot or blank ("Kinds.ini." is "Kinds.ini"), and a device
    // name opens the device wherever it stands.
    if (onlyDotsAndBlanks || name.back() == '.' || name.back() == ' ')
        return false;
    return !platform::isDeviceName(name);
}

bool readsAsCatalog(const std::string& path) {
    // A page of markup never starts a catalog, even one with a line that
    // happens to look like a section header.
    // (C stdio rather than a file stream: streams would bring the whole
    // locale library into the program and its start-up.)
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        int c = 0;
        while ((c = std::fgetc(file)) == ' ' || c == '\t' || c == '\r' || c == '\n')
            ;
        std::fclose(file);
        if (c == '<')
            return false;
    }
    for (const std::string& name : GetSectionNames(path))
        if (!name.empty())
            return true;
    return false;
}

FileCheck parseFileCheck(std::string_view value) {
    FileCheck check;
    check.present = true;
    size_t comma = value.find(',');
    if (comma == std::string_view::npos || comma == 0 || comma > 19)
        return check;
    std::uint64_t size = 0;
    for (char c : value.substr(0, comma)) {
        if (c < '0' || c > '9')
            return check;
        size = size * 10 + static_cast<std::uint64_t>(c - '0');
    }
    std::string_view hash = value.substr(comma + 1);
    if (hash.size() != 64)
        return check;
    for (char c : hash)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return check;
    check.valid = true;
    check.size = size;
    check.sha256 = std::string(hash);
    return check;
}

FileCheck readFileCheck(const std::string& manifestPath, const std::string& name) {
    // Absent and empty read alike; a line that is there but empty is no check.
    std::string value = ReadIniString(manifestPath, "Files", name);
    if (value.empty())
        return {};
    return parseFileCheck(value);
}

std::string refusal(const FileCheck& check, const Fetched& fetched) {
    if (check.present && !check.valid)
        return "its line in the version information is not \"<size>,<SHA-256>\"";
    if (check.valid) {
        if (!fetched.digested)
            return "its size and SHA-256 could not be computed";
        if (fetched.size != check.size)
            return "it has " + std::to_string(fetched.size) +
                   " bytes, the version information says " + std::to_string(check.size);
        if (fetched.sha256 != check.sha256)
            return "its SHA-256 differs from the version information's";
        return {};
    }
    if (fetched.unconfirmed)
        return "the server did not announce its size, so it could not be confirmed complete";
    return {};
}

} // namespace update
