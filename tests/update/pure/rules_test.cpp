// The updater's rules on real files: versions, the manifest, counts with the
// growing buffer, plain file names and what reads as a catalog.
#include "update/pure/rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("flupdate-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return (dir_ / name).string();
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    fs::path dir_;
};

} // namespace

TEST(Versions, AreComparedAsPlainStrings) {
    using update::compareOrdinal;
    EXPECT_EQ(compareOrdinal("0.4.4", "0.4.4"), 0);
    EXPECT_LT(compareOrdinal("0.4.10", "0.4.4"), 0); // '1' sorts before '4'
    EXPECT_GT(compareOrdinal("0.5.0", "0.4.4"), 0);
    EXPECT_LT(compareOrdinal("10", "9"), 0);
    EXPECT_GT(compareOrdinal("1", ""), 0);        // any version is newer than none
    EXPECT_LT(compareOrdinal("0.4", "0.4.4"), 0); // a prefix is the smaller
    EXPECT_GT(compareOrdinal("\xE9", "z"), 0);    // by character code, not signed char
    EXPECT_EQ(update::programVersion(0, 4, 4), "0.4.4");
    EXPECT_EQ(update::programVersion(1, 0, 12), "1.0.12");
}

TEST(Addresses, ComeFromOneServer) {
    EXPECT_EQ(update::manifestAddress("http://h:1"), "http://h:1/fetchlets_latest/FLVersion.ini");
    EXPECT_EQ(update::downloadPageAddress("https://h"),
              "https://h/download/finish/30-fetchlets/124-fetchlets-first-public-beta/0");
    EXPECT_EQ(update::defaultSignatureServer(update::kProductServer),
              std::string(update::kProductServer) + "/fetchlets_latest/");
}

TEST_F(Files, ManifestValuesAreCutTo254Characters) {
    std::string longText(300, 'x');
    longText.replace(0, 3, "abc");
    std::string m = write("FLVersion.ini", "[Fetchlets]\r\nVersion=0.5.0\r\nChangelog=" + longText +
                                               "\r\n[Signature]\r\nVersion=10\r\n");
    update::Manifest manifest = update::readManifest(m);
    EXPECT_EQ(manifest.programVersion, "0.5.0");
    EXPECT_EQ(manifest.programChangelog, longText.substr(0, 254));
    EXPECT_EQ(manifest.signatureVersion, "10");
    EXPECT_EQ(manifest.signatureChangelog, "");
    EXPECT_EQ(update::readManifest(path("missing.ini")).signatureVersion, "");
}

TEST_F(Files, CountsAddTheLinesOfEveryNamedSection) {
    std::string f = write("FLApps.def", "[One]\r\na=1\r\nb=2\r\nc=3\r\nd=4\r\n[Empty]\r\n[Two]\r\n"
                                        "e=5\r\nf=6\r\n");
    EXPECT_EQ(update::CountSignatures(f), 6);
    EXPECT_EQ(update::CountSignatures(path("missing.def")), 0);
    EXPECT_EQ(update::CountSignatures(write("empty.def", "")), 0);
}

TEST_F(Files, LongNamesAndLinesAreReadWhole) {
    // Far more than the first 32-character buffer holds, in names and lines.
    std::string text;
    std::vector<std::string> names;
    for (int s = 0; s < 9; ++s) {
        std::string name = "A category name well beyond thirty-two characters " + std::to_string(s);
        names.push_back(name);
        text += "[" + name + "]\r\n";
        for (int e = 0; e < s; ++e)
            text += "An entry with a long name " + std::to_string(e) +
                    "=https://example.org/a/rather/long/link/to/setup.exe\r\n";
    }
    std::string f = write("long.def", text);
    EXPECT_EQ(update::GetSectionNames(f), names);
    std::vector<std::string> lines = update::GetSectionLines(f, names[8]);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[7],
              "An entry with a long name 7=https://example.org/a/rather/long/link/to/setup.exe");
    EXPECT_EQ(update::CountSignatures(f), 36);
}

