// Installed applications under Wine: the uninstall lists of the test prefix's
// own registry, the snapshot file, the check window and the installed mark.
#include "app/frmCheckAppInstalled.h"
#include "app/installed.h"
#include "catalog/profile.h"
#include "tests/support/fakes.h"
#include "tests/support/lists.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char* const kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// A window holding the controls the installed list works with.
class Host : public forms::Form {
  public:
    Host() : Form("frmInstalledHost", "Installed host") {}
    forms::PageStack SSTab1{*this, "SSTab1", {"0", "1", "2", "3", "4", "5", "6", "7"}};
    forms::PageStack SSTab2{*this, "SSTab2", {"Special", "Pages", "Installed Apps"}};
    forms::ListBox lstSoftware{*this, "lstSoftware", {.sorted = true}};
    forms::ListBox lstApps{*this, "lstApps"};
    app::InstalledView view() { return {*this, lstSoftware, SSTab1, SSTab2}; }
};

// Keys written below an uninstall list for one test and removed with it.
class TestKeys {
  public:
    ~TestKeys() {
        for (auto& [root, view, name] : made_) {
            HKEY list = nullptr;
            if (RegOpenKeyExA(root, kUninstall, 0, KEY_ALL_ACCESS | view, &list) == ERROR_SUCCESS) {
                RegDeleteTreeA(list, name.c_str());
                RegDeleteKeyExA(list, name.c_str(), view, 0);
                RegCloseKey(list);
            }
        }
    }
    // A product key; a display name unless `displayName` is null.
    void add(HKEY root, REGSAM view, const std::string& key, const char* displayName) {
        HKEY k = nullptr;
        ASSERT_EQ(RegCreateKeyExA(root, (std::string(kUninstall) + "\\" + key).c_str(), 0, nullptr,
                                  0, KEY_ALL_ACCESS | view, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        if (displayName)
            RegSetValueExA(k, "DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(displayName),
                           static_cast<DWORD>(strlen(displayName) + 1));
        else
            RegSetValueExA(k, "Publisher", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
        RegCloseKey(k);
        made_.push_back({root, view, key});
    }

  private:
    std::vector<std::tuple<HKEY, REGSAM, std::string>> made_;
};

using testsupport::items;

std::vector<std::string> withTag(const std::vector<std::string>& all, const std::string& tag) {
    std::vector<std::string> v;
    for (const auto& s : all)
        if (s.find(tag) != std::string::npos)
            v.push_back(s);
    return v;
}

} // namespace

TEST(InstalledApps, ReadsBothMachineViewsAndTheUserListIntoOneSortedList) {
    const std::string tag = "FLT" + std::to_string(GetCurrentProcessId());
    TestKeys keys;
    const REGSAM v64 = KEY_WOW64_64KEY, v32 = KEY_WOW64_32KEY;
    keys.add(HKEY_LOCAL_MACHINE, v64, tag + "-a", ("zeta " + tag).c_str());
    keys.add(HKEY_LOCAL_MACHINE, v64, tag + "-b", nullptr); // no display name
    keys.add(HKEY_LOCAL_MACHINE, v64, tag + "-c", ("Alpha " + tag).c_str());
    keys.add(HKEY_LOCAL_MACHINE, v32, tag + "-d", ("Alpha " + tag).c_str()); // same: once
    keys.add(HKEY_LOCAL_MACHINE, v32, tag + "-e", ("ALPHA " + tag).c_str()); // case differs
    keys.add(HKEY_LOCAL_MACHINE, v32, tag + "-f", ("Mid32 " + tag).c_str());
    keys.add(HKEY_CURRENT_USER, 0, tag + "-g", ("beta user " + tag).c_str());
    keys.add(HKEY_CURRENT_USER, 0, tag + "-h", ("zeta " + tag).c_str()); // same as 64-bit one
    const std::string long254 = tag + std::string(254 - tag.size(), 'L');
    const std::string long255 = tag + std::string(255 - tag.size(), 'M');
    keys.add(HKEY_LOCAL_MACHINE, v64, tag + "-i", long254.c_str());
    keys.add(HKEY_LOCAL_MACHINE, v64, tag + "-j", long255.c_str()); // beyond the buffer
    std::string first200 = tag + std::string(200 - tag.size(), 'S');
    keys.add(HKEY_LOCAL_MACHINE, v64, tag + "-k", (first200 + " one").c_str());
    keys.add(HKEY_CURRENT_USER, 0, tag + "-l", (first200 + " two").c_str());

    Host host;
    host.Load();
    platform::Services services = platform::systemServices();
    app::InstalledApps installed(services, host.view());
    installed.getAllKeys();
    std::vector<std::string> got = withTag(items(host.lstSoftware), tag);
    std::vector<std::string> want = {"Alpha " + tag, "ALPHA " + tag,    "beta user " + tag, long254,
                                     "Mid32 " + tag, first200 + " one", "zeta " + tag};
    // The list sorts ignoring case; which of two names equal but for case
    // comes first is the list's own affair.
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), ::tolower);
        return s;
    };
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 1; i < got.size(); ++i)
        EXPECT_LE(lower(got[i - 1]), lower(got[i])) << got[i];
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);

    // The root of the last list stays open for start-up to close.
    ASSERT_NE(installed.key(), nullptr);
    installed.closeRegKey(installed.key());
    EXPECT_EQ(installed.key(), nullptr);

    EXPECT_TRUE(installed.isInstalled("zeta " + tag));
    EXPECT_FALSE(installed.isInstalled("no such " + tag));
}

