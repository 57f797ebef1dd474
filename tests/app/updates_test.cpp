// The main window with its update window, against the test server: the
// catalog version read at start-up, the one automatic check, the restart that
// reads the new catalog.
#include "app/frmMain.h"
#include "platform/fetch_wininet.h"
#include "tests/support/fakes.h"
#include "tests/support/http_server.h"

#include <gtest/gtest.h>

using testsupport::HttpServer;

namespace {

class MainUpdates : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write("Data\\FLApps.def", "[Old]\r\nOld=http://old/\r\n");
        folder.write("Data\\FLVersion.ini", "[Signature]\r\nVersion=2026.01.01\r\n");
        fakes.environment.applicationFolder = folder.path();
        fakes.services.fetcher = &fetcher;
        server.serveFolder("/fetchlets_latest/",
                           testsupport::sourceFolder("server/fetchlets_latest/"));
    }
    void TearDown() override {
        if (form.isLoaded())
            form.Unload();
    }

    testsupport::TempFolder folder;
    testsupport::FakeServices fakes;
    platform::WinInetFetcher fetcher{{.connect = 2000, .receive = 1000, .total = 2000}};
    HttpServer server;
    app::frmMain form{fakes.services, server.url("")};
};

} // namespace

TEST_F(MainUpdates, StartUpReadsTheCatalogVersionAndAnUntickedCheckFetchesNothing) {
    form.Load();
    update::frmUpdate& updater = form.updateWindow();
    EXPECT_FALSE(updater.isLoaded()); // the version is read from the manifest
    EXPECT_EQ(form.StatusText(), "Fetchlets Version: 0.4.4 RC5, Signature Version: 2026.01.01");
    EXPECT_EQ(form.StatusBar1.PanelText(1), form.StatusText());
    EXPECT_EQ(form.txtSignatureServer.Text(), server.url("/fetchlets_latest/"));
    EXPECT_TRUE(form.Timer2.Enabled());
    EXPECT_EQ(form.Timer2.Interval(), 5000u);

    form.Timer2.fire();
    EXPECT_FALSE(form.Timer2.Enabled());
    EXPECT_FALSE(updater.Visible());
    EXPECT_TRUE(server.requests().empty());

    // Ticked after the version was read: the window made at its first
    // opening shows that version and does not check, as if it had been
    // loaded at start; opened again after closing, it checks at once.
    form.chkAutoUpdate.setValue(1);
    form.mnuUpdate.Click();
    ASSERT_TRUE(updater.Visible());
    EXPECT_EQ(updater.lblSignatureVersion.Caption(), "2026.01.01");
    EXPECT_TRUE(server.requests().empty());
    updater.Unload();
    form.mnuUpdate.Click();
    EXPECT_GE(server.requestCount("/fetchlets_latest/FLVersion.ini"), 1);
}

TEST_F(MainUpdates, ATickedCheckUpdatesAndTheRestartReadsTheNewCatalog) {
    form.Load();
    form.lstSignatures.AddItem("FLApps.def");
    form.chkAutoUpdate.setValue(1);
    form.Timer2.fire();
    EXPECT_FALSE(form.Timer2.Enabled()); // one check per start
    update::frmUpdate& updater = form.updateWindow();
    EXPECT_TRUE(updater.Visible());
    EXPECT_EQ(GetWindow(updater.hwnd(), GW_OWNER), form.hwnd());
    EXPECT_TRUE(updater.cmdRestart.Visible());
    EXPECT_EQ(server.requestCount("/fetchlets_latest/FLApps.def"), 1);
    EXPECT_NE(updater.txtUpdate.Text().find("You are using the latest Version of Fetchlets."),
              std::string::npos);
    EXPECT_EQ(form.lstCat.List(0), "Old");

    updater.cmdRestart_Click();
    ASSERT_TRUE(testsupport::pumpUntil(
        [&] { return form.isLoaded() && form.lstCat.ListCount() > 1 && updater.Visible(); }, 5000));
    EXPECT_EQ(form.lstCat.List(0), "Browsers"); // the published catalog's first category
    EXPECT_EQ(updater.lblSignatureVersion.Caption(), "2026.12.08");
    EXPECT_EQ(form.StatusText(), "Fetchlets Version: 0.4.4 RC5, Signature Version: 2026.12.08");
    EXPECT_EQ(form.StatusBar1.PanelCount(), 1);
    EXPECT_EQ(form.StatusBar1.PanelText(1), form.StatusText());
    EXPECT_FALSE(updater.cmdRestart.Visible());
    EXPECT_TRUE(form.Timer2.Enabled());
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}
