// The generator of large synthetic catalogs that tests and benchmarks use.
#include "catalog/profile.h"
#include "catalog/synthetic.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

TEST(SyntheticCatalog, SameSeedSameBytesAndTheShapeAsked) {
    const std::string a = catalog::syntheticCatalog(500, 100, 1);
    EXPECT_EQ(a, catalog::syntheticCatalog(500, 100, 1));
    EXPECT_NE(a, catalog::syntheticCatalog(500, 100, 2));
    EXPECT_GT(a.size(), 1800000u); // about 2 MB
    EXPECT_LT(a.size(), 2600000u);
    EXPECT_EQ(a.find('\n'), a.find("\r\n") + 1); // CR LF line ends
    EXPECT_EQ(a.substr(a.size() - 2), "\r\n");

    const auto p = (std::filesystem::temp_directory_path() / "fl_synthetic_test.def").string();
    ASSERT_TRUE(catalog::writeSyntheticCatalog(p, 30, 40, 9));
    const auto names = profile::sectionNames(p, 65536);
    ASSERT_EQ(names.size(), 30u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 30u);
    for (const auto& name : names) {
        const auto lines = profile::sectionLines(p, name, 65536);
        ASSERT_EQ(lines.size(), 40u) << name;
        const auto eq = lines[0].find('=');
        ASSERT_NE(eq, std::string::npos);
        EXPECT_EQ(profile::readString(p, name, lines[0].substr(0, eq), nullptr, 256).text,
                  lines[0].substr(eq + 1));
    }
    std::remove(p.c_str());
}
