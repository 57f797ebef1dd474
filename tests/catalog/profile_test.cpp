// The profile component on real files in a temporary folder.
#include "catalog/profile.h"

#include "catalog/profile_io.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <thread>
#else
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Profile : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("fl_profile_" + std::string(info->name()) + "_" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string file(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
        return path(name);
    }
    static std::string contents(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<std::string> folderListing() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        return names;
    }
    fs::path dir_;
};

std::string value(const std::string& p, const char* section, const char* key,
                  const char* def = nullptr, unsigned long size = 256) {
    return profile::readString(p, section, key, def, size).text;
}

// Raw buffer of a call, prefilled so that untouched bytes show as '~'.
struct Raw {
    std::string bytes;
    unsigned long count;
};

Raw rawSection(const std::string& p, const char* section, unsigned long size) {
    std::string buf(size + 4, '~');
    const unsigned long n = profile::GetPrivateProfileSection(section, buf.data(), size, p.c_str());
    return {buf, n};
}

Raw rawNames(const std::string& p, unsigned long size) {
    std::string buf(size + 4, '~');
    const unsigned long n = profile::GetPrivateProfileSectionNames(buf.data(), size, p.c_str());
    return {buf, n};
}

Raw rawString(const std::string& p, const char* section, const char* key, const char* def,
              unsigned long size) {
    std::string buf(size + 4, '~');
    const unsigned long n =
        profile::GetPrivateProfileString(section, key, def, buf.data(), size, p.c_str());
    return {buf, n};
}

using Lines = std::vector<std::string>;

// A string literal with its embedded NULs.
template <size_t N> std::string bytes(const char (&s)[N]) {
    return std::string(s, N - 1);
}

// ------------------------------------------------------------------ reading

TEST_F(Profile, ReadsCatalogLinesAsCallersRelyOnThem) {
    const auto p = file("c.def", "[B]\r\nTool=link-text\r\na=b=c\r\nno equals sign\r\n"
                                 "Tool=second\r\n[A]\r\n");
    EXPECT_EQ(profile::sectionNames(p, 8192), (Lines{"B", "A"})); // file order
    EXPECT_EQ(profile::sectionLines(p, "B", 31165),
              (Lines{"Tool=link-text", "a=b=c", "no equals sign", "Tool=second"}));
    EXPECT_EQ(value(p, "B", "Tool"), "link-text"); // first of duplicates
    EXPECT_EQ(value(p, "b", "TOOL"), "link-text"); // letter case ignored
    EXPECT_EQ(value(p, "B", "a"), "b=c");          // split at the first "="
    EXPECT_EQ(value(p, "B", "no equals sign", "dflt"), "dflt");
    EXPECT_EQ(profile::readString(p, "A", "x", nullptr, 256).count, 0u);
    EXPECT_TRUE(profile::sectionLines(p, "A", 31165).empty());
}

TEST_F(Profile, BlanksCommentsQuotesAndTextBeforeTheFirstSection) {
    const auto p = file("s.ini", "top = before\r\n"
                                 "  [ Spaced ]  junk\r\n"
                                 "\t key \t=  value with inner  blanks \t\r\n"
                                 "\r\n"
                                 ";comment=hidden\r\n"
                                 "single='quoted'\r\n"
                                 "double=\"quoted\"\r\n"
                                 "mixed='not\"\r\n"
                                 "empty=\r\n");
    EXPECT_EQ(profile::sectionNames(p, 100), (Lines{"Spaced"}));
    EXPECT_EQ(value(p, "", "top"), "before");
    EXPECT_EQ(value(p, " spaced ", " KEY "), "value with inner  blanks");
    EXPECT_EQ(profile::sectionLines(p, "Spaced", 1000),
              (Lines{"key=value with inner  blanks", "single='quoted'", "double=\"quoted\"",
                     "mixed='not\"", "empty="}));
    EXPECT_EQ(value(p, "Spaced", ";comment"), "hidden"); // found by name, never listed
    EXPECT_EQ(value(p, "Spaced", "single"), "quoted");
    EXPECT_EQ(value(p, "Spaced", "double"), "quoted");
    EXPECT_EQ(value(p, "Spaced", "mixed"), "'not\"");
    const auto empty = profile::readString(p, "Spaced", "empty", "dflt", 256);
    EXPECT_EQ(empty.text, "");
    EXPECT_EQ(empty.count, 0u);
}

