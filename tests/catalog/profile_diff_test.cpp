// Differential test: our profile functions against kernel32's on the same
// files and arguments, comparing every buffer byte and every count.
//
// Files and arguments come from a fixed seed. Each generated file gets a
// name of its own, because the system service caches parsed files by name.
//
// Where the system service is at fault the comparison knows it:
// - GetPrivateProfileSectionA with a zero-size buffer crashes inside
//   kernel32; it is not called, and ours must return 0 and write nothing.
// - GetPrivateProfileSectionA with a one-character buffer writes a second
//   NUL past the end of the buffer; bytes past the buffer are compared for
//   ours only (ours never writes there).
// - A list of section names or keys cut short by the buffer (count size-2)
//   leaves the buffer's last byte unwritten in kernel32, so the list does not
//   end in the two NULs that the contract promises; ours writes that NUL.
//   That one byte is excused, and ours must hold NUL there.
// - Under Wine run as root, kernel32 writes into a file marked read-only;
//   ours refuses, as Windows does.
// - A deliberate difference: in a run of entry lines with empty names
//   ("=one", "=two"), kernel32's section read drops every line after the
//   first; ours lists them all. A section read on a file with such a run is
//   excused when ours lists at least as much as kernel32, and counted.
// Files with a byte-order mark hold only characters of the ANSI code page
// (and some that none approaches, which both sides turn into "?"): for the
// others kernel32 picks a look-alike ("A" for "\u0100") from tables of its
// own, where ours gives "?".
#include <windows.h>

#include "catalog/profile.h"

#include <gtest/gtest.h>

#include "catalog/profile_text.h"
#include "catalog/synthetic.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <functional>
#include <string>
#include <vector>

namespace {

// The generated runs are sized for the suite's time budget; FL_LONG_RUN=1 in
// the environment runs four times as many files (wine passes it on).
int runSize(int suiteSize) {
    return std::getenv("FL_LONG_RUN") ? suiteSize * 4 : suiteSize;
}

struct Rng {
    std::uint64_t s;
    std::uint64_t next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
    unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }
    bool chance(unsigned percent) { return below(100) < percent; }
};

std::string escape(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c >= 0x20 && c < 0x7f)
            out += static_cast<char>(c);
        else {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", c);
            out += b;
        }
    }
    return out;
}

std::string show(const char* s) {
    return s ? "\"" + escape(s) + "\"" : "NULL";
}

// ------------------------------------------------------------ generation

struct Vocabulary {
    std::vector<std::string> names; // section and key names, with case twins
    std::string blanks;             // characters the service trims
    std::string lookalikes;         // characters it does not trim
    std::string valueChars;
};

Vocabulary makeVocabulary(bool ansi1252) {
    Vocabulary v;
    v.names = {"a",
               "A",
               "b",
               "B",
               "ab",
               "aB",
               "Key",
               "KEY",
               "key",
               "k 2",
               "K 2",
               "x=y",
               "x",
               ";c",
               "[q",
               "q]",
               "'s'",
               "\"d\"",
               "Sec",
               "sEC",
               "Apps",
               "apps",
               "1",
               "10",
               "_",
               "-",
               "Tool",
               "tOOL",
               "Long name with spaces"};
    v.blanks = std::string(" \t\x0b\x0c\x1a");
    v.lookalikes = std::string("\x1c\x1f\x7f");
    if (ansi1252) {
        v.names.insert(v.names.end(), {"\xE9t\xE9", "\xC9T\xC9", "\x8A\x9A", "\x9A\x8A", "\xFF",
                                       "\x9F", "\xDF", "\xB5", "\xC6\xE6", "\xD7", "\xF7"});
        v.lookalikes += "\xA0\x85";
    }
    v.valueChars = "abcXYZ019 =;[]'\"\t/.:_-";
    return v;
}

std::string pick(Rng& r, const std::vector<std::string>& from) {
    return from[r.below(static_cast<unsigned>(from.size()))];
}

std::string someBlanks(Rng& r, const Vocabulary& v) {
    std::string out;
    const unsigned n = r.below(3);
    for (unsigned i = 0; i < n; ++i)
        out += v.blanks[r.below(static_cast<unsigned>(v.blanks.size()))];
    return out;
}

