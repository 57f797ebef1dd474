// Addresses that leave the program, through the real main window and link
// manager: a stand-in handler registered for http, https and mailto records
// how the system split its command line, so each address must arrive as one
// argument, encoded; refused links say why.
#include "app/frmMain.h"
#include "tests/support/fakes.h"
#include "tests/support/lists.h"
#include "tests/support/windows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

using app::frmMain;
using testsupport::pumpUntil;

namespace {

const char* const kSchemes[] = {"http", "https", "mailto"};

std::string besideTests(const std::string& name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + name;
}

// The default value of HKCR\<scheme>\shell\open\command.
std::string handlerOf(const std::string& scheme) {
    char value[1024] = {};
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, (scheme + "\\shell\\open\\command").c_str(), value,
                       &size) != ERROR_SUCCESS)
        return {};
    return value;
}

void setHandler(const std::string& scheme, const std::string& command) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, (scheme + "\\shell\\open\\command").c_str(), &key),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
    RegCloseKey(key);
}

class LeavingLinks : public ::testing::Test {
  protected:
    void SetUp() override {
        // An entry whose link and name hold a quote, blanks and a letter
        // beyond ASCII; a page whose link ends in a quoted option.
        const std::string apps = "[C]\r\nCaf\xe9 \"Pro\"=" + kLink + "\r\n";
        for (const char* f : {"FLApps", "FLPortable", "FLSlim", "FLSpecial"})
            folder.write(std::string("Data\\") + f + ".def", apps);
        folder.write("Data\\FLPages.def", "[P]\r\nPage=" + kPage + "\r\n");
        fakes.environment.applicationFolder = folder.path();
        fakes.shell.target = &platform::systemServices().shell;
        log = folder.path() + "handler.log";
        SetEnvironmentVariableA("FL_HANDLER_LOG", log.c_str());
        std::string command(1, '"');
        command += besideTests("LinkLogger.exe");
        command += "\" \"%1\"";
        for (const char* s : kSchemes) {
            saved.push_back(handlerOf(s));
            setHandler(s, command);
        }
        form.Load();
        form.Show();
    }
    void TearDown() override {
        forms::PopupMenu::setChooser(nullptr);
        testsupport::unloadLoaded({&form.ddlManager(), &form});
        for (size_t i = 0; i < saved.size(); ++i)
            if (!saved[i].empty())
                setHandler(kSchemes[i], saved[i]);
        SetEnvironmentVariableA("FL_HANDLER_LOG", nullptr);
    }