TEST_F(Profile, EveryLineBreakAndAMissingLastOne) {
    for (const std::string br : {"\r\n", "\n", "\r"}) {
        const auto p = file("b.ini", "[S]" + br + "a=1" + br + br + "[T]" + br + "b=2");
        EXPECT_EQ(profile::sectionNames(p, 100), (Lines{"S", "T"}));
        EXPECT_EQ(value(p, "S", "a"), "1");
        EXPECT_EQ(value(p, "T", "b"), "2");
    }
}

TEST_F(Profile, DefaultsKeepLeadingButLoseTrailingSpaces) {
    const auto p = file("d.ini", "[S]\r\n");
    EXPECT_EQ(value(p, "S", "k", "text   "), "text");
    EXPECT_EQ(value(p, "S", "k", "  text"), "  text");
    EXPECT_EQ(value(p, "S", "k", "   "), " ");
    EXPECT_EQ(value(p, "S", "k", "'q'"), "q");
    EXPECT_EQ(value(p, "S", "k", nullptr), "");
}

TEST_F(Profile, NullSectionOrKeyListsNames) {
    const auto p = file("n.ini", "[S]\r\na=1\r\nnovalue\r\n;c=2\r\nb=3\r\n[T]\r\n");
    const Raw names = rawString(p, nullptr, nullptr, nullptr, 20);
    EXPECT_EQ(names.count, 4u);
    EXPECT_EQ(names.bytes.substr(0, 5), std::string("S\0T\0\0", 5));
    const Raw keys = rawString(p, "s", nullptr, nullptr, 20);
    EXPECT_EQ(keys.count, 4u);
    EXPECT_EQ(keys.bytes.substr(0, 5), std::string("a\0b\0\0", 5));
    EXPECT_EQ(rawString(p, "T", nullptr, "none", 20).bytes.substr(0, 5), std::string("none\0", 5));
}

TEST_F(Profile, FilesWithAByteOrderMarkReadInTheAnsiCodePage) {
    // "Caf\u00e9" and a character the ANSI code page lacks, in UTF-8 and UTF-16.
    const auto u8 = file("u8.ini", "\xEF\xBB\xBF[Caf\xC3\xA9]\r\nk=\xE2\x82\xAC \xE4\xBD\xA0\r\n");
    EXPECT_EQ(profile::sectionNames(u8, 100), (Lines{"Caf\xE9"}));
    EXPECT_EQ(value(u8, "caf\xE9", "K"), "\x80 ?");
    const std::string utf16 = bytes("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xAC\x20");
    const auto u16 = file("u16.ini", utf16);
    EXPECT_EQ(profile::sectionLines(u16, "a", 100), (Lines{"k=\x80"}));
    // Writes keep the encoding and every other byte.
    EXPECT_TRUE(profile::writeString(u8, "Caf\xE9", "n", "\xE9"));
    EXPECT_EQ(contents(u8),
              "\xEF\xBB\xBF[Caf\xC3\xA9]\r\nk=\xE2\x82\xAC \xE4\xBD\xA0\r\nn=\xC3\xA9\r\n");
    EXPECT_TRUE(profile::writeString(u16, "A", "k", "x"));
    EXPECT_EQ(contents(u16), bytes("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0x\0\r\0\n\0"));
}

// ------------------------------------------------------------------ truncation