std::string someValue(Rng& r, const Vocabulary& v) {
    const unsigned kind = r.below(20);
    if (kind == 0)
        return "";
    if (kind == 1)
        return "'" + pick(r, v.names) + "'";
    if (kind == 2)
        return "\"" + pick(r, v.names) + "\"";
    if (kind == 3)
        return "'" + pick(r, v.names) + "\"";
    if (kind == 4)
        return r.chance(50) ? "'" : "''";
    if (kind == 5)
        return std::string(250 + r.below(100), static_cast<char>('a' + r.below(26)));
    if (kind == 6)
        return pick(r, v.names) + "=" + pick(r, v.names);
    std::string out;
    const unsigned n = 1 + r.below(12);
    for (unsigned i = 0; i < n; ++i) {
        if (r.chance(5))
            out += v.lookalikes[r.below(static_cast<unsigned>(v.lookalikes.size()))];
        else
            out += v.valueChars[r.below(static_cast<unsigned>(v.valueChars.size()))];
    }
    return out;
}

const char* const kBreaks[] = {"\r\n", "\r\n", "\r\n", "\n", "\n", "\r", "\r\r\n", "\n\r"};

// A file in free form: every kind of line the readers must agree on. With
// `writable` false it also holds constructs that the service cannot write
// back faithfully (empty section names, NUL bytes, runs of empty key names).
std::string freeFormFile(Rng& r, const Vocabulary& v, bool writable) {
    std::string text;
    const unsigned lines = r.below(24);
    const std::string lineBreak = kBreaks[r.below(8)];
    bool lastEmptyName = false;
    for (unsigned i = 0; i < lines; ++i) {
        std::string line;
        if (r.chance(20))
            line += someBlanks(r, v);
        const unsigned kind = r.below(30);
        bool emptyName = false;
        if (kind < 6) {
            line += "[" + pick(r, v.names) + "]";
        } else if (kind == 6) {
            line += "[" + someBlanks(r, v) + pick(r, v.names) + someBlanks(r, v) + "]";
        } else if (kind == 7) {
            line += "[" + pick(r, v.names) + "]" + pick(r, v.names);
        } else if (kind == 8) {
            line += "[" + pick(r, v.names) + "]x]";
        } else if (kind == 9) {
            line += "[" + pick(r, v.names); // no closing bracket: an entry
        } else if (kind == 10) {
            if (writable)
                line += "[" + pick(r, v.names) + "]";
            else
                line += r.chance(50) ? "[]" : "[ ]";
        } else if (kind < 18) {
            line += pick(r, v.names) + "=" + someValue(r, v);
        } else if (kind < 20) {
            line += pick(r, v.names) + someBlanks(r, v) + "=" + someBlanks(r, v) + someValue(r, v) +
                    someBlanks(r, v);
        } else if (kind == 20) {
            line += pick(r, v.names); // no "="
        } else if (kind == 21) {
            emptyName = true;
            if (writable && lastEmptyName)
                line += "e=" + someValue(r, v);
            else
                line += someBlanks(r, v) + "=" + someValue(r, v);
        } else if (kind == 22) {
            line += ";" + someValue(r, v);
        } else if (kind == 23) {
            line += pick(r, v.names) + "=";
        } else if (kind == 24) {
            line += ""; // blank line
        } else if (kind == 25) {
            line += someBlanks(r, v); // blanks only
        } else if (kind == 26 && !writable) {
            line += pick(r, v.names) + std::string(1, '\0') + "z=" + someValue(r, v);
        } else {
            line += pick(r, v.names) + "=" + pick(r, v.names);
        }
        lastEmptyName = emptyName;
        if (r.chance(10))
            line += someBlanks(r, v);
        text += line;
        if (i + 1 < lines || r.chance(70))
            text += r.chance(85) ? lineBreak : kBreaks[r.below(8)];
    }
    return text;
}

std::string withoutBlanks(std::string s) {
    auto blank = [](char c) { return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == 0x20; };
    while (!s.empty() && blank(s.back()))
        s.pop_back();
    while (!s.empty() && blank(s.front()))
        s.erase(0, 1);
    return s;
}

// A key name that cannot be taken for a section header.
std::string ownFormKey(Rng& r, const Vocabulary& v) {
    std::string name;
    do
        name = pick(r, v.names);
    while (name[0] == '[');
    return name;
}

// A file in the program's own form: [name] and key=value lines, CR LF, no
// blank lines, no blanks around names and values.
std::string ownFormFile(Rng& r, const Vocabulary& v) {
    std::string text;
    const unsigned sections = r.below(5);
    if (r.chance(20))
        text += "top=" + withoutBlanks(someValue(r, v)) + "\r\n";
    for (unsigned s = 0; s < sections; ++s) {
        text += "[" + pick(r, v.names) + "]\r\n";
        const unsigned keys = r.below(5);
        for (unsigned k = 0; k < keys; ++k)
            text += ownFormKey(r, v) + "=" + withoutBlanks(someValue(r, v)) + "\r\n";
    }
    return text;
}

