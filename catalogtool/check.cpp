#include "catalogtool/check.h"

#include "catalog/catalog.h"
#include "catalog/profile.h"
#include "catalog/profile_io.h"
#include "platform/pure/link_scheme.h"
#include "update/pure/rules.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sys/stat.h>

namespace catalogtool {

namespace {

bool isBlank(unsigned char c) {
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == 0x20;
}

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && isBlank(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return s;
}

bool readFile(const std::string& path, std::string& bytes) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The lines of a file as the profile reader splits them: at CR LF, a lone CR
// or a lone LF.
std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.push_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

// Bytes that code page 1252 leaves undefined.
bool undefinedIn1252(unsigned char c) {
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// What a link needs encoded before it can leave the program as one argument.
bool needsEncoding(const std::string& link) {
    for (unsigned char c : link)
        if (c <= 0x20 || c >= 0x7F ||
            std::string("\"<>\\^`{|}").find(static_cast<char>(c)) != std::string::npos)
            return true;
    return false;
}

// The host of an http or https address, in lower case; empty otherwise.
std::string hostOf(const std::string& link, bool& https) {
    const std::string l = lower(link);
    size_t start;
    if (l.rfind("https://", 0) == 0) {
        https = true;
        start = 8;
    } else if (l.rfind("http://", 0) == 0) {
        https = false;
        start = 7;
    } else {
        return {};
    }
    const size_t end = l.find_first_of("/?#:", start);
    return l.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// One catalog file: its lines, its entries, and what is wrong with them.
void checkCatalog(const std::string& dir, const std::string& file, std::vector<Problem>& problems,
                  std::vector<Entry>* entries, bool directDownload) {
    std::string bytes;
    const std::string path = dir + "/" + file;
    if (!readFile(path, bytes)) {
        problems.push_back({true, file, 0, {}, {}, exists(path) ? "cannot be read" : "is missing"});
        return;
    }
    std::set<std::string> sections;
    std::map<std::string, int> namesInSection;
    std::string section;
    int sectionLine = 0;
    int sectionEntries = 0;
    size_t sectionBytes = 0;
    bool inSection = false;
    auto closeSection = [&] {
        if (inSection && sectionEntries == 0)
            problems.push_back({false, file, sectionLine, section, {}, "category without entries"});
        if (inSection && sectionBytes + 1 > catalog::kSectionBufferSize)
            problems.push_back({true,
                                file,
                                sectionLine,
                                section,
                                {},
                                "the category's lines (" + std::to_string(sectionBytes) +
                                    " characters) are more than the program reads (" +
                                    std::to_string(catalog::kSectionBufferSize - 2) + ")"});
    };
    size_t namesBytes = 0;
    const std::vector<std::string> lines = splitLines(bytes);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i + 1);
        const std::string line = trim(lines[i]);
        for (unsigned char c : lines[i])
            if (undefinedIn1252(c) || c == 0) {
                problems.push_back({true,
                                    file,
                                    lineNo,
                                    section,
                                    {},
                                    "holds a character that code page 1252 cannot hold"});
                break;
            }
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[' && line.find(']') != std::string::npos) {
            closeSection();
            section = trim(line.substr(1, line.rfind(']') - 1));
            sectionLine = lineNo;
            sectionEntries = 0;
            sectionBytes = 0;
            inSection = true;
            namesInSection.clear();
            namesBytes += section.size() + 1;
            if (!sections.insert(lower(section)).second)
                problems.push_back(
                    {true,
                     file,
                     lineNo,
                     section,
                     {},
                     "the category appears twice (the program shows only the first)"});
            if (section.empty())
                problems.push_back({true, file, lineNo, section, {}, "a category without a name"});
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos || !inSection) {
            problems.push_back({true,
                                file,
                                lineNo,
                                section,
                                {},
                                inSection ? "neither a category, an entry nor blank: \"" +
                                                line.substr(0, 60) + "\""
                                          : "an entry before the first category"});
            continue;
        }
        const std::string name = trim(line.substr(0, eq));
        const std::string link = trim(line.substr(eq + 1));
        ++sectionEntries;
        sectionBytes += line.size() + 1;
        auto report = [&](bool error, const std::string& text) {
            problems.push_back({error, file, lineNo, section, name, text});
        };
        if (name.empty())
            report(true, "an entry without a name");
        if (name.size() > 255)
            report(true, "the name is longer than the program reads (255 characters)");
        if (++namesInSection[lower(name)] == 2)
            report(false, "the name appears twice in the category");
        if (link.empty()) {
            report(true, "an entry with an empty link");
            continue;
        }
        if (link.size() >= catalog::kLinkBufferSize)
            report(true, "the link is longer than the program reads (" +
                             std::to_string(catalog::kLinkBufferSize - 1) + " characters)");
        const platform::LinkCheck check = platform::checkLink(link);
        if (!check)
            report(true, "the program refuses the link: " + check.reason);
        else if (needsEncoding(link))
            report(false, "the link holds characters that must be encoded (blank, quote, ...)");
        if (entries)
            entries->push_back({file, lineNo, section, name, link, directDownload});
    }
    closeSection();
    if (namesBytes + 1 > catalog::kCategoryBufferSize)
        problems.push_back({true,
                            file,
                            0,
                            {},
                            {},
                            "the category names are more than the program reads (" +
                                std::to_string(catalog::kCategoryBufferSize - 2) + " characters)"});
    if (sections.empty())
        problems.push_back({true, file, 0, {}, {}, "holds no category"});
}

void checkListFile(const std::string& dir, const std::string& file,
                   std::vector<Problem>& problems) {
    std::string bytes;
    const std::string path = dir + "/" + file;
    if (!exists(path))
        return;
    if (!readFile(path, bytes)) {
        problems.push_back({true, file, 0, {}, {}, "cannot be read"});
        return;
    }
    const std::vector<std::string> lines = splitLines(bytes);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int lineNo = static_cast<int>(i + 1);
        if (file == "FLSignatures.ddl") {
            if (!update::isPlainFileName(lines[i]))
                problems.push_back(
                    {true, file, lineNo, {}, lines[i], "not a plain file name in the Data folder"});
            else if (lower(lines[i]) == "flversion.ini")
                problems.push_back(
                    {true, file, lineNo, {}, lines[i], "the manifest is not a catalog file"});
        } else if (lines[i].empty()) {
            problems.push_back({false,
                                file,
                                lineNo,
                                {},
                                {},
                                "an empty line blocks the direct download of every link"});
        }
    }
}

} // namespace

