// Browsing, searching and sorting in the real main window, driven through
// its message loop with real keys and clicks.
#include "app/frmMain.h"
#include "app/search_sort.h"
#include "tests/support/fakes.h"
#include "tests/support/input.h"

#include <gtest/gtest.h>

using namespace testsupport;
using Items = std::vector<std::string>;

namespace {

class Browse : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write(
            "Data\\FLApps.def",
            "[Tools]\r\nSetup=http://x.org/Setup.exe\r\nTool (32-bit)=http://x.org/t.exe\r\n"
            "alpha=http://a.org/a\r\nNoLink=\r\nAlphabet=http://a.org/b\r\n"
            "[b]\r\n[B]\r\n[a]\r\n");
        folder.write("Data\\FLPortable.def", "[P]\r\nOne=http://p.org/setup.exe\r\n");
        folder.write("Data\\FLSlim.def", "[S]\r\nS=http://s.org/\r\n");
        folder.write("Data\\FLSpecial.def",
                     "[Special - Windows Starter Kit]\r\nK=http://k.org/\r\n");
        folder.write("Data\\FLPages.def", "[Help]\r\nPage=http://page.org/\r\n");
        fakes.environment.applicationFolder = folder.path();
        form.Load();
        form.lstBlacklist.AddItem("setup");
    }
    void TearDown() override {
        if (form.isLoaded())
            form.Unload();
    }
    std::string link() { return form.StatusBar1.PanelText(0); }
    // A click in the middle of the Apps search box, which then empties.
    bool clickAppsSearch() {
        RECT box = rectIn(form.txtAppsSearch.hwnd(), form.txtAppsSearch.hwnd());
        clickAt(form.txtAppsSearch.hwnd(), box.right / 2, box.bottom / 2);
        return pumpUntil([&] { return form.txtAppsSearch.Text().empty(); });
    }
    void choose(forms::ListBox& list, const std::string& item) {
        for (int i = 0; i < list.ListCount(); ++i)
            if (list.List(i) == item)
                return list.setListIndex(i);
        FAIL() << item;
    }

    TempFolder folder;
    FakeServices fakes;
    app::frmMain form{fakes.services};
};

} // namespace

TEST_F(Browse, AChosenEntryFillsTheLinkFieldAndTheBlacklistWithholdsItsDirectDownload) {
    // Portable: "setup" occurs in the link: only the direct download is withheld.
    form.lstCatPortable.setListIndex(0);
    choose(form.lstPortable, "One");
    EXPECT_EQ(link(), "http://p.org/setup.exe");
    EXPECT_FALSE(form.cmdDownloadPortable.Enabled());
    EXPECT_FALSE(form.mnPortable[app::EntryCommand::Download].Enabled);
    EXPECT_TRUE(form.cmdDownloadPortableFromPage.Enabled());
    EXPECT_TRUE(form.mnPortable[app::EntryCommand::FromPage].Enabled);
    // The other kinds' commands keep their state.
    EXPECT_FALSE(form.cmdDownloadFromPage.Enabled());
    EXPECT_FALSE(form.cmdDownloadSlimFromPage.Enabled());

    // The rule is case-sensitive: "setup" does not block "Setup".
    form.lstCat.setListIndex(0);
    choose(form.lstApps, "Setup");
    EXPECT_EQ(link(), "http://x.org/Setup.exe");
    EXPECT_TRUE(form.cmdDownload.Enabled());
    EXPECT_TRUE(form.mnMain[app::EntryCommand::Download].Enabled);
    // An entry without a link changes nothing.
    choose(form.lstApps, "NoLink");
    EXPECT_EQ(link(), "http://x.org/Setup.exe");
    EXPECT_TRUE(form.cmdDownload.Enabled());
    // An empty blacklist line blocks every direct download.
    form.lstBlacklist.AddItem("");
    choose(form.lstApps, "alpha");
    EXPECT_FALSE(form.cmdDownload.Enabled());
    EXPECT_TRUE(form.cmdDownloadFromPage.Enabled());

    // Pages: Visit Page follows the choice, without the blacklist.
    form.lstCatPages.setListIndex(0);
    choose(form.lstPages, "Page");
    EXPECT_TRUE(form.cmdVisitPage.Enabled());
    EXPECT_EQ(link(), "http://page.org/");
}