std::string flipCase(Rng& r, std::string s) {
    for (char& c : s)
        if (r.chance(50)) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
            else if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c + 32);
        }
    return s;
}

// A section or key argument: usually a name of the vocabulary in some letter
// case, sometimes with blanks around it, empty, or unknown.
std::string nameArgument(Rng& r, const Vocabulary& v) {
    const unsigned kind = r.below(20);
    if (kind == 0)
        return "";
    if (kind == 1)
        return someBlanks(r, v);
    if (kind == 2)
        return "nosuchname";
    std::string name = flipCase(r, pick(r, v.names));
    if (kind < 6)
        name = someBlanks(r, v) + name + someBlanks(r, v);
    return name;
}

const char* const kDefaults[] = {nullptr, "",  "d",  "dflt  ", "   ",   " x ",  "'q'",
                                 "\"q\"", "'", "''", "a'",     "' x '", "tab\t"};

// ------------------------------------------------------------ comparison

constexpr unsigned long kGuard = 16;
constexpr unsigned char kFill = 0xCC;

enum class Api { String, Section, Names };

struct Call {
    Api api = Api::String;
    bool hasSection = true, hasKey = true, hasDefault = true;
    std::string section, key, def;
    unsigned long size = 0;
};

struct Outcome {
    std::vector<unsigned char> bytes;
    unsigned long count = 0;
};

struct Tally {
    long files = 0, calls = 0, mismatches = 0, skippedCrash = 0, excusedLastByte = 0,
         excusedEmptyNameRuns = 0, kernelOverruns = 0, writes = 0, writeFiles = 0, byteCompares = 0;
    std::vector<std::string> reports;
    std::map<std::string, long> overrunsBy; // which calls kernel32 overran with
    void report(const std::string& s) {
        ++mismatches;
        if (reports.size() < 25)
            reports.push_back(s);
    }
};

std::string describe(const Call& c) {
    std::string s;
    switch (c.api) {
    case Api::String:
        s = "GetPrivateProfileString(" + (c.hasSection ? show(c.section.c_str()) : "NULL") + ", " +
            (c.hasKey ? show(c.key.c_str()) : "NULL") + ", " +
            (c.hasDefault ? show(c.def.c_str()) : "NULL");
        break;
    case Api::Section:
        s = "GetPrivateProfileSection(" + show(c.section.c_str());
        break;
    case Api::Names:
        s = "GetPrivateProfileSectionNames(";
        break;
    }
    return s + ", size " + std::to_string(c.size) + ")";
}

std::string dump(const Outcome& o, unsigned long size) {
    std::string s = "count " + std::to_string(o.count) + " bytes \"";
    for (unsigned long i = 0; i < size + 2 && i < o.bytes.size() && i < 100; ++i) {
        const unsigned char c = o.bytes[i];
        if (c == kFill)
            s += "~";
        else if (c >= 0x20 && c < 0x7f && c != '\\')
            s += static_cast<char>(c);
        else {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", c);
            s += b;
        }
    }
    return s + "\"";
}

Outcome runKernel(const Call& c, const std::string& path) {
    Outcome o;
    o.bytes.assign(c.size + kGuard, kFill);
    char* buf = reinterpret_cast<char*>(o.bytes.data());
    switch (c.api) {
    case Api::String:
        o.count = ::GetPrivateProfileStringA(
            c.hasSection ? c.section.c_str() : nullptr, c.hasKey ? c.key.c_str() : nullptr,
            c.hasDefault ? c.def.c_str() : nullptr, buf, c.size, path.c_str());
        break;
    case Api::Section:
        o.count = ::GetPrivateProfileSectionA(c.section.c_str(), buf, c.size, path.c_str());
        break;
    case Api::Names:
        o.count = ::GetPrivateProfileSectionNamesA(buf, c.size, path.c_str());
        break;
    }
    return o;
}