std::string format(const Problem& p) {
    std::string out = p.file;
    if (p.line > 0)
        out += ":" + std::to_string(p.line);
    out += ":";
    if (!p.section.empty())
        out += " [" + p.section + "]";
    if (!p.name.empty())
        out += " " + p.name;
    if (!p.section.empty() || !p.name.empty())
        out += ":";
    out += " ";
    if (!p.error)
        out += "warning: ";
    return out + p.text;
}

bool hasErrors(const std::vector<Problem>& problems) {
    return std::any_of(problems.begin(), problems.end(), [](const Problem& p) { return p.error; });
}

std::vector<Problem> checkFolder(const std::string& dir) {
    std::vector<Problem> problems;
    std::vector<Entry> entries;
    for (const catalog::KindInfo& kind : catalog::kKinds)
        checkCatalog(dir, kind.fileName, problems, &entries, kind.kind != catalog::Kind::Pages);
    // Plain http where the same host is reached by https elsewhere in the catalog.
    std::set<std::string> secure;
    for (const Entry& e : entries) {
        bool https = false;
        const std::string host = hostOf(e.link, https);
        if (https && !host.empty())
            secure.insert(host);
    }
    for (const Entry& e : entries) {
        bool https = false;
        const std::string host = hostOf(e.link, https);
        if (!https && secure.count(host))
            problems.push_back(
                {false, e.file, e.line, e.section, e.name,
                 "plain http to " + host + ", which the catalog reaches by https elsewhere"});
    }
    auto fileOrder = [](const std::string& file) {
        for (size_t i = 0; i < catalog::kKinds.size(); ++i)
            if (file == catalog::kKinds[i].fileName)
                return i;
        return catalog::kKinds.size();
    };
    std::stable_sort(problems.begin(), problems.end(), [&](const Problem& a, const Problem& b) {
        const size_t fa = fileOrder(a.file), fb = fileOrder(b.file);
        return fa != fb ? fa < fb : a.line < b.line;
    });
    checkListFile(dir, "FLSignatures.ddl", problems);
    checkListFile(dir, "FLBlacklist.def", problems);
    return problems;
}