TEST_F(Browse, SubCatalogsTurnToSpecialAndAMissingCategoryStillShowsItsBannerAndTitle) {
    form.browsing().showSubCatalog(app::SubCatalog::Recommendations);
    EXPECT_EQ(form.SSTab1.Tab(), 6);
    EXPECT_EQ(form.SSTab2.Tab(), 0);
    EXPECT_TRUE(form.ImgRecommendations.Visible());
    EXPECT_FALSE(form.ImgStarterKit.Visible());
    EXPECT_EQ(form.txtSpecialSearch.Text(), "Recommendations");
    EXPECT_EQ(form.lstCatSpecial.ListIndex(), -1);
    EXPECT_EQ(form.lstSpecial.ListCount(), 0);

    form.browsing().showSubCatalog(app::SubCatalog::StarterKit);
    EXPECT_EQ(form.lstCatSpecial.ListIndex(), 0);
    EXPECT_EQ(form.lstSpecial.items(), (Items{"K"}));
    EXPECT_TRUE(form.ImgStarterKit.Visible());
    EXPECT_EQ(form.txtSpecialSearch.Text(), "Windows Starter Kit");
}

TEST_F(Browse, UsersSearchWithKeysPointAtButtonsAndSortFromTheMenu) {
    form.Show();
    SetForegroundWindow(form.hwnd());
    form.SSTab1.setTab(1);
    form.lstCat.setListIndex(0);
    pumpMessages(100);

    // Click on the box: it empties and the search starts at the top. The
    // first key searches for the empty text before it: the first entry.
    ASSERT_TRUE(clickAppsSearch());
    type("a");
    EXPECT_EQ(form.lstApps.ListIndex(), 0);
    EXPECT_EQ(link(), "http://x.org/Setup.exe");
    // "a" then looks past the first hit: "alpha", then "Alphabet", the last
    // entry, after which the search starts over.
    type("l");
    EXPECT_EQ(form.lstApps.Text(), "alpha");
    type("p");
    EXPECT_EQ(form.lstApps.Text(), "Alphabet");
    EXPECT_EQ(form.txtAppsSearch.Tag, "-1");
    EXPECT_EQ(form.txtAppsSearch.SelStart(), 3); // caret at the end after the key
    EXPECT_EQ(form.txtAppsSearch.Text(), "alp");

    // The pointer entering a download button copies the entry's name, which
    // the timer then cuts at its "(".
    choose(form.lstApps, "Tool (32-bit)");
    RECT b = rectIn(form.cmdDownloadFromPage.hwnd(), form.cmdDownloadFromPage.hwnd());
    mouseTo(form.cmdDownloadFromPage.hwnd(), b.right / 2, b.bottom / 2);
    EXPECT_TRUE(pumpUntil([&] { return form.txtAppsSearch.Text() == "Tool "; }));

    // Right button on the category list: its menu's one item sorts it, with
    // no category left selected.
    forms::PopupMenu::setChooser(
        [](forms::PopupMenu& m) { return m.name() == "mnSortCat" ? 0 : -1; });
    RECT l = rectIn(form.lstCat.hwnd(), form.lstCat.hwnd());
    clickAt(form.lstCat.hwnd(), l.right / 2, l.bottom - 4, 1, true);
    forms::PopupMenu::setChooser(nullptr);
    EXPECT_EQ(form.lstCat.items(), (Items{"B", "Tools", "a", "b"}));
    EXPECT_EQ(form.lstCat.ListIndex(), -1);
    EXPECT_EQ(form.lstApps.ListCount(), 5); // the entry list keeps its state
    EXPECT_EQ(link(), "http://x.org/t.exe");
}

namespace {

TEST_F(Browse, ASearchHitOnTheSelectedEntryChoosesItAgain) {
    form.Show();
    SetForegroundWindow(form.hwnd());
    form.SSTab1.setTab(1);
    form.lstCat.setListIndex(0);
    form.lstApps.setListIndex(0);
    ASSERT_EQ(link(), "http://x.org/Setup.exe");
    // A hint replaces the link; the search then hits the entry already
    // selected: its link comes back and the commands follow the blacklist.
    form.StatusBar1.setPanelText(0, "Visit the Homepage of Fetchlets");
    form.cmdDownload.setEnabled(false);
    ASSERT_TRUE(clickAppsSearch());
    type("s");
    EXPECT_EQ(form.lstApps.ListIndex(), 0);
    EXPECT_EQ(link(), "http://x.org/Setup.exe");
    EXPECT_TRUE(form.cmdDownload.Enabled()); // "Setup" is not "setup"
}

} // namespace