TEST_F(Profile, ValueTruncationKeepsSizeMinusOneCharacters) {
    const std::string link(300, 'x');
    const auto p = file("t.ini", "[S]\r\nk=" + link + "\r\n");
    const auto r = profile::readString(p, "S", "k", nullptr, 256);
    EXPECT_EQ(r.count, 255u);
    EXPECT_EQ(r.text, link.substr(0, 255));
    const Raw three = rawString(p, "S", "k", nullptr, 3);
    EXPECT_EQ(three.count, 2u);
    EXPECT_EQ(three.bytes, std::string("xx\0~~~~", 7));
    const Raw one = rawString(p, "S", "k", nullptr, 1);
    EXPECT_EQ(one.count, 0u);
    EXPECT_EQ(one.bytes, std::string("\0~~~~", 5));
    const Raw zero = rawString(p, "S", "k", nullptr, 0);
    EXPECT_EQ(zero.count, 0u);
    EXPECT_EQ(zero.bytes, "~~~~"); // nothing written
}

TEST_F(Profile, CutListsEndInTwoNulsAndCountSizeMinusTwo) {
    const auto p = file("l.ini", "[alpha]\r\nkey=value\r\nother=thing\r\n[beta]\r\n[gamma]\r\n");
    // Names: "alpha\0beta\0gamma\0\0" needs 18.
    EXPECT_EQ(rawNames(p, 18).count, 16u);
    EXPECT_EQ(rawNames(p, 18).bytes.substr(0, 18), std::string("alpha\0beta\0gamma\0\0", 18));
    const Raw cut = rawNames(p, 14);
    EXPECT_EQ(cut.count, 12u);
    EXPECT_EQ(cut.bytes, std::string("alpha\0beta\0g\0\0~~~~", 18));
    EXPECT_EQ(profile::sectionNames(p, 14), (Lines{"alpha", "beta", "g"}));
    // Section: "key=value\0other=thing\0\0" needs 23, and an exact fit counts as cut.
    EXPECT_EQ(rawSection(p, "alpha", 24).count, 22u);
    const Raw exact = rawSection(p, "alpha", 23);
    EXPECT_EQ(exact.count, 21u);
    EXPECT_EQ(exact.bytes, std::string("key=value\0other=thing\0\0~~~~", 27));
    const Raw mid = rawSection(p, "alpha", 15);
    EXPECT_EQ(mid.count, 13u);
    EXPECT_EQ(mid.bytes, std::string("key=value\0oth\0\0~~~~", 19));
    EXPECT_EQ(profile::sectionLines(p, "alpha", 15), (Lines{"key=value", "oth"}));
}

TEST_F(Profile, TinyBuffers) {
    const auto p = file("y.ini", "[alpha]\r\nkey=value\r\n");
    EXPECT_EQ(rawSection(p, "alpha", 0).bytes, "~~~~");
    EXPECT_EQ(rawSection(p, "alpha", 1).bytes, std::string("\0~~~~", 5));
    EXPECT_EQ(rawSection(p, "alpha", 2).bytes, std::string("\0\0~~~~", 6));
    EXPECT_EQ(rawSection(p, "alpha", 3).bytes, std::string("k\0\0~~~~", 7));
    EXPECT_EQ(rawSection(p, "alpha", 3).count, 1u);
    EXPECT_EQ(rawNames(p, 0).bytes, "~~~~");
    EXPECT_EQ(rawNames(p, 1).bytes, std::string("\0~~~~", 5));
    EXPECT_EQ(rawNames(p, 2).bytes, std::string("\0\0~~~~", 6));
    EXPECT_EQ(rawNames(p, 3).bytes, std::string("a\0\0~~~~", 7));
    EXPECT_EQ(rawNames(p, 3).count, 1u);
}

// ------------------------------------------------------------------ missing files

