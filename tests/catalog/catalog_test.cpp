// The catalog files: category and entry order, entry names and links, and the
// limits that the read buffers set.
#include "catalog/catalog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

namespace {

class CatalogFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("fl-catalog-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
        path = (dir / "FLApps.def").string();
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    fs::path dir;
    std::string path;
};

TEST_F(CatalogFile, CategoriesAndEntriesComeInFileOrder) {
    write("[B]\r\nTool=link-text\r\nzeta=1\r\nalpha=2\r\nzeta=3\r\n[A]\r\nx=y\r\n");
    EXPECT_EQ(catalog::categoryNames(path), (Names{"B", "A"}));
    EXPECT_EQ(catalog::entryNames(path, "B"), (Names{"Tool", "zeta", "alpha", "zeta"}));
    EXPECT_EQ(catalog::entryLink(path, "B", "Tool"), "link-text");
    // A name that occurs twice always yields the first entry's link.
    EXPECT_EQ(catalog::entryLink(path, "B", "zeta"), "1");
}

TEST_F(CatalogFile, EntryLinesSplitAtTheFirstEqualsSign) {
    write("[C]\nplain line\na=b=c\n=nameless\nempty=\n  spaced  =  http://x y  \n");
    EXPECT_EQ(catalog::entryNames(path, "C"), (Names{"a", "", "empty", "spaced"}));
    EXPECT_EQ(catalog::entryLink(path, "C", "a"), "b=c");
    EXPECT_EQ(catalog::entryLink(path, "C", "spaced"), "http://x y");
    // An empty value is listed, but no link is found for it.
    EXPECT_EQ(catalog::entryLink(path, "C", "empty"), std::nullopt);
    // Names and categories match without regard to letter case.
    EXPECT_EQ(catalog::entryLink(path, "c", "A"), "b=c");
}

TEST_F(CatalogFile, MissingFilesAndCategoriesGiveNothing) {
    EXPECT_TRUE(catalog::categoryNames(path).empty());
    EXPECT_TRUE(catalog::entryNames(path, "A").empty());
    write("");
    EXPECT_TRUE(catalog::categoryNames(path).empty());
    write("[A]\r\nx=y\r\n");
    EXPECT_TRUE(catalog::entryNames(path, "Gone").empty());
    EXPECT_TRUE(catalog::entryNames(path, "").empty());
    EXPECT_EQ(catalog::entryLink(path, "Gone", "x"), std::nullopt);
}

TEST_F(CatalogFile, CategoryNamesStopAtTheirBuffer) {
    // 1000 names of 9 characters + NUL: 10000 characters, more than 8192.
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Cat%06d", i);
        text += '[';
        text += name;
        text += "]\r\nk=v\r\n";
    }
    write(text);
    Names names = catalog::categoryNames(path);
    ASSERT_EQ(names.size(), 819u); // 819 whole names fill 8190 characters
    EXPECT_EQ(names.front(), "Cat000000");
    // The last listed one may be cut short: what fits before the final two NULs.
    size_t total = 0;
    for (auto& n : names)
        total += n.size() + 1;
    EXPECT_LE(total, catalog::kCategoryBufferSize - 1);
}

TEST_F(CatalogFile, EntryLinesStopAtTheirBufferAndLinksAt255) {
    std::string text = "[Big]\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "Entry" + std::to_string(i) + "=http://example.org/" + std::to_string(i) + "\r\n";
    text += "Long=" + std::string(300, 'x') + "\r\n";
    write(text);
    Names names = catalog::entryNames(path, "Big");
    ASSERT_GT(names.size(), 100u);
    ASSERT_LT(names.size(), 2000u);
    EXPECT_EQ(names[0], "Entry0");
    EXPECT_EQ(names[500], "Entry500");
    for (size_t i = 0; i + 1 < names.size(); ++i)
        EXPECT_EQ(names[i], "Entry" + std::to_string(i));
    // The link of an entry beyond the section buffer is still read by key.
    EXPECT_EQ(catalog::entryLink(path, "Big", "Entry1999"), "http://example.org/1999");
    EXPECT_EQ(catalog::entryLink(path, "Big", "Long"), std::string(255, 'x'));
}

TEST(CatalogKinds, PathsAndTheLoadOrder) {
    EXPECT_EQ(catalog::catalogPath("C:\\Apps\\", catalog::Kind::Slim),
              "C:\\Apps\\Data\\FLSlim.def");
    EXPECT_STREQ(catalog::info(catalog::Kind::Special).fileName, "FLSpecial.def");
    EXPECT_EQ(catalog::kLoadOrder[3], catalog::Kind::Pages);
    EXPECT_EQ(catalog::kLoadOrder[4], catalog::Kind::Special);
}

} // namespace