Outcome runOurs(const Call& c, const std::string& path) {
    Outcome o;
    o.bytes.assign(c.size + kGuard, kFill);
    char* buf = reinterpret_cast<char*>(o.bytes.data());
    switch (c.api) {
    case Api::String:
        // Spelled as callers spell it beside <windows.h>: the macro turns it
        // into profile::GetPrivateProfileStringA, which forwards to ours.
        o.count = profile::GetPrivateProfileString(
            c.hasSection ? c.section.c_str() : nullptr, c.hasKey ? c.key.c_str() : nullptr,
            c.hasDefault ? c.def.c_str() : nullptr, buf, c.size, path.c_str());
        break;
    case Api::Section:
        o.count = profile::GetPrivateProfileSection(c.section.c_str(), buf, c.size, path.c_str());
        break;
    case Api::Names:
        o.count = profile::GetPrivateProfileSectionNames(buf, c.size, path.c_str());
        break;
    }
    return o;
}

bool isList(const Call& c) {
    return c.api == Api::Names || (c.api == Api::String && (!c.hasSection || !c.hasKey));
}

// Whether a section of the file holds two entry lines in a row whose names
// are empty ("=one" then "=two", blank lines between them aside), read as
// the profile readers read lines.
bool hasEmptyNameRun(std::string text) {
    size_t mark = 0;
    switch (profile::text::detect(text, mark)) {
    case profile::text::Encoding::ansi:
        break;
    case profile::text::Encoding::utf8:
        text = text.substr(mark);
        break;
    case profile::text::Encoding::utf16le:
    case profile::text::Encoding::utf16be:
        text = profile::text::utf16ToUtf8(std::string_view(text).substr(mark),
                                          profile::text::detect(text, mark) ==
                                              profile::text::Encoding::utf16be);
        break;
    }
    auto blank = [](char c) { return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == 0x20; };
    bool previousEmpty = false;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t stop = text.find_first_of("\r\n", pos);
        if (stop == std::string::npos)
            stop = text.size();
        std::string line = text.substr(pos, stop - pos);
        pos = stop + 1;
        while (!line.empty() && blank(line.back()))
            line.pop_back();
        size_t b = 0;
        while (b < line.size() && blank(line[b]))
            ++b;
        line.erase(0, b);
        if (line.empty())
            continue;
        if (line[0] == '[' && line.find(']') != std::string::npos) {
            previousEmpty = false;
            continue;
        }
        std::string name = line.substr(0, line.find('='));
        while (!name.empty() && blank(name.back()))
            name.pop_back();
        if (name.empty() && previousEmpty)
            return true;
        previousEmpty = name.empty() || name[0] == '\0';
    }
    return false;
}

// Runs one call both ways and compares. Returns kernel32's count.
unsigned long compareCall(const Call& c, const std::string& path, const std::string& fileText,
                          Tally& t) {
    ++t.calls;
    const Outcome ours = runOurs(c, path);
    for (unsigned long i = c.size; i < c.size + kGuard; ++i)
        if (ours.bytes[i] != kFill) {
            t.report(describe(c) + " on " + show(fileText.c_str()) +
                     ": ours wrote past the buffer");
            break;
        }
    if (c.api == Api::Section && c.size == 0) {
        ++t.skippedCrash;
        if (ours.count != 0 || ours.bytes[0] != kFill)
            t.report(describe(c) + ": ours must return 0 and write nothing");
        return 0;
    }
    const Outcome kernel = runKernel(c, path);
    for (unsigned long i = c.size; i < c.size + kGuard; ++i)
        if (kernel.bytes[i] != kFill) {
            ++t.kernelOverruns;
            const char* api = c.api == Api::Section ? "GetPrivateProfileSectionA"
                              : c.api == Api::Names ? "GetPrivateProfileSectionNamesA"
                                                    : "GetPrivateProfileStringA";
            ++t.overrunsBy[std::string(api) + " size " + std::to_string(c.size)];
            break;
        }
    bool same = ours.count == kernel.count;
    const bool excuseLast = isList(c) && c.size >= 2 && kernel.count == c.size - 2;
    for (unsigned long i = 0; same && i < c.size; ++i) {
        if (excuseLast && i == c.size - 1 && kernel.bytes[i] == kFill && ours.bytes[i] == 0) {
            ++t.excusedLastByte;
            continue;
        }
        same = ours.bytes[i] == kernel.bytes[i];
    }
    if (!same && c.api == Api::Section && ours.count >= kernel.count && hasEmptyNameRun(fileText)) {
        ++t.excusedEmptyNameRuns;
    } else if (!same) {
        std::string where = describe(c) + " on file " + path + " " + show(fileText.c_str()) +
                            "\n    kernel32 " + dump(kernel, c.size) + "\n    ours     " +
                            dump(ours, c.size);
        t.report(where);
    }
    return kernel.count;
}