TEST(InstalledApps, EveryKeyIsClosedAndAMissingListIsSkipped) {
    testsupport::FakeServices fake;
    fake.registry.setValue(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, std::string(kUninstall) + "\\p1",
                           "DisplayName", "Tool");
    fake.registry.addKey(HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, std::string(kUninstall) + "\\p2");
    // No 64-bit list and no user list at all.
    Host host;
    host.Load();
    app::InstalledApps installed(fake.services, host.view());
    installed.getAllKeys();
    EXPECT_EQ(items(host.lstSoftware), std::vector<std::string>{"Tool"});
    installed.closeRegKey(installed.key());
    EXPECT_EQ(fake.registry.openHandles(), 0u);
    EXPECT_EQ(fake.registry.opened, fake.registry.closed);
}

TEST(InstalledApps, SnapshotIsWrittenBeforeItsMessageAndReplacedBySecondExport) {
    testsupport::TempFolder dir;
    testsupport::FakeServices fake;
    fake.environment.applicationFolder = dir.path();
    fake.clock.now = SYSTEMTIME{2024, 3, 2, 5, 9, 0, 0, 0};
    char month[32] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &fake.clock.now, "MMM", month, sizeof month);
    const std::string file = "Installed Apps 05-" + std::string(month) + "-2024.txt";

    Host host;
    host.Load();
    host.lstSoftware.AddItem("Beta");
    host.lstSoftware.AddItem("alpha");
    app::InstalledApps installed(fake.services, host.view());
    EXPECT_EQ(installed.snapshotPath(), dir.path() + file);

    std::string atMessage;
    fake.messageBoxes.onShow = [&](const testsupport::MessageBoxCall&) {
        atMessage = dir.read(file);
    };
    installed.makeSnapshot();
    EXPECT_EQ(host.SSTab1.Tab(), 6);
    EXPECT_EQ(host.SSTab2.Tab(), 2);
    ASSERT_EQ(fake.messageBoxes.calls.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.calls[0].text,
              "List of Installed Apps Exported to " + dir.path() + file);
    EXPECT_EQ(atMessage, "alpha\r\nBeta\r\n"); // complete while the message shows

    host.lstSoftware.RemoveItem(0);
    installed.makeSnapshot();
    EXPECT_EQ(dir.read(file), "Beta\r\n");
    // No temporary file is left beside it.
    EXPECT_EQ(platform::findFiles(dir.path(), "*").size(), 1u);
}

TEST(InstalledApps, UnwritableFolderGivesAnErrorAndNoSuccessMessage) {
    testsupport::TempFolder dir;
    testsupport::FakeServices fake;
    fake.environment.applicationFolder = dir.path() + "gone\\";
    Host host;
    host.Load();
    host.lstSoftware.AddItem("Tool");
    app::InstalledApps installed(fake.services, host.view());
    installed.makeSnapshot();
    ASSERT_EQ(fake.messageBoxes.calls.size(), 1u);
    EXPECT_EQ(fake.messageBoxes.calls[0].text.find("List of Installed Apps Exported"),
              std::string::npos);
    EXPECT_NE(fake.messageBoxes.calls[0].text.find("could not be written"), std::string::npos);
    EXPECT_TRUE(fake.messageBoxes.calls[0].flags & MB_ICONERROR);
}

