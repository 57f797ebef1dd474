// The header included before <windows.h>, whose macros then rename the
// calls: profile::GetPrivateProfileString(...) must still reach ours.
#include "catalog/profile.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

TEST(ProfileHeader, CallsReachOursWhateverTheIncludeOrder) {
    const auto p =
        (std::filesystem::temp_directory_path() / "fl_profile_header_order.ini").string();
    ASSERT_TRUE(profile::WritePrivateProfileString("Sec", "Key", "ours", p.c_str()));
    char buf[64] = {};
    EXPECT_EQ(profile::GetPrivateProfileString("Sec", "Key", nullptr, buf, sizeof buf, p.c_str()),
              4u);
    EXPECT_STREQ(buf, "ours");
    EXPECT_EQ(profile::GetPrivateProfileSectionNames(buf, sizeof buf, p.c_str()), 4u);
    EXPECT_EQ(profile::GetPrivateProfileSection("Sec", buf, sizeof buf, p.c_str()), 9u);
    EXPECT_STREQ(buf, "Key=ours");
    std::remove(p.c_str());
}