// Calls every read with this argument set at a spread of buffer sizes: the
// small ones, and those around the size the full result needs.
void compareAtSizes(Call c, const std::string& path, const std::string& text, Tally& t, Rng& r) {
    c.size = 4096;
    const unsigned long full = compareCall(c, path, text, t);
    std::vector<unsigned long> sizes = {0, 1, 2, 3, 4};
    for (unsigned long d = 0; d < 5; ++d)
        if (full + d >= 2)
            sizes.push_back(full + d - 2 + 0);
    sizes.push_back(5 + r.below(40));
    if (full > 6)
        sizes.push_back(1 + r.below(static_cast<unsigned>(full)));
    for (unsigned long size : sizes) {
        c.size = size;
        compareCall(c, path, text, t);
    }
}

void compareReads(const std::string& path, const std::string& text, const Vocabulary& v, Rng& r,
                  Tally& t, int argumentSets) {
    Call names;
    names.api = Api::Names;
    compareAtSizes(names, path, text, t, r);
    for (int i = 0; i < argumentSets; ++i) {
        Call c;
        c.api = Api::String;
        c.hasSection = !r.chance(8);
        c.hasKey = !r.chance(15);
        c.section = nameArgument(r, v);
        c.key = nameArgument(r, v);
        const char* def = kDefaults[r.below(sizeof kDefaults / sizeof kDefaults[0])];
        c.hasDefault = def != nullptr;
        c.def = def ? def : "";
        compareAtSizes(c, path, text, t, r);
        Call s;
        s.api = Api::Section;
        s.section = r.chance(70) ? flipCase(r, pick(r, v.names)) : nameArgument(r, v);
        compareAtSizes(s, path, text, t, r);
    }
}

// ------------------------------------------------------------ files

struct Folder {
    std::string path; // with a trailing backslash
};

bool writeFile(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    const bool ok =
        text.empty() || WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    CloseHandle(h);
    return ok && done == text.size();
}

std::string readFile(const std::string& path) {
    std::string out;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
        out.append(buf, got);
    CloseHandle(h);
    return out;
}

class ProfileDiff : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
        // A folder of its own for each test: a folder that was read may stay
        // until the reader's change notification on it is closed.
        static int serial = 0;
        const std::string tag = "fl_profile_diff_" + std::to_string(GetCurrentProcessId()) + "_" +
                                std::to_string(++serial);
        folders_.push_back(Folder{std::string(temp) + tag + "\\"});
        // Under Wine the Linux root is drive Z:; use it too when present.
        const DWORD z = GetFileAttributesA("Z:\\tmp");
        if (z != INVALID_FILE_ATTRIBUTES && (z & FILE_ATTRIBUTE_DIRECTORY))
            folders_.push_back(Folder{"Z:\\tmp\\" + tag + "\\"});
        for (const Folder& f : folders_)
            ASSERT_TRUE(CreateDirectoryA(f.path.c_str(), nullptr)) << f.path;
        ansi1252_ = GetACP() == 1252;
    }
    void TearDown() override {
        for (const Folder& f : folders_) {
            WIN32_FIND_DATAA fd;
            HANDLE h = FindFirstFileA((f.path + "*").c_str(), &fd);
            if (h != INVALID_HANDLE_VALUE) {
                do {
                    DeleteFileA((f.path + fd.cFileName).c_str());
                } while (FindNextFileA(h, &fd));
                FindClose(h);
            }
            RemoveDirectoryA(f.path.c_str());
        }
    }
    std::string freshPath(const char* stem) {
        const Folder& f = folders_[counter_ % folders_.size()];
        return f.path + stem + std::to_string(counter_++) + ".ini";
    }
    void finish(const Tally& t, const char* what) {
        std::printf("%s: %ld files, %ld calls, %ld writes (%ld byte comparisons of files in the "
                    "program's own form), %ld mismatches; skipped %ld zero-size section calls "
                    "(kernel32 crashes), excused %ld unwritten last bytes of cut lists and %ld "
                    "section reads listing runs of empty names whole, saw %ld kernel32 writes "
                    "past the buffer\n",
                    what, t.files, t.calls, t.writes, t.byteCompares, t.mismatches, t.skippedCrash,
                    t.excusedLastByte, t.excusedEmptyNameRuns, t.kernelOverruns);
        for (const auto& [call, n] : t.overrunsBy)
            std::printf("  kernel32 wrote past the buffer: %s, %ld times\n", call.c_str(), n);
        for (const std::string& s : t.reports)
            ADD_FAILURE() << s;
        EXPECT_EQ(t.mismatches, 0);
    }
    std::vector<Folder> folders_;
    unsigned counter_ = 0;
    bool ansi1252_ = false;
};