TEST(CheckAppInstalled, SearchesTheMainListAndKeepsItsGeometry) {
    testsupport::TempFolder dir;
    const std::string ini = dir.path() + "Fetchlets.ini";
    Host host;
    host.Load();
    for (const char* n :
         {"7-Zip 23.01 (x64)", "p7zip GUI", "Search ... helper", "Notepad++", "Mozilla Firefox"})
        host.lstSoftware.AddItem(n);
    host.lstApps.AddItem("7-Zip");
    host.lstApps.AddItem("Qt");

    int left = 0, top = 0;
    {
        app::frmCheckAppInstalled check({host.lstSoftware, ini});
        check.Load();
        // The first search runs with the initial text.
        EXPECT_EQ(items(check.lstSearch), std::vector<std::string>{"Search ... helper"});

        check.txtSearch.setText("*");
        EXPECT_EQ(check.lstSearch.ListCount(), 5);
        check.txtSearch.setText("");
        EXPECT_EQ(check.lstSearch.ListCount(), 0);
        EXPECT_TRUE(
            testsupport::pumpUntil([&] { return check.lblCountApps.Caption() == "0"; }, 2000));

        host.lstApps.setListIndex(0);
        check.checkEntry(host, host.lstApps);
        EXPECT_TRUE(check.Visible());
        EXPECT_EQ(GetWindow(check.hwnd(), GW_OWNER), host.hwnd());
        EXPECT_EQ(check.txtSearch.Text(), "*7-Z");
        EXPECT_EQ(items(check.lstSearch), std::vector<std::string>{"7-Zip 23.01 (x64)"});
        EXPECT_EQ(check.Caption(), "Fetchlets - Check whether 7-Zip Installed");
        EXPECT_TRUE(
            testsupport::pumpUntil([&] { return check.lblCountApps.Caption() == "1"; }, 2000));

        // A double click in the search box lists everything.
        RECT r;
        GetClientRect(check.txtSearch.hwnd(), &r);
        LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
        SendMessageA(check.txtSearch.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(check.txtSearch.hwnd(), WM_LBUTTONUP, 0, at);
        EXPECT_EQ(check.txtSearch.Text(), "*");
        EXPECT_EQ(check.lstSearch.ListCount(), 5);

        // No entry chosen: "*" and the plain caption.
        host.lstApps.setListIndex(-1);
        check.checkEntry(host, host.lstApps);
        EXPECT_EQ(check.txtSearch.Text(), "*");
        EXPECT_EQ(check.Caption(), "Fetchlets - Check whether App Installed");

        check.Move(1200, 900, 7200, 5610);
        EXPECT_EQ(check.lstSearch.Width(), 7200 - 600);
        EXPECT_EQ(check.lstSearch.Height(), 5610 - 1900);
        EXPECT_EQ(check.txtSearch.Width(), 7200 - 1700);
        left = check.Left();
        top = check.Top();
        check.Unload();
    }
    EXPECT_EQ(profile::readString(ini, "WindowStateCheckAppInstalled", "Width", "", 60).text,
              "7200");
    app::frmCheckAppInstalled again({host.lstSoftware, ini});
    again.Load();
    EXPECT_EQ(again.Left(), left);
    EXPECT_EQ(again.Top(), top);
    EXPECT_EQ(again.Width(), 7200);
    EXPECT_EQ(again.Height(), 5610);
    again.Unload();
    host.Unload();
}

TEST(CheckAppInstalled, AnEmptyEntryListLeavesTheCaption) {
    testsupport::TempFolder dir;
    Host host;
    host.Load();
    host.lstSoftware.AddItem("Tool");
    app::frmCheckAppInstalled check({host.lstSoftware, dir.path() + "Fetchlets.ini"});
    check.setCaption("Earlier caption");
    check.checkEntry(host, host.lstApps);
    EXPECT_EQ(check.Caption(), "Earlier caption");
    EXPECT_EQ(check.lstSearch.ListCount(), 1);
    check.Unload();
}

namespace {

// A catalog list drawn with the installed mark.
class MarkHost : public forms::Form {
  public:
    explicit MarkHost(const app::InstalledApps& installed) : Form("frmMarkHost", "Mark") {
        lstApps.ItemNote = [&installed](const std::string& item) {
            return installed.isInstalled(item) ? std::string("installed") : std::string();
        };
        lstApps.Move(0, 0, 4800, 2400);
    }
    forms::ListBox lstApps{*this, "lstApps"};
};

// Count of grey pixels (the mark's colour family) in each item's row, right
// of the text's start.
std::vector<int> greyPerRow(HWND list, int rows) {
    RECT rc;
    GetClientRect(list, &rc);
    int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    HDC screen = GetDC(list);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(dc, bmp);
    FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
    SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    std::vector<int> count(rows, 0);
    for (int row = 0; row < rows; ++row)
        for (int y = row * itemHeight; y < (row + 1) * itemHeight && y < rc.bottom; ++y)
            for (int x = 0; x < rc.right; ++x)
                if (GetPixel(dc, x, y) == grey)
                    ++count[row];
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(list, screen);
    return count;
}

} // namespace

TEST(InstalledMark, CatalogEntriesThatAreInstalledShowTheMarkBesideUnchangedText) {
    testsupport::FakeServices fake;
    const std::string base = std::string(kUninstall) + "\\";
    fake.registry.setValue(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, base + "7zip", "DisplayName",
                           "7-Zip 23.01 (x64)");
    fake.registry.setValue(HKEY_CURRENT_USER, 0, base + "np", "DisplayName", "NOTEPAD++");
    Host host;
    host.Load();
    app::InstalledApps installed(fake.services, host.view());
    installed.getAllKeys();

    MarkHost mark(installed);
    mark.Load();
    for (const char* n : {"7-Zip", "Opera", "Notepad++", "Zip"})
        mark.lstApps.AddItem(n);
    testsupport::pumpMessages(50);
    EXPECT_EQ(mark.lstApps.List(0), "7-Zip"); // the text is the entry's own
    std::vector<int> grey = greyPerRow(mark.lstApps.hwnd(), 4);
    EXPECT_GT(grey[0], 10);
    EXPECT_EQ(grey[1], 0);
    EXPECT_GT(grey[2], 10);
    EXPECT_EQ(grey[3], 0);
    mark.Unload();
    host.Unload();
}