TEST_F(Profile, MissingAndEmptyFilesReadAlike) {
    const auto empty = file("empty.ini", "");
    for (const std::string& p : {empty, path("missing.ini"), path("no-folder/x.ini")}) {
        SCOPED_TRACE(p);
        EXPECT_EQ(rawNames(p, 10).count, 0u);
        EXPECT_EQ(rawNames(p, 10).bytes[0], '\0');
        EXPECT_EQ(rawSection(p, "S", 10).bytes.substr(0, 2), std::string("\0\0", 2));
        EXPECT_EQ(rawSection(p, "S", 10).count, 0u);
        const auto r = profile::readString(p, "S", "k", nullptr, 256);
        EXPECT_EQ(r.count, 0u);
        EXPECT_EQ(value(p, "S", "k", "fallback"), "fallback");
    }
}

// ------------------------------------------------------------------ writing

TEST_F(Profile, WritesCreateTheFileInTheProgramsOwnForm) {
    const auto p = path("new.ini");
    EXPECT_TRUE(profile::writeString(p, "Main", "Left", "120"));
    EXPECT_TRUE(profile::writeString(p, "Main", "Top", "240"));
    EXPECT_TRUE(profile::writeString(p, "Other", "Key", "v"));
    EXPECT_TRUE(profile::writeString(p, "main", "left", "360")); // replaced in place
    EXPECT_EQ(contents(p), "[Main]\r\nLeft=360\r\nTop=240\r\n[Other]\r\nKey=v\r\n");
    EXPECT_TRUE(profile::writeString(p, "Main", "Top", "  padded"));
    EXPECT_EQ(value(p, "Main", "Top"), "padded"); // leading blanks of a value are not stored
    EXPECT_EQ(contents(p), "[Main]\r\nLeft=360\r\nTop=padded\r\n[Other]\r\nKey=v\r\n");
}

TEST_F(Profile, WritesLeaveUntouchedLinesAsTheyWere) {
    const std::string before = "; settings written by hand\n"
                               "[Main]\n"
                               "  Left   =  10  \n"
                               "\n"
                               "Top=20\n"
                               "\n"
                               "\n"
                               "[Tail]\n"
                               "last=1";
    const auto p = file("hand.ini", before);
    EXPECT_TRUE(profile::writeString(p, "Main", "Width", "300"));
    EXPECT_EQ(contents(p), "; settings written by hand\n"
                           "[Main]\n"
                           "  Left   =  10  \n"
                           "\n"
                           "Top=20\n"
                           "Width=300\r\n"
                           "\n"
                           "\n"
                           "[Tail]\n"
                           "last=1");
    EXPECT_TRUE(profile::writeString(p, "Tail", "more", "2"));
    EXPECT_TRUE(profile::writeString(p, "main", "LEFT", "11"));
    EXPECT_EQ(contents(p), "; settings written by hand\n"
                           "[Main]\n"
                           "Left=11\r\n"
                           "\n"
                           "Top=20\n"
                           "Width=300\r\n"
                           "\n"
                           "\n"
                           "[Tail]\n"
                           "last=1\r\n"
                           "more=2\r\n");
    EXPECT_TRUE(profile::writeString(p, "New", "k", "v"));
    EXPECT_EQ(contents(p).substr(contents(p).size() - 12), "[New]\r\nk=v\r\n");
}

TEST_F(Profile, NullValueRemovesTheKeyAndNullKeyTheSection) {
    const auto p = file("del.ini", "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n[C]\r\nw=4\r\n");
    EXPECT_TRUE(profile::WritePrivateProfileString("A", "x", nullptr, p.c_str()));
    EXPECT_TRUE(profile::WritePrivateProfileString("b", nullptr, nullptr, p.c_str()));
    EXPECT_EQ(contents(p), "[A]\r\ny=2\r\n[C]\r\nw=4\r\n");
    // Removing what is not there changes nothing and is no failure.
    EXPECT_TRUE(profile::WritePrivateProfileString("A", "nope", nullptr, p.c_str()));
    EXPECT_TRUE(profile::WritePrivateProfileString("Nope", nullptr, nullptr, p.c_str()));
    EXPECT_EQ(contents(p), "[A]\r\ny=2\r\n[C]\r\nw=4\r\n");
    EXPECT_FALSE(profile::WritePrivateProfileString(nullptr, nullptr, nullptr, p.c_str()));
}