TEST(GrowingBuffer, DoublesWhileTheReaderSaysTooSmallThenSplits) {
    const std::string list = std::string("alpha\0beta\0", 11) + std::string(70, 'g') + '\0';
    std::vector<unsigned long> sizes;
    auto reader = [&](char* buffer, unsigned long size) -> unsigned long {
        sizes.push_back(size);
        if (list.size() + 1 > size) { // does not fit: the list cut, two NULs, size - 2
            std::copy(list.begin(), list.begin() + (size - 2), buffer);
            buffer[size - 2] = buffer[size - 1] = '\0';
            return size - 2;
        }
        std::copy(list.begin(), list.end(), buffer);
        buffer[list.size()] = '\0';
        return static_cast<unsigned long>(list.size());
    };
    std::vector<std::string> pieces = update::readGrowing(reader);
    EXPECT_EQ(sizes, (std::vector<unsigned long>{32, 64, 128}));
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], "alpha");
    EXPECT_EQ(pieces[2], std::string(70, 'g'));
    EXPECT_TRUE(update::readGrowing([](char*, unsigned long) { return 0ul; }).empty());
}

TEST(FileNames, OnlyPlainNamesAreAccepted) {
    for (const char* good : {"FLApps.def", "My Catalog.def", "a", "x..def", ".hidden"})
        EXPECT_TRUE(update::isPlainFileName(good)) << good;
    for (const char* bad : {"", ".", "..", " . ", "..\\FLApps.def", "../x.def", "sub\\x.def",
                            "sub/x.def", "C:x.def", "C:\\Windows\\win.ini",
                            "\\\\server\\share\\x.def", "a?.def", "a*.def", "a|b", "tab\there"})
        EXPECT_FALSE(update::isPlainFileName(bad)) << bad;
    // Devices, and names Windows shortens to another file's name.
    for (const char* bad : {"CON", "nul.ini", "COM1", "lpt\xB9.def", "Kinds.ini.", "Kinds.ini "})
        EXPECT_FALSE(update::isPlainFileName(bad)) << bad;
}

TEST_F(Files, OnlyAFileWithANamedSectionReadsAsACatalog) {
    EXPECT_TRUE(update::readsAsCatalog(write("a.def", "[Browsers]\r\nX=http://x/\r\n")));
    EXPECT_TRUE(update::readsAsCatalog(write("b.def", "\r\n  [Empty]\r\n")));
    EXPECT_FALSE(update::readsAsCatalog(
        write("c.def", "<!DOCTYPE html>\n<html><body>Sign in to the network</body></html>\n")));
    // Markup with a line that looks like a section header is still markup.
    EXPECT_FALSE(update::readsAsCatalog(write("d.def", "\r\n<html>\r\n[if IE]\r\n</html>\r\n")));
    EXPECT_FALSE(update::readsAsCatalog(write("e.def", "")));
    EXPECT_FALSE(update::readsAsCatalog(write("f.def", "[]\r\nkey=value\r\n")));
    EXPECT_FALSE(update::readsAsCatalog(path("missing.def")));
}

TEST_F(Files, TheManifestVouchesForAFileOnlyWithAWholeSizeAndHashLine) {
    const std::string hash(64, 'a');
    std::string manifest =
        write("FLVersion.ini", "[Files]\r\nFLApps.def=120," + hash + "\r\nFLSlim.def=12,ABC\r\n");
    update::FileCheck apps = update::readFileCheck(manifest, "FLApps.def");
    EXPECT_TRUE(apps.valid);
    EXPECT_EQ(apps.size, 120u);
    EXPECT_FALSE(update::readFileCheck(manifest, "FLPortable.def").present);
    update::FileCheck slim = update::readFileCheck(manifest, "FLSlim.def");
    EXPECT_TRUE(slim.present);
    EXPECT_FALSE(slim.valid);
    for (const char* bad : {"", ",", "12", "x12,", "-1,", "12, ", "12,a"})
        EXPECT_FALSE(update::parseFileCheck(std::string(bad) + hash).valid) << bad;
    EXPECT_FALSE(update::parseFileCheck("12," + std::string(64, 'A')).valid); // lowercase only

    update::Fetched whole{.unconfirmed = false, .digested = true, .size = 120, .sha256 = hash};
    update::Fetched unsized = whole;
    unsized.unconfirmed = true;
    EXPECT_EQ(update::refusal(apps, whole), "");
    EXPECT_EQ(update::refusal(apps, unsized), ""); // the hash confirms it
    EXPECT_NE(update::refusal({}, unsized), "");   // nothing confirms it
    EXPECT_EQ(update::refusal({}, whole), "");     // as before: no line, no check
    update::Fetched other = whole;
    other.sha256[0] = 'b';
    EXPECT_NE(update::refusal(apps, other).find("SHA-256"), std::string::npos);
    other = whole;
    other.size = 119;
    EXPECT_NE(update::refusal(apps, other).find("119 bytes"), std::string::npos);
    EXPECT_NE(update::refusal(slim, whole), "");
}