// Where ours differs on purpose: every line of a run of empty names is
// listed. (kernel32 under Wine drops "=two" and "=three".)
TEST_F(ProfileDiff, ARunOfEmptyNamesIsListedWhole) {
    const std::string path = freshPath("runs");
    ASSERT_TRUE(writeFile(path, "[S]\r\n=one\r\n=two\r\n\r\n=three\r\nk=v\r\n"));
    EXPECT_TRUE(hasEmptyNameRun(readFile(path)));
    EXPECT_FALSE(hasEmptyNameRun("[S]\r\n=one\r\nk=v\r\n=two\r\n[T]\r\n=three\r\n"));
    char ours[100], kernel[100];
    const unsigned long n = profile::GetPrivateProfileSection("S", ours, sizeof ours, path.c_str());
    EXPECT_EQ(std::string(ours, n), std::string("=one\0=two\0=three\0k=v\0", 21));
    const unsigned long k = ::GetPrivateProfileSectionA("S", kernel, sizeof kernel, path.c_str());
    std::printf("kernel32 lists %s\n", escape(std::string(kernel, k)).c_str());
    EXPECT_LE(k, n);
}

TEST_F(ProfileDiff, ReadsMatchKernel32) {
    const Vocabulary v = makeVocabulary(ansi1252_);
    Rng r{0x0123456789ABCDEFull};
    Tally t;
    const int files = runSize(1000);
    for (int i = 0; i < files; ++i) {
        const std::string text = freeFormFile(r, v, false);
        const std::string path = freshPath("r");
        ASSERT_TRUE(writeFile(path, text));
        ++t.files;
        compareReads(path, text, v, r, t, 3);
    }
    // The empty file, a missing file and a file in a missing folder.
    const std::string empty = freshPath("empty");
    ASSERT_TRUE(writeFile(empty, ""));
    const std::string missing = freshPath("missing");
    const std::string noFolder = folders_[0].path + "no such folder\\x.ini";
    for (const std::string& p : {empty, missing, noFolder}) {
        ++t.files;
        compareReads(p, "", v, r, t, 40);
    }
    finish(t, "reads");
}

// A file that starts with a byte-order mark: its text in UTF-8 or UTF-16,
// sometimes with characters the ANSI code page lacks and, in UTF-8, bytes
// that form no character.
std::string unicodeFile(Rng& r, const Vocabulary& v, bool writable, int& kind) {
    std::string utf8 = profile::text::ansiToUtf8(freeFormFile(r, v, writable));
    if (r.chance(30)) {
        const char* const extras[] = {"\xC5\xA0", "\xE4\xBD\xA0", "\xF0\x9F\x98\x80",
                                      "\xE2\x82\xAC", "\xC5\xBD"};
        const size_t at = r.below(static_cast<unsigned>(utf8.size() + 1));
        utf8.insert(at, extras[r.below(5)]);
    }
    kind = static_cast<int>(r.below(3));
    if (kind == 0) {
        if (!writable && r.chance(10))
            utf8.insert(r.below(static_cast<unsigned>(utf8.size() + 1)), "\xC3");
        return "\xEF\xBB\xBF" + utf8;
    }
    if (kind == 1)
        return "\xFF\xFE" + profile::text::utf8ToUtf16(utf8, false);
    return "\xFE\xFF" + profile::text::utf8ToUtf16(utf8, true);
}

TEST_F(ProfileDiff, UnicodeFilesMatchKernel32) {
    const Vocabulary v = makeVocabulary(ansi1252_);
    Rng r{0x5A5A5A5A12345678ull};
    Tally t;
    for (int i = 0, n = runSize(300); i < n; ++i) {
        int kind = 0;
        const std::string text = unicodeFile(r, v, false, kind);
        const std::string path = freshPath("u");
        ASSERT_TRUE(writeFile(path, text));
        ++t.files;
        compareReads(path, text, v, r, t, 2);
    }
    finish(t, "files with a byte-order mark");
}