TEST_F(Profile, WriteIntoAMissingFolderFailsAndLeavesNoTemporaryFile) {
    EXPECT_FALSE(profile::writeString(path("no-folder/x.ini"), "S", "k", "v"));
    const auto p = file("keep.ini", "[S]\r\nk=1\r\n");
    EXPECT_TRUE(profile::writeString(p, "S", "k", "2"));
    EXPECT_TRUE(profile::writeString(p, "S", "k", "2")); // unchanged: not rewritten
    EXPECT_EQ(folderListing(), (Lines{"keep.ini"}));
    EXPECT_FALSE(fs::exists(path("no-folder")));
}

TEST_F(Profile, AReadOnlyFileIsNotReplaced) {
    const auto p = file("ro.ini", "[S]\r\nk=1\r\n");
    fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(profile::writeString(p, "S", "k", "2"));
    EXPECT_FALSE(profile::WritePrivateProfileString("S", nullptr, nullptr, p.c_str()));
    EXPECT_EQ(contents(p), "[S]\r\nk=1\r\n");
    fs::permissions(p, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(Profile, AFileReplacedOnDiskIsSeenByTheNextRead) {
    const auto p = file("r.ini", "[S]\r\nk=first\r\n");
    EXPECT_EQ(value(p, "S", "k"), "first");
    // Same size, written again at once: the read must not come from a cache.
    file("r.ini", "[S]\r\nk=other\r\n");
    EXPECT_EQ(value(p, "S", "k"), "other");
    // Replaced by renaming another file over it.
    file("next.ini", "[T]\r\nk=renamed\r\n");
    fs::rename(path("next.ini"), p);
    EXPECT_EQ(profile::sectionNames(p, 100), (Lines{"T"}));
    fs::remove(p);
    EXPECT_TRUE(profile::sectionNames(p, 100).empty());
}

TEST_F(Profile, AnOldFileReadFromCacheIsStillReadAnewOnceChanged) {
    const auto p = file("old.ini", "[S]\r\nk=first\r\n");
    fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_EQ(value(p, "S", "k"), "first");
    EXPECT_EQ(value(p, "S", "k"), "first"); // now cached
    file("old.ini", "[S]\r\nk=other\r\n");
    EXPECT_EQ(value(p, "S", "k"), "other");
    EXPECT_TRUE(profile::writeString(p, "S", "k", "third"));
    EXPECT_EQ(value(p, "S", "k"), "third");
}

// ------------------------------------------------------------------ hardening

// UTF-16 LE bytes of an ASCII text.
std::string u16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

TEST_F(Profile, EveryLineOfARunOfEmptyNamesIsInTheSectionRead) {
    // The system service drops "=two"; every entry line is listed here.
    const auto p = file("e.ini", "[S]\r\n=one\r\n=two\r\n  =three\r\nk=v\r\n=four\r\n");
    EXPECT_EQ(profile::sectionLines(p, "S", 200),
              (Lines{"=one", "=two", "=three", "k=v", "=four"}));
    // A list of the keys is as the service gives it: an empty name ends it
    // for every caller anyway.
    const auto q = file("k.ini", "[T]\r\nk=v\r\n=one\r\n=two\r\nm=w\r\n");
    EXPECT_EQ(rawString(q, "T", nullptr, "", 20).bytes.substr(0, 7), bytes("k\0\0m\0\0~"));
}

TEST_F(Profile, AStaleTemporaryFileIsRemovedByTheNextWrite) {
    const auto p = file("s.ini", "[S]\r\nk=1\r\n");
    // What a write killed midway leaves: its temporary file, half written.
    file("s.ini.tmp", std::string(100000, 'x'));
    EXPECT_EQ(profile::io::temporaryPath(p), p + ".tmp");
    EXPECT_TRUE(profile::writeString(p, "S", "k", "2"));
    EXPECT_EQ(contents(p), "[S]\r\nk=2\r\n");
    EXPECT_EQ(folderListing(), (Lines{"s.ini"}));
    // Also when the stale file is marked read-only.
    file("s.ini.tmp", "stale");
    fs::permissions(path("s.ini.tmp"), fs::perms::all, fs::perm_options::remove);
    fs::permissions(path("s.ini.tmp"), fs::perms::owner_read, fs::perm_options::add);
    EXPECT_TRUE(profile::writeString(p, "S", "k", "3"));
    EXPECT_EQ(contents(p), "[S]\r\nk=3\r\n");
    EXPECT_EQ(folderListing(), (Lines{"s.ini"}));
}

#ifndef _WIN32
TEST_F(Profile, WritesKilledMidwayNeverLeaveMoreThanOneTemporaryFile) {
    // A writer of a 2 MB file, killed again and again at some moment of its
    // work: the folder never holds more than the target and one temporary
    // file, and the next write leaves only the target, whole.
    const auto p =
        file("big.ini", "[S]\r\nk=0\r\n[Big]\r\nv=" + std::string(2000000, 'b') + "\r\n");
    for (int round = 0; round < 80; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 1;; ++i)
                profile::writeString(p, "S", "k", std::to_string(i));
        }
        ::usleep(static_cast<useconds_t>(1000 + (round * 7919) % 30000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_LE(folderListing().size(), 2u) << "round " << round;
    }
    EXPECT_TRUE(profile::writeString(p, "S", "k", "done"));
    EXPECT_EQ(folderListing(), (Lines{"big.ini"}));
    EXPECT_EQ(value(p, "S", "k"), "done");
    EXPECT_EQ(value(p, "Big", "v", nullptr, 10), "bbbbbbbbb");
}
#endif

TEST_F(Profile, Utf16FilesKeepTheBytesOfUntouchedLines) {
    // A lone surrogate in a line no write touches, and an odd last byte.
    const std::string head =
        bytes("\xFF\xFE") + u16("[A]\r\nbad=x") + bytes("\x00\xD8") + u16("y\r\n[B]\r\n");
    const auto p = file("u16.ini", head + u16("k=1\r\n") + "\x41");
    EXPECT_TRUE(profile::writeString(p, "B", "k", "2"));
    EXPECT_EQ(contents(p), head + u16("k=2\r\n") + "\x41");
    EXPECT_TRUE(profile::writeString(p, "C", "new", "3"));
    EXPECT_EQ(contents(p), head + u16("k=2\r\n[C]\r\nnew=3\r\n") + "\x41");
    EXPECT_TRUE(profile::WritePrivateProfileString("C", nullptr, nullptr, p.c_str()));
    EXPECT_EQ(contents(p), head + u16("k=2\r\n") + "\x41");
    // Big endian, a line changed before the broken one.
    const std::string be = bytes("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0"
                                 "1\0\r\0\n\xDC\x00\0\r\0\n");
    const auto q = file("be.ini", be);
    EXPECT_TRUE(profile::writeString(q, "A", "k", "22"));
    EXPECT_EQ(contents(q), bytes("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0"
                                 "2\0"
                                 "2\0\r\0\n\xDC\x00\0\r\0\n"));
}

TEST_F(Profile, AFileReplacedByOneOfTheSameSizeAndTimesIsSeen) {
    const auto p = file("id.ini", "[S]\r\nk=first\r\n");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(p, old);
    EXPECT_EQ(value(p, "S", "k"), "first");
    EXPECT_EQ(value(p, "S", "k"), "first"); // now from the cache
    const auto q = file("next.ini", "[S]\r\nk=other\r\n");
#ifdef _WIN32
    // Every time of the new file as the old one's.
    FILETIME created, accessed, written;
    HANDLE from =
        CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(from, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(GetFileTime(from, &created, &accessed, &written));
    CloseHandle(from);
    HANDLE to =
        CreateFileA(q.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(to, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(to, &created, &accessed, &written));
    CloseHandle(to);
    ASSERT_TRUE(MoveFileExA(q.c_str(), p.c_str(), MOVEFILE_REPLACE_EXISTING));
#else
    fs::last_write_time(q, old);
    fs::rename(q, p);
#endif
    EXPECT_EQ(value(p, "S", "k"), "other");
}

#ifdef _WIN32
TEST_F(Profile, EveryReplacementOfACachedFileIsSeenByTheReadRightAfterIt) {
    // Reads trust a cached file until its folder reports a change: the report
    // must be there for the very next read, every time.
    const auto p = file("burst.ini", "[S]\r\nk=v0\r\n");
    FILETIME created, accessed, written;
    HANDLE from =
        CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(from, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(GetFileTime(from, &created, &accessed, &written));
    CloseHandle(from);
    ULARGE_INTEGER t{{written.dwLowDateTime, written.dwHighDateTime}};
    t.QuadPart -= 36000000000ull; // an hour ago
    written = {t.LowPart, t.HighPart};
    for (int i = 1; i <= 60; ++i) {
        std::string text = "[S]\r\nk=v0\r\n";
        text[8] = static_cast<char>('0' + i % 10);
        const std::string q = file("next.ini", text);
        HANDLE to =
            CreateFileA(q.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(to, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetFileTime(to, &created, &accessed, &written));
        CloseHandle(to);
        ASSERT_TRUE(MoveFileExA(q.c_str(), p.c_str(), MOVEFILE_REPLACE_EXISTING));
        const std::string expected = text.substr(7, 2);
        ASSERT_EQ(value(p, "S", "k"), expected) << "replacement " << i;
        ASSERT_EQ(value(p, "S", "k"), expected) << "cached " << i;
    }
}

TEST_F(Profile, AWriteWaitsBrieflyForAFileHeldOpenThenReportsFailure) {
    const auto p = file("held.ini", "[S]\r\nk=1\r\n");
    auto hold = [&] {
        // As a scanner or an editor holds it: others may read, not replace.
        return CreateFileA(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    };
    auto ms = [](std::chrono::steady_clock::time_point since) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - since)
            .count();
    };

    // Let go after a moment: the write waits and succeeds.
    HANDLE h = hold();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::thread release([h] {
        Sleep(300);
        CloseHandle(h);
    });
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(profile::writeString(p, "S", "k", "2"));
    EXPECT_GE(ms(start), 250);
    release.join();
    EXPECT_EQ(contents(p), "[S]\r\nk=2\r\n");
    EXPECT_EQ(folderListing(), (Lines{"held.ini"}));

    // Held throughout: false after about a second, nothing changed or left.
    h = hold();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    start = std::chrono::steady_clock::now();
    EXPECT_FALSE(profile::writeString(p, "S", "k", "3"));
    const auto took = ms(start);
    CloseHandle(h);
    EXPECT_GE(took, 800);
    EXPECT_LE(took, 3000);
    EXPECT_EQ(contents(p), "[S]\r\nk=2\r\n");
    EXPECT_EQ(folderListing(), (Lines{"held.ini"}));

    // A temporary file held open by another process is waited for too.
    const std::string temp = profile::io::temporaryPath(p);
    HANDLE t = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(t, INVALID_HANDLE_VALUE);
    std::thread letGo([t] {
        Sleep(200);
        CloseHandle(t);
    });
    EXPECT_TRUE(profile::writeString(p, "S", "k", "4"));
    letGo.join();
    EXPECT_EQ(contents(p), "[S]\r\nk=4\r\n");
    EXPECT_EQ(folderListing(), (Lines{"held.ini"}));
}
#endif

} // namespace