std::vector<Entry> catalogEntries(const std::string& dir) {
    std::vector<Problem> ignored;
    std::vector<Entry> entries;
    for (const catalog::KindInfo& kind : catalog::kKinds)
        checkCatalog(dir, kind.fileName, ignored, &entries, kind.kind != catalog::Kind::Pages);
    return entries;
}

std::string sha256File(const std::string& path, unsigned long long& size) {
    std::string bytes;
    if (!readFile(path, bytes))
        return {};
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr))
        return {};
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < length; ++i) {
        out += hex[digest[i] >> 4];
        out += hex[digest[i] & 15];
    }
    size = bytes.size();
    return out;
}

bool publish(const std::string& dir, const std::string& version, const std::string* changelog,
             std::string& why) {
    const std::vector<Problem> problems = checkFolder(dir);
    if (hasErrors(problems)) {
        why = "the catalog has errors (run check)";
        return false;
    }
    if (version.empty() || version.find_first_of("\r\n") != std::string::npos ||
        (changelog && changelog->find_first_of("\r\n") != std::string::npos)) {
        why = "the version and the changelog are one line of text each";
        return false;
    }
    // The files the updater fetches: the signature list, else the five.
    std::vector<std::string> files;
    std::string list;
    if (readFile(dir + "/FLSignatures.ddl", list)) {
        for (const std::string& line : splitLines(list))
            if (!line.empty())
                files.push_back(line);
    } else {
        for (const catalog::KindInfo& kind : catalog::kKinds)
            files.push_back(kind.fileName);
    }
    const std::string manifest = dir + "/" + update::kManifestFile;
    // The edits go to a copy, which then replaces the manifest whole.
    const std::string draft = manifest + ".publish";
    std::string old;
    if (exists(manifest) && !readFile(manifest, old)) {
        why = "cannot read " + manifest;
        return false;
    }
    std::remove(draft.c_str());
    if (!profile::io::replaceAtomically(draft, old)) {
        why = "cannot write in " + dir;
        return false;
    }
    bool ok = profile::writeString(draft, "Signature", "Version", version);
    if (changelog && !changelog->empty())
        ok = ok && profile::writeString(draft, "Signature", "Changelog", *changelog);
    ok = ok && profile::WritePrivateProfileString("Files", nullptr, nullptr, draft.c_str());
    for (const std::string& file : files) {
        unsigned long long size = 0;
        const std::string hash = sha256File(dir + "/" + file, size);
        if (hash.empty()) {
            why = "cannot read " + file;
            std::remove(draft.c_str());
            return false;
        }
        ok = ok && profile::writeString(draft, "Files", file, std::to_string(size) + "," + hash);
    }
    std::string text;
    ok = ok && readFile(draft, text) && profile::io::replaceAtomically(manifest, text);
    std::remove(draft.c_str());
    if (!ok)
        why = "cannot write " + manifest;
    return ok;
}

} // namespace catalogtool