// The buffer sizes the catalog uses, on large generated catalogs: section
// names into 8192 characters (cut short for the largest), a category into
// 31165, one link into 256, each category and some links of each.
TEST_F(ProfileDiff, LargeCatalogsMatchKernel32) {
    Tally t;
    const int shapes[][2] = {{500, 100}, {200, 150}, {40, 700}, {30, 800}, {1, 1}};
    unsigned seed = 7;
    for (const auto& shape : shapes) {
        const std::string text = catalog::syntheticCatalog(shape[0], shape[1], seed++);
        const std::string path = freshPath("big");
        ASSERT_TRUE(writeFile(path, text));
        ++t.files;
        Call names;
        names.api = Api::Names;
        names.size = 8192;
        compareCall(names, path, "<synthetic catalog>", t);
        for (const std::string& category : profile::sectionNames(path, 65536)) {
            Call section;
            section.api = Api::Section;
            section.section = category;
            section.size = 31165;
            compareCall(section, path, "<synthetic catalog>", t);
            const auto lines = profile::sectionLines(path, category, 31165);
            for (size_t i = 0; i < lines.size(); i += 37) {
                Call link;
                link.section = category;
                link.key = lines[i].substr(0, lines[i].find('='));
                link.hasDefault = false;
                link.size = 256;
                compareCall(link, path, "<synthetic catalog>", t);
            }
        }
    }
    // Writes into a catalog, which is in the program's own form: the files
    // must stay byte for byte the same as kernel32's.
    const std::string text = catalog::syntheticCatalog(500, 100, 3);
    const std::string kernelPath = freshPath("bigk"), ourPath = freshPath("bigo");
    ASSERT_TRUE(writeFile(kernelPath, text));
    ASSERT_TRUE(writeFile(ourPath, text));
    const auto categories = profile::sectionNames(ourPath, 65536);
    Rng r{99};
    for (int i = 0; i < 30; ++i) {
        const std::string category = categories[r.below(static_cast<unsigned>(categories.size()))];
        const auto lines = profile::sectionLines(ourPath, category, 31165);
        std::string key =
            lines.empty() ? "Tool" : lines[r.below(static_cast<unsigned>(lines.size()))];
        key = key.substr(0, key.find('='));
        const unsigned kind = r.below(6);
        const std::string section = kind == 4 ? "New category " + std::to_string(i) : category;
        if (kind == 3)
            key = "New entry " + std::to_string(i);
        const std::string value = "http://example.org/" + std::to_string(i) + ".exe";
        const char* k = kind == 5 && i % 2 ? nullptr : key.c_str();
        const char* v = kind == 5 ? nullptr : value.c_str();
        ++t.writes;
        ++t.byteCompares;
        const bool kr = ::WritePrivateProfileStringA(section.c_str(), k, v, kernelPath.c_str());
        const bool orr = profile::WritePrivateProfileString(section.c_str(), k, v, ourPath.c_str());
        if (kr != orr || readFile(kernelPath) != readFile(ourPath))
            t.report("catalog differs after WritePrivateProfileString(" + show(section.c_str()) +
                     ", " + show(k) + ", " + show(v) + ")");
    }
    finish(t, "large catalogs");
}

// One write, as the callers may make it: set, replace, remove a key (null
// value), remove a section (null key).
struct Write {
    std::string section, key, value;
    bool hasKey = true, hasValue = true;
};

Write someWrite(Rng& r, const Vocabulary& v, bool clean) {
    Write w;
    w.section = clean ? pick(r, v.names) : nameArgument(r, v);
    w.key = clean ? ownFormKey(r, v) : nameArgument(r, v);
    w.value = someValue(r, v);
    if (clean) {
        w.value = withoutBlanks(w.value);
        if (r.chance(30))
            w.section = flipCase(r, w.section);
        if (r.chance(10))
            w.value = " " + w.value;
    }
    const unsigned kind = r.below(20);
    if (kind == 0)
        w.hasKey = false;
    else if (kind < 3)
        w.hasValue = false;
    return w;
}

// Reads both files with the same argument sets and compares.
void compareWrittenFiles(const std::string& kernelPath, const std::string& ourPath,
                         const Vocabulary& v, Rng& r, Tally& t) {
    const std::string kernelText = readFile(kernelPath);
    auto both = [&](Call c) {
        ++t.calls;
        const Outcome k = runKernel(c, kernelPath);
        const Outcome o = runOurs(c, ourPath);
        if (k.count != o.count || k.bytes != o.bytes)
            t.report(describe(c) + " after writes\n    kernel32 file " + show(kernelText.c_str()) +
                     "\n    our file     " + show(readFile(ourPath).c_str()) + "\n    kernel32 " +
                     dump(k, c.size) + "\n    ours     " + dump(o, c.size));
    };
    Call names;
    names.api = Api::Names;
    names.size = 8192;
    both(names);
    std::vector<std::string> sections = {""};
    for (const std::string& s : profile::sectionNames(ourPath, 8192))
        sections.push_back(s);
    for (const std::string& s : sections) {
        Call sec;
        sec.api = Api::Section;
        sec.section = s;
        sec.size = 8192;
        both(sec);
        Call keys;
        keys.hasKey = false;
        keys.section = s;
        keys.size = 8192;
        both(keys);
        for (const std::string& line : profile::sectionLines(ourPath, s, 8192)) {
            Call val;
            val.section = s;
            val.key = line.substr(0, line.find('='));
            val.size = 256;
            both(val);
        }
    }
    for (int i = 0; i < 4; ++i) {
        Call val;
        val.section = nameArgument(r, v);
        val.key = nameArgument(r, v);
        val.size = 1 + r.below(300);
        both(val);
    }
}

