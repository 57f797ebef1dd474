// The geometry record through a real window and a real settings file.
#include "tests/support/fakes.h"
#include "forms/geometry.h"

#include "catalog/profile.h"

#include <gtest/gtest.h>

namespace {

class Plain : public forms::Form {
  public:
    Plain() : Form("frmGeometryTest", "Geometry") {}
};

std::string read(const std::string& file, const char* key) {
    return profile::readString(file, "WindowStateTest", key, "", 60).text;
}

} // namespace

TEST(Geometry, SavedValuesComeBackAndBadOnesStopTheRestore) {
    testsupport::TempFolder dir;
    std::string ini = dir.path() + "Fetchlets.ini";
    {
        Plain f;
        f.Load();
        f.Move(1500, 1200, 6000, 4500);
        ASSERT_TRUE(forms::SaveGeometry(f, ini, "WindowStateTest"));
        f.Unload();
    }
    EXPECT_EQ(read(ini, "Left"), "1500");
    EXPECT_EQ(read(ini, "Width"), "6000");
    // Keys are written Left, Top, Height, Width.
    std::string text = dir.read("Fetchlets.ini");
    EXPECT_LT(text.find("Left="), text.find("Top="));
    EXPECT_LT(text.find("Height="), text.find("Width="));

    Plain g;
    g.Load();
    EXPECT_TRUE(forms::RestoreGeometry(g, ini, "WindowStateTest"));
    EXPECT_EQ(g.Left(), 1500);
    EXPECT_EQ(g.Top(), 1200);
    EXPECT_EQ(g.Width(), 6000);
    EXPECT_EQ(g.Height(), 4500);

    // A window partly off the left edge stays as stored; a value beyond 16
    // bits ends the restore: the keys after it keep their values.
    dir.write("Fetchlets.ini", "[WindowStateTest]\r\nLeft=-45\r\nTop=40000\r\nHeight=3000\r\n"
                               "Width=5000\r\n");
    EXPECT_FALSE(forms::RestoreGeometry(g, ini, "WindowStateTest"));
    EXPECT_EQ(g.Left(), -45);
    EXPECT_EQ(g.Top(), 1200);
    EXPECT_EQ(g.Height(), 4500);

    // Text that is not a number is skipped, the keys after it still apply.
    dir.write("Fetchlets.ini", "[WindowStateTest]\r\nLeft=abc\r\nHeight=3000.5\r\n");
    EXPECT_TRUE(forms::RestoreGeometry(g, ini, "WindowStateTest"));
    EXPECT_EQ(g.Left(), -45);
    EXPECT_EQ(g.Height(), 3000); // halves to even
}

TEST(Geometry, AWindowStoredOnARemovedMonitorComesBackOnScreen) {
    testsupport::TempFolder dir;
    std::string ini = dir.path() + "Fetchlets.ini";
    dir.write("Fetchlets.ini", "[WindowStateTest]\r\nLeft=30000\r\nTop=30000\r\n");
    Plain f;
    f.Load();
    forms::RestoreGeometry(f, ini, "WindowStateTest");
    RECT r;
    GetWindowRect(f.window(), &r);
    EXPECT_NE(MonitorFromRect(&r, MONITOR_DEFAULTTONULL), nullptr);
    f.Unload();
}