    // A right click on the list that chooses the named item of its menu.
    static void choose(forms::ListBox& list, const std::string& item) {
        testsupport::chooseItem(item);
        SendMessageA(list.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        SendMessageA(list.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        forms::PopupMenu::setChooser(nullptr);
    }

    // The handler's records: the arguments of each start.
    std::vector<std::vector<std::string>> records() const {
        std::ifstream in(log, std::ios::binary);
        std::vector<std::vector<std::string>> all;
        std::string line;
        size_t left = 0;
        while (std::getline(in, line)) {
            if (left == 0 && line.rfind("ARGS ", 0) == 0) {
                left = std::stoul(line.substr(5));
                all.emplace_back();
            } else if (left > 0) {
                all.back().push_back(line);
                --left;
            }
        }
        return all;
    }

    const std::string kLink = "http://127.0.0.1:8765/caf\xe9/a\" --injected-flag \"b";
    const std::string kPage = "http://127.0.0.1:8765/#\" -x";
    testsupport::TempFolder folder;
    testsupport::FakeServices fakes;
    frmMain form{fakes.services};
    std::string log;
    std::vector<std::string> saved;
};

TEST_F(LeavingLinks, EveryDoorHandsOnOneEncodedArgument) {
    const std::string encoded = "http://127.0.0.1:8765/caf%C3%A9/a%22%20--injected-flag%20%22b";
    form.lstCat.setListIndex(0);
    form.lstApps.setListIndex(0);
    ASSERT_EQ(form.StatusBar1.PanelText(0), kLink);
    int opened = 0;
    for (const char* item : {"mnuDownloadFromPage", "mnuVisitDeveloperPage", "mnuAlternateDownload",
                             "mnuSupportLinks", "mnuAppScreenshots", "mnuSendDownloadLink",
                             "mnuReportProblem", "mnuBlockDirectDownload"}) {
        choose(form.lstApps, item);
        ++opened;
    }
    // The Downloads window is a door too.
    choose(form.lstApps, "mnuDownload");
    ASSERT_EQ(fakes.downloads.calls.size(), 1u);
    EXPECT_EQ(fakes.downloads.calls[0].urls, std::vector<std::string>{encoded});

    form.lstCatPages.setListIndex(0);
    form.lstPages.setListIndex(0);
    ASSERT_EQ(form.StatusBar1.PanelText(0), kPage);
    for (const char* item :
         {"mnuVisitPage", "mnuSendPageLinkSlim", "mnuSharePageTwitter", "mnuSharePageFacebook"}) {
        choose(form.lstPages, item);
        ++opened;
    }

    // The link manager's doors, the queued link kept as it was added.
    form.lstApps.setListIndex(-1);
    form.lstApps.setListIndex(0);
    choose(form.lstApps, "mnuDDLManager");
    links::frmDDLManager& m = form.ddlManager();
    ASSERT_EQ(m.links(), std::vector<std::string>{kLink});
    // The user's click on the link.
    RECT r{};
    SendMessageA(m.lstDDLManager.hwnd(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM(r.left + 5, (r.top + r.bottom) / 2);
    SendMessageA(m.lstDDLManager.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(m.lstDDLManager.hwnd(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(m.selection(), std::vector<bool>{true});
    choose(m.lstDDLManager, "mnuDownloadFromPage");
    ++opened;
    choose(m.lstDDLManager, "mnuMultipleDownload");
    for (const auto& b : fakes.messageBoxes.calls)
        ADD_FAILURE() << b.text;
    ASSERT_EQ(fakes.downloads.calls.size(), 2u);
    EXPECT_EQ(fakes.downloads.calls[1].urls, std::vector<std::string>{encoded});

    ASSERT_TRUE(pumpUntil([&] { return records().size() == static_cast<size_t>(opened); }, 30000))
        << records().size() << " of " << opened;
    std::string all;
    for (const auto& r : records()) {
        ASSERT_EQ(r.size(), 1u) << (r.empty() ? std::string() : r[0]);
        const std::string& a = r[0];
        all += a + "\n";
        EXPECT_EQ(a.find_first_of("\" \t\r<>\\^`{|}"), std::string::npos) << a;
        for (unsigned char c : a)
            EXPECT_LT(c, 0x80) << a;
    }
    // The link whole, its quotes and blanks encoded; the name's letter as
    // UTF-8; the page's quote after its fragment.
    EXPECT_NE(all.find(encoded + "\n"), std::string::npos) << all;
    EXPECT_NE(all.find("q=Caf%C3%A9%20%22Pro%22%20Download\n"), std::string::npos) << all;
    EXPECT_NE(all.find("http://127.0.0.1:8765/#%22%20-x\n"), std::string::npos) << all;
    EXPECT_NE(all.find("Bad%20Download%20Link&Body=Fetchlets%20ID:%20" + encoded +
                       "%20does%20not%20work.\n"),
              std::string::npos)
        << all;
    if (getenv("FL_DUMP_DOORS"))
        std::printf("%s", all.c_str());
}

TEST_F(LeavingLinks, RefusalsSayTheRulesReason) {
    form.lstCatPages.setListIndex(0);
    form.lstPages.setListIndex(0);
    form.lstCat.setListIndex(0);
    form.lstApps.setListIndex(0);
    // A hint replaced the link: the user is asked to choose again.
    form.StatusBar1.setPanelText(0, "Visit the Homepage of Fetchlets");
    SendMessageA(form.cmdDownload.hwnd(), BM_CLICK, 0, 0);
    SendMessageA(form.cmdVisitPage.hwnd(), BM_CLICK, 0, 0);
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 2u);
    EXPECT_NE(fakes.messageBoxes.calls[0].text.find("Please choose the entry again."),
              std::string::npos);
    EXPECT_NE(fakes.messageBoxes.calls[1].text.find("Please choose the page again."),
              std::string::npos);

    struct Case {
        std::string link, says;
    } cases[] = {
        {"file:///C:/windows/system32/calc.exe", "points to a file on this computer"},
        {"\\\\server\\share\\x.exe", "points to a shared folder on the network"},
        {"javascript:alert(1)", "uses \"javascript:\""},
        {"C:\\setup.exe", "points to a file on this computer"},
    };
    for (const Case& c : cases) {
        form.StatusBar1.setPanelText(0, c.link);
        const size_t before = fakes.messageBoxes.calls.size();
        SendMessageA(form.cmdDownload.hwnd(), BM_CLICK, 0, 0);
        SendMessageA(form.cmdDownloadFromPage.hwnd(), BM_CLICK, 0, 0);
        choose(form.lstApps, "mnuVisitDeveloperPage");
        SendMessageA(form.cmdVisitPage.hwnd(), BM_CLICK, 0, 0);
        ASSERT_EQ(fakes.messageBoxes.calls.size(), before + 4) << c.link;
        for (size_t i = before; i < before + 4; ++i) {
            const std::string& text = fakes.messageBoxes.calls[i].text;
            EXPECT_NE(text.find(c.says), std::string::npos) << text;
            EXPECT_NE(text.find(c.link), std::string::npos) << text;
            EXPECT_EQ(text.find("choose the"), std::string::npos) << text;
        }
    }
    EXPECT_TRUE(fakes.downloads.calls.empty());
    EXPECT_TRUE(records().empty());
}

} // namespace