void runWriteSequences(bool ownForm, int fileCount, unsigned long long seed, ProfileDiff& fx,
                       Tally& t, const Vocabulary& v,
                       const std::function<std::string(const char*)>& freshPath,
                       bool unicode = false) {
    Rng r{seed};
    for (int i = 0; i < fileCount; ++i) {
        int kind = 0;
        const std::string text = unicode   ? unicodeFile(r, v, true, kind)
                                 : ownForm ? ownFormFile(r, v)
                                           : freeFormFile(r, v, true);
        const std::string kernelPath = freshPath("k");
        const std::string ourPath = freshPath("o");
        const bool create = r.chance(10);
        if (!create) {
            ASSERT_TRUE(writeFile(kernelPath, text));
            ASSERT_TRUE(writeFile(ourPath, text));
        }
        ++t.writeFiles;
        ++t.files;
        const unsigned writes = 1 + r.below(8);
        for (unsigned w = 0; w < writes; ++w) {
            const Write op = someWrite(r, v, ownForm);
            const char* key = op.hasKey ? op.key.c_str() : nullptr;
            const char* value = op.hasValue ? op.value.c_str() : nullptr;
            const BOOL k =
                ::WritePrivateProfileStringA(op.section.c_str(), key, value, kernelPath.c_str());
            const bool o =
                profile::WritePrivateProfileString(op.section.c_str(), key, value, ourPath.c_str());
            ++t.writes;
            if ((k != FALSE) != o)
                t.report("WritePrivateProfileString(" + show(op.section.c_str()) + ", " +
                         show(key) + ", " + show(value) + ") returned " + std::to_string(k) +
                         " from kernel32 and " + std::to_string(o) + " from ours");
            if (ownForm) {
                ++t.byteCompares;
                const std::string kt = readFile(kernelPath), ot = readFile(ourPath);
                if (kt != ot)
                    t.report("file in own form after WritePrivateProfileString(" +
                             show(op.section.c_str()) + ", " + show(key) + ", " + show(value) +
                             ") from " + show(text.c_str()) + "\n    kernel32 " + show(kt.c_str()) +
                             "\n    ours     " + show(ot.c_str()));
            }
            compareWrittenFiles(kernelPath, ourPath, v, r, t);
        }
    }
    (void)fx;
}

TEST_F(ProfileDiff, WritesMatchKernel32) {
    const Vocabulary v = makeVocabulary(ansi1252_);
    Tally t;
    auto fresh = [this](const char* stem) { return freshPath(stem); };
    runWriteSequences(false, runSize(150), 0xFEEDFACECAFEBEEFull, *this, t, v, fresh);
    runWriteSequences(true, runSize(150), 0x0DDBA11C0FFEE123ull, *this, t, v, fresh);
    runWriteSequences(false, runSize(60), 0xBADC0FFEE0DDF00Dull, *this, t, v, fresh, true);
    // Writing into a folder that does not exist fails both ways.
    const std::string noFolder = folders_[0].path + "no such folder\\x.ini";
    EXPECT_FALSE(::WritePrivateProfileStringA("s", "k", "v", noFolder.c_str()));
    EXPECT_FALSE(profile::WritePrivateProfileString("s", "k", "v", noFolder.c_str()));
    // A read-only file stays as it was and the write fails. (kernel32 under
    // Wine run as root does write it: the read-only mark is the file's
    // missing write permission, which root passes over.)
    const std::string readOnly = freshPath("ro");
    ASSERT_TRUE(writeFile(readOnly, "[s]\r\nk=1\r\n"));
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(profile::WritePrivateProfileString("s", "k", "2", readOnly.c_str()));
    EXPECT_EQ(readFile(readOnly), "[s]\r\nk=1\r\n");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    finish(t, "writes");
}

} // namespace
