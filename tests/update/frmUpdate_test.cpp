// frmUpdate through its real window against a real HTTP server on 127.0.0.1
// that serves the published catalog folder and misbehaves on request. A small
// host window stands in for the main window: it holds the three option
// controls, lists the Apps catalog's categories, reads the catalog version at
// start-up and unloads the update window when it goes.
#include "update/frmUpdate.h"

#include "catalog/profile.h"
#include "tests/support/fakes.h"
#include "tests/support/http_server.h"
#include "platform/fetch_wininet.h"
#include "platform/sha256.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using testsupport::HttpServer;
using testsupport::TempFolder;
using update::frmUpdate;

namespace {

constexpr platform::FetchLimits kQuick{.connect = 2000, .receive = 1000, .total = 2000};
const char* const kError = "Error during Signature Update. Pleas try again later.";

// The published folder of this source tree, as a Windows path.
// The bytes of a file given by its full path ("" when it cannot be read).
std::string readWhole(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    std::string bytes;
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buf[4096];
    DWORD n;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0)
        bytes.append(buf, n);
    CloseHandle(h);
    return bytes;
}

// The log of a failed update: the line that says what failed, then the
// error and the word that the catalog was left as it was, at the end.
::testing::AssertionResult failedWith(const std::string& log, const std::string& line) {
    const std::string tail = std::string(kError) + "\r\nThe catalog was left unchanged.\r\n";
    size_t at = log.find(line);
    if (at == std::string::npos || log.size() < tail.size() ||
        log.compare(log.size() - tail.size(), tail.size(), tail) != 0 ||
        at > log.size() - tail.size())
        return ::testing::AssertionFailure() << log;
    return ::testing::AssertionSuccess();
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string manifest(const std::string& program, const std::string& signature,
                     const std::string& programChanges = "Faster.",
                     const std::string& signatureChanges = "New apps.") {
    return "[Fetchlets]\r\nVersion=" + program + "\r\nChangelog=" + programChanges +
           "\r\n[Signature]\r\nVersion=" + signature + "\r\nChangelog=" + signatureChanges + "\r\n";
}

class frmHost : public forms::Form {
  public:
    frmHost()
        : Form("frmHost", "Host"), chkAutoUpdate(*this, "chkAutoUpdate", "Auto"),
          txtSignatureServer(*this, "txtSignatureServer"), lstSignatures(*this, "lstSignatures"),
          lstCat(*this, "lstCat"), lblStatus(*this, "lblStatus") {
        lstCat.Move(0, 600, 3000, 3000);
    }
    forms::CheckBox chkAutoUpdate;
    forms::TextBox txtSignatureServer;
    forms::ListBox lstSignatures;
    forms::ListBox lstCat;
    forms::Label lblStatus;
    frmUpdate* updater = nullptr;
    std::string dataFolder;
    std::vector<std::string> signatures;
    std::string server;
    int loads = 0;

  protected:
    void Form_Load() override {
        ++loads;
        lblStatus.setCaption("Signature Version: " + updater->SignatureVersion());
        for (const std::string& name : profile::sectionNames(dataFolder + "FLApps.def", 1 << 16))
            lstCat.AddItem(name);
        txtSignatureServer.setText(server);
        for (const std::string& s : signatures)
            lstSignatures.AddItem(s);
    }
    void Form_Unload(int&) override { updater->Unload(); }
};

class Updater : public ::testing::Test {
  protected:
    void SetUp() override {
        services.environment.applicationFolder = app.path();
        services.services.fetcher = &fetcher;
        app.write("Data\\FLApps.def", "[Old One]\r\na=http://a/\r\nb=http://b/\r\nc=http://c/\r\n"
                                      "d=http://d/\r\n[Old Empty]\r\n[Old Two]\r\ne=http://e/\r\n"
                                      "f=http://f/\r\n");
        app.write("Data\\FLPortable.def", "[P]\r\np=http://p/\r\n");
        app.write("Data\\FLSpecial.def", "[S]\r\ns=http://s/\r\n");
        server.serveFolder("/fetchlets_latest/",
                           testsupport::sourceFolder("server/fetchlets_latest/"));
        host.dataFolder = app.path() + "Data\\";
        host.server = server.url("/fetchlets_latest/");
        host.signatures = {"FLApps.def", "FLPortable.def"};
        host.updater = &updater;
    }
    void TearDown() override {
        host.Unload();
        updater.Unload();
    }
    // Publishes a manifest of the test's own in place of the folder's.
    void publish(const std::string& text) { server.serve("/fetchlets_latest/FLVersion.ini", text); }
    std::string log() const { return updater.txtUpdate.Text(); }
    // What a fetch or an update left in the Data folder: files fetched
    // aside, temporary files, the staging folder.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const char* pattern : {"*.download", "*.tmp", "update"}) {
            WIN32_FIND_DATAA fd;
            HANDLE h = FindFirstFileA((app.path() + "Data\\" + pattern).c_str(), &fd);
            if (h == INVALID_HANDLE_VALUE)
                continue;
            do
                names.push_back(fd.cFileName);
            while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        return names;
    }
    // The host's start-up (which reads the catalog version), then the window
    // made for its first use, hidden. Windows stay hidden unless a test needs
    // them shown: under Xvfb without a window manager, each shown window
    // costs seconds when it goes.
    void start() {
        host.Load();
        updater.Load();
    }

    testsupport::FakeServices services;
    platform::WinInetFetcher fetcher{kQuick};
    TempFolder app;
    HttpServer server;
    frmHost host;
    frmUpdate updater{services.services,
                      {.chkAutoUpdate = host.chkAutoUpdate,
                       .txtSignatureServer = host.txtSignatureServer,
                       .lstSignatures = host.lstSignatures,
                       .restart = [this] { update::restartWindow(host); },
                       .owner = [this] { return host.hwnd(); }},
                      server.url("")};
};

} // namespace

TEST_F(Updater, ProgramCheckComparesVersionsAsStrings) {
    start();
    ASSERT_TRUE(updater.isLoaded());
    EXPECT_FALSE(updater.Visible());
    EXPECT_EQ(updater.Caption(), "Fetchlets - Update");
    EXPECT_EQ(updater.lblVersionFetchlets.Caption(), "0.4.4");

    publish(manifest("0.4.4", "1"));
    updater.lblCheckforUpdatesFetchlets_Click();
    EXPECT_EQ(log(), "You are using the latest Version of Fetchlets.\r\n");
    EXPECT_TRUE(services.messageBoxes.calls.empty());

    updater.txtUpdate.setText("");
    publish(manifest("0.4.10", "1"));
    updater.lblCheckforUpdatesFetchlets_Click();
    EXPECT_EQ(log(), "You are using an unofficial Version of Fetchlets.\r\n");
    EXPECT_TRUE(services.messageBoxes.calls.empty());

    // A newer version: four lines, then the question. No opens nothing.
    updater.txtUpdate.setText("");
    std::string changes(300, 'c');
    changes.replace(250, 10, "0123456789");
    publish(manifest("0.5.0", "1", changes));
    services.messageBoxes.answers = {IDNO};
    updater.lblCheckforUpdatesFetchlets_Click();
    EXPECT_EQ(log(), "Version 0.5.0 of Fetchlets is available.\r\n========================\r\n"
                     "Whats  new in this Version?\r\n" +
                         changes.substr(0, 254) + "\r\n");
    ASSERT_EQ(services.messageBoxes.calls.size(), 1u);
    EXPECT_EQ(services.messageBoxes.calls[0].text,
              "Version 0.5.0 of Fetchlets is available.\r\nDo you want to Download the Update?");
    EXPECT_EQ(services.messageBoxes.calls[0].flags, unsigned(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_TRUE(services.downloads.calls.empty());
    // The caret stands at the end of the log.
    EXPECT_EQ(updater.txtUpdate.SelStart(), static_cast<int>(log().size()));

    // Yes hands the download page to the Downloads window.
    services.messageBoxes.answers = {IDYES};
    updater.lblCheckforUpdatesFetchlets_Click();
    ASSERT_EQ(services.downloads.calls.size(), 1u);
    EXPECT_EQ(services.downloads.calls[0].urls,
              std::vector<std::string>{
                  server.url("/download/finish/30-fetchlets/124-fetchlets-first-public-beta/0")});

    // The manifest came from the product server, fresh each time.
    EXPECT_EQ(server.requestCount("/fetchlets_latest/FLVersion.ini"), 4);

    // Without an answer there is nothing to compare with, and the log says so.
    updater.txtUpdate.setText("");
    server.route("/fetchlets_latest/FLVersion.ini", HttpServer::Route{.status = 404});
    updater.lblCheckforUpdatesFetchlets_Click();
    EXPECT_EQ(log().rfind("Fetchlets could not check for a new Version: ", 0), 0u) << log();
}

TEST_F(Updater, TheProgramCheckLeavesTheRecordOfTheInstalledCatalogAlone) {
    const std::string installed = manifest("0.4.4", "2026.01.01", "Old.", "Old apps.");
    app.write("Data\\FLVersion.ini", installed);
    start();

    // The published program version and changelog are read from the fetched copy.
    publish(manifest("0.5.0", "2026.12.08", "Much faster."));
    services.messageBoxes.answers = {IDNO};
    updater.lblCheckforUpdatesFetchlets_Click();
    EXPECT_EQ(log(), "Version 0.5.0 of Fetchlets is available.\r\n========================\r\n"
                     "Whats  new in this Version?\r\nMuch faster.\r\n");
    EXPECT_EQ(app.read("Data\\FLVersion.ini"), installed);
    EXPECT_EQ(leftovers(), std::vector<std::string>{});

    // The window loaded anew (as at the next start) still shows the installed
    // catalog, and the catalog update still finds the new one.
    updater.Unload();
    EXPECT_EQ(updater.SignatureVersion(), "2026.01.01");
    updater.Load();
    EXPECT_EQ(updater.lblSignatureVersion.Caption(), "2026.01.01");
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_NE(log().find("A new Signature Version 2026.12.08 is available."), std::string::npos)
        << log();
}

TEST_F(Updater, ACatalogUpdateThatFailsMidwayIsRecordedNowhereAndTriedAgain) {
    const std::string installed = manifest("0.4.4", "2026.01.01");
    app.write("Data\\FLVersion.ini", installed);
    host.signatures = {"FLApps.def", "FLPortable.def", "FLSlim.def"};
    start();
    const std::string oldApps = app.read("Data\\FLApps.def");
    const std::string oldPortable = app.read("Data\\FLPortable.def");
    const std::string published = testsupport::sourceFolder("server/fetchlets_latest/");
    const std::string portable = readWhole(published + "FLPortable.def");
    ASSERT_GT(portable.size(), 100u);

    // The connection drops in the middle of the second file.
    server.route("/fetchlets_latest/FLPortable.def", HttpServer::cutShort(portable, 100));
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_TRUE(failedWith(log(), "FLPortable.def could not be updated: "));
    EXPECT_EQ(server.requestCount("/fetchlets_latest/FLSlim.def"), 1);
    EXPECT_EQ(app.read("Data\\FLVersion.ini"), installed);
    EXPECT_EQ(app.read("Data\\FLApps.def"), oldApps);
    EXPECT_EQ(app.read("Data\\FLPortable.def"), oldPortable);
    EXPECT_FALSE(exists(app.path() + "Data\\FLSlim.def"));
    EXPECT_EQ(leftovers(), std::vector<std::string>{});

    // The next start shows the old version, and the next check against a
    // healthy server replaces every file and then records the new version.
    host.Unload();
    start();
    EXPECT_EQ(host.lblStatus.Caption(), "Signature Version: 2026.01.01");
    server.serve("/fetchlets_latest/FLPortable.def", portable);
    services.messageBoxes.calls.clear();
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_NE(log().find("Signature Definitions has been Updated successfully."), std::string::npos)
        << log();
    EXPECT_TRUE(services.messageBoxes.calls.empty());
    for (const char* name : {"FLApps.def", "FLPortable.def", "FLSlim.def", "FLVersion.ini"})
        EXPECT_EQ(app.read(std::string("Data\\") + name), readWhole(published + name)) << name;
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(Updater, WithoutALocalManifestEveryListedFileIsReplacedAndTheRestartReadsThem) {
    start();
    EXPECT_EQ(updater.lblSignatureVersion.Caption(), ""); // no manifest yet
    EXPECT_EQ(host.lblStatus.Caption(), "Signature Version: ");
    ASSERT_EQ(host.lstCat.ListCount(), 3);

    updater.lblUpdateSignatureDefinitions_Click();
    const std::string published = testsupport::sourceFolder("server/fetchlets_latest/");
    EXPECT_EQ(log(), "6 Signatures found in FLApps.def\r\n"
                     "1 Signatures found in FLPortable.def\r\n"
                     "0 Signatures found in FLSlim.def\r\n"
                     " ========================\r\n"
                     "A new Signature Version 2026.12.08 is available.\r\n"
                     " ========================\r\n"
                     "Whats new in this Signature?\r\n"
                     "The catalog as shipped with Fetchlets 0.4.4.\r\n"
                     " ========================\r\n"
                     "Update running ...\r\n"
                     "FLApps.def Updated successfully.\r\n"
                     "FLPortable.def Updated successfully.\r\n"
                     "Signature Definitions has been Updated successfully.\r\n"
                     "Please Restart Fetchlets.\r\n");
    EXPECT_TRUE(updater.cmdRestart.Visible());
    EXPECT_FALSE(updater.lblCheckforUpdatesFetchlets.Visible());
    EXPECT_FALSE(updater.lblUpdateSignatureDefinitions.Visible());
    EXPECT_TRUE(services.messageBoxes.calls.empty());
    // The files are the published ones, byte for byte; the unlisted one stays.
    EXPECT_EQ(app.read("Data\\FLApps.def"), readWhole(published + "FLApps.def"));
    EXPECT_EQ(app.read("Data\\FLPortable.def"), readWhole(published + "FLPortable.def"));
    EXPECT_EQ(app.read("Data\\FLSpecial.def"), "[S]\r\ns=http://s/\r\n");
    EXPECT_EQ(app.read("Data\\FLVersion.ini"), readWhole(published + "FLVersion.ini"));
    // Nothing was left aside in the Data folder.
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
    // The label keeps the version it was loaded with until the restart.
    EXPECT_EQ(updater.lblSignatureVersion.Caption(), "");

    // An entry added on the server after the update is not in the catalog yet;
    // the restart reads the replaced files and loads the update window anew.
    int categories = profile::sectionNames(app.path() + "Data\\FLApps.def", 1 << 16).size();
    host.chkAutoUpdate.setValue(0);
    updater.cmdRestart_Click();
    ASSERT_TRUE(testsupport::pumpUntil([&] { return host.loads == 2 && updater.Visible(); }, 5000));
    EXPECT_TRUE(host.isLoaded());
    EXPECT_EQ(host.lstCat.ListCount(), categories);
    EXPECT_EQ(host.lstCat.List(0), profile::sectionNames(published + "FLApps.def", 1 << 16)[0]);
    EXPECT_EQ(updater.lblSignatureVersion.Caption(), "2026.12.08");
    EXPECT_EQ(host.lblStatus.Caption(), "Signature Version: 2026.12.08");
    EXPECT_FALSE(updater.cmdRestart.Visible());
    EXPECT_TRUE(updater.lblUpdateSignatureDefinitions.Visible());
    EXPECT_EQ(log(), "");
    // The update window belongs to the main window again.
    EXPECT_EQ(GetWindow(updater.window(), GW_OWNER), host.window());
    // The program did not take the moment without windows as its end.
    MSG m;
    EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(Updater, OrdinalComparisonAndAnEmptyList) {
    const std::string installed = manifest("0.4.4", "9");
    app.write("Data\\FLVersion.ini", installed);
    start();
    EXPECT_EQ(updater.lblSignatureVersion.Caption(), "9");

    // 10 sorts before 9: up to date, nothing fetched, and the local manifest
    // keeps naming the catalog that is installed.
    publish(manifest("0.4.4", "10"));
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_EQ(log(),
              "6 Signatures found in FLApps.def\r\n1 Signatures found in FLPortable.def\r\n"
              "0 Signatures found in FLSlim.def\r\nYour Signature File(s) is Up-to-Date.\r\n");
    EXPECT_EQ(server.requestCount("/fetchlets_latest/FLApps.def"), 0);
    EXPECT_EQ(app.read("Data\\FLVersion.ini"), installed);

    // The same version: the fetched manifest takes the local one's place.
    updater.txtUpdate.setText("");
    publish(manifest("0.4.5", "9"));
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_NE(log().find("Your Signature File(s) is Up-to-Date."), std::string::npos) << log();
    EXPECT_EQ(app.read("Data\\FLVersion.ini"), manifest("0.4.5", "9"));
    EXPECT_EQ(leftovers(), std::vector<std::string>{});

    // A newer version with no files listed: the update still completes.
    updater.txtUpdate.setText("");
    host.lstSignatures.Clear();
    publish(manifest("0.4.4", "91", "x", "Nothing to fetch."));
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_NE(
        log().find("Whats new in this Signature?\r\nNothing to fetch.\r\n ========================"
                   "\r\nUpdate running ...\r\nSignature Definitions has been Updated "
                   "successfully.\r\nPlease Restart Fetchlets.\r\n"),
        std::string::npos)
        << log();
    EXPECT_TRUE(updater.cmdRestart.Visible());
    EXPECT_EQ(server.requestCount("/fetchlets_latest/FLApps.def"), 0);
    EXPECT_EQ(app.read("Data\\FLVersion.ini"), manifest("0.4.4", "91", "x", "Nothing to fetch."));
}

TEST_F(Updater, EachServerFaultKeepsTheOldCatalogAndShowsTheError) {
    start();
    const std::string oldApps = app.read("Data\\FLApps.def");
    const std::string oldPortable = app.read("Data\\FLPortable.def");
    publish(manifest("0.4.4", "5"));

    struct Fault {
        const char* what;
        HttpServer::Route route;
        std::string reasonPart;
    } faults[] = {
        {"404", HttpServer::Route{.status = 404}, "status 404"},
        {"500", HttpServer::Route{.status = 500}, "status 500"},
        {"short body", HttpServer::cutShort(std::string(5000, 'x'), 100), "100 of 5000"},
        {"HTML with 200", HttpServer::htmlPage(), "not a catalog"},
        {"slow", HttpServer::late("[A]\r\n", 3000), ""},
        {"redirect to a missing file", HttpServer::redirect("/nothing/here"), "status 404"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        server.route("/fetchlets_latest/FLPortable.def", f.route);
        updater.txtUpdate.setText("");
        services.messageBoxes.calls.clear();
        updater.lblUpdateSignatureDefinitions_Click();
        EXPECT_TRUE(failedWith(log(), "FLPortable.def could not be updated: "));
        EXPECT_NE(log().find(f.reasonPart), std::string::npos) << log();
        EXPECT_EQ(log().find("Updated successfully"), std::string::npos);
        ASSERT_EQ(services.messageBoxes.calls.size(), 1u);
        EXPECT_EQ(services.messageBoxes.calls[0].text, kError);
        EXPECT_EQ(services.messageBoxes.calls[0].flags, unsigned(MB_OK | MB_ICONERROR));
        EXPECT_FALSE(updater.cmdRestart.Visible());
        EXPECT_TRUE(updater.lblUpdateSignatureDefinitions.Visible());
        // FLApps.def arrived whole, but a half-updated catalog is not kept,
        // nor is the new version recorded.
        EXPECT_EQ(app.read("Data\\FLApps.def"), oldApps);
        EXPECT_EQ(app.read("Data\\FLPortable.def"), oldPortable);
        EXPECT_FALSE(exists(app.path() + "Data\\FLVersion.ini"));
        EXPECT_EQ(leftovers(), std::vector<std::string>{});
    }

    // A server that refuses the connection.
    updater.txtUpdate.setText("");
    host.txtSignatureServer.setText(HttpServer::refusedUrl("/fetchlets_latest/"));
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_TRUE(failedWith(log(), "FLApps.def could not be updated: "));
    EXPECT_EQ(app.read("Data\\FLApps.def"), oldApps);

    // No manifest at all: an error, not "up to date".
    updater.txtUpdate.setText("");
    server.route("/fetchlets_latest/FLVersion.ini", HttpServer::Route{.status = 500});
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_TRUE(failedWith(log(), "The version information could not be fetched:"));
}

TEST_F(Updater, NamesThatAreNotPlainFileNamesAreRefused) {
    host.signatures = {"FLApps.def", "..\\FLEvil.def", "C:FLEvil.def", "sub/FLEvil.def", ""};
    server.serve("/fetchlets_latest/..\\FLEvil.def", "[Evil]\r\nx=y\r\n");
    start();
    const std::string oldApps = app.read("Data\\FLApps.def");
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_NE(log().find("Update running ...\r\n"
                         "\"..\\FLEvil.def\" is not a plain file name: it was not fetched.\r\n"
                         "\"C:FLEvil.def\" is not a plain file name: it was not fetched.\r\n"
                         "\"sub/FLEvil.def\" is not a plain file name: it was not fetched.\r\n" +
                         std::string(kError) + "\r\nThe catalog was left unchanged.\r\n"),
              std::string::npos)
        << log();
    EXPECT_EQ(GetFileAttributesA((app.path() + "FLEvil.def").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(app.read("Data\\FLApps.def"), oldApps);
    for (const auto& r : server.requests())
        EXPECT_EQ(r.path.find("FLEvil"), std::string::npos) << r.path;
}

TEST_F(Updater, TheAutomaticCheckRunsOnlyWhenTickedAndInOrder) {
    start();
    updater.CheckForSignatureUpdates();
    EXPECT_TRUE(server.requests().empty());
    EXPECT_FALSE(updater.Visible());

    publish(manifest("0.4.4", "1"));
    host.chkAutoUpdate.setValue(1);
    updater.CheckForSignatureUpdates();
    // The update showed the window, then the program check ran.
    EXPECT_TRUE(updater.Visible());
    EXPECT_EQ(GetWindow(updater.window(), GW_OWNER), host.window());
    std::string text = log();
    EXPECT_LT(text.find("Please Restart Fetchlets."),
              text.find("You are using the latest Version of Fetchlets."));
    EXPECT_EQ(server.requestCount("/fetchlets_latest/FLVersion.ini"), 2);
}

TEST_F(Updater, ASecondOpeningRestoresTheGeometryAndTheLatestVersion) {
    app.write("Data\\FLVersion.ini", manifest("0.4.4", "2026.01.01"));
    start();
    updater.Move(1200, 900, 8400, 6600);
    // The log follows the window's size.
    EXPECT_EQ(updater.txtUpdate.Width(), 8400 - 550);
    EXPECT_EQ(updater.txtUpdate.Height(), 6600 - 2000);
    EXPECT_EQ(updater.cmdRestart.Left(), 8400 - 2700);
    updater.lblUpdateSignatureDefinitions_Click(); // fetches the published 2026.12.08
    EXPECT_TRUE(updater.cmdRestart.Visible());
    updater.Unload();
    std::string settings = app.path() + "Data\\Fetchlets.ini";
    EXPECT_EQ(profile::readString(settings, "WindowStateUpdate", "Width", "", 60).text, "8400");

    updater.Show();
    EXPECT_EQ(updater.Left(), 1200);
    EXPECT_EQ(updater.Top(), 900);
    EXPECT_EQ(updater.Width(), 8400);
    EXPECT_EQ(updater.Height(), 6600);
    EXPECT_EQ(updater.lblSignatureVersion.Caption(), "2026.12.08");
    EXPECT_FALSE(updater.cmdRestart.Visible());
    EXPECT_EQ(log(), "");
}

namespace {

// A catalog file with `entries` lines in one section.
std::string catalog(int entries) {
    std::string text = "[New]\r\n";
    for (int i = 0; i < entries; ++i) {
        std::string n = std::to_string(i);
        text.append("e").append(n).append("=http://example.org/").append(n).append("\r\n");
    }
    return text;
}

// The manifest's line for a file: size and SHA-256 as the published ones carry.
std::string filesLine(const std::string& name, const std::string& bytes, TempFolder& scratch) {
    scratch.write(name, bytes);
    auto d = platform::digestFile(scratch.path() + name);
    return name + "=" + std::to_string(d->size) + "," + d->sha256 + "\r\n";
}

} // namespace

TEST_F(Updater, ACatalogFileWhoseEndIsNotConfirmedIsTakenOnlyWhenTheManifestVouchesForIt) {
    start();
    const std::string oldApps = app.read("Data\\FLApps.def");
    const std::string apps = catalog(2000);
    TempFolder scratch;

    struct Case {
        const char* what;
        HttpServer::Route route;
        std::string files; // the manifest's [Files] section
        std::string reasonPart;
    } cases[] = {
        {"chunked, cut in half", HttpServer::chunked(apps, apps.size() / 2), "",
         "could not be confirmed complete"},
        {"no length, closed early",
         {.body = apps, .cutAfter = apps.size() / 2, .omitLength = true},
         "",
         "could not be confirmed complete"},
        {"cut, but the manifest knows the file", HttpServer::chunked(apps, apps.size() / 2),
         filesLine("FLApps.def", apps, scratch), "bytes, the version information says"},
        {"whole, but another file than the manifest's",
         {.body = apps},
         filesLine("FLApps.def", "[Mew]" + apps.substr(5), scratch),
         "SHA-256 differs"},
        {"a line that is not size and hash",
         {.body = apps},
         "FLApps.def=12,zz\r\n",
         "is not \"<size>,<SHA-256>\""},
        {"100 MB where a catalog is expected",
         {.body = std::string(100 << 20, 'x')},
         "",
         "larger than"},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        publish(manifest("0.4.4", "5") + (c.files.empty() ? "" : "[Files]\r\n" + c.files));
        server.route("/fetchlets_latest/FLApps.def", c.route);
        updater.txtUpdate.setText("");
        DWORD began = GetTickCount();
        updater.lblUpdateSignatureDefinitions_Click();
        EXPECT_LT(GetTickCount() - began, 5000u);
        EXPECT_TRUE(failedWith(log(), "FLApps.def could not be updated: "));
        EXPECT_NE(log().find(c.reasonPart), std::string::npos) << log();
        EXPECT_EQ(app.read("Data\\FLApps.def"), oldApps);
        EXPECT_FALSE(exists(app.path() + "Data\\FLVersion.ini"));
        EXPECT_EQ(leftovers(), std::vector<std::string>{});
    }

    // The same cut-free body without a length, vouched for by the manifest, is taken.
    publish(manifest("0.4.4", "5") + "[Files]\r\n" + filesLine("FLApps.def", apps, scratch));
    server.route("/fetchlets_latest/FLApps.def", HttpServer::chunked(apps));
    updater.txtUpdate.setText("");
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_NE(log().find("FLApps.def Updated successfully."), std::string::npos) << log();
    EXPECT_EQ(app.read("Data\\FLApps.def"), apps);
}

TEST_F(Updater, RedirectsEndAfterTenOrAtALoopAndTheManifestInTheListDoesNotCollide) {
    start();
    publish(manifest("0.4.4", "5"));
    server.route("/a", HttpServer::redirect("/b"));
    server.route("/b", HttpServer::redirect("/a"));
    // A chain of five ends at the published file.
    const std::string apps = catalog(3);
    server.serve("/final/FLApps.def", apps);
    server.route("/fetchlets_latest/FLApps.def", HttpServer::redirect("/hop1"));
    for (int i = 1; i < 5; ++i)
        server.route("/hop" + std::to_string(i),
                     HttpServer::redirect("/hop" + std::to_string(i + 1)));
    server.route("/hop5", HttpServer::redirect("/final/FLApps.def"));
    server.route("/fetchlets_latest/FLPortable.def", HttpServer::redirect("/a"));

    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_TRUE(failedWith(log(), "FLPortable.def could not be updated: too many redirects."));
    EXPECT_LE(server.requestCount("/a"), 2);
    EXPECT_EQ(server.requestCount("/final/FLApps.def"), 1);

    // Without the loop the chain is taken; the manifest named in the list is
    // the one recorded at the end, and nothing reports a collision.
    server.serve("/fetchlets_latest/FLPortable.def", "[P2]\r\nq=http://q/\r\n");
    host.lstSignatures.AddItem("FLVersion.ini");
    updater.txtUpdate.setText("");
    updater.lblUpdateSignatureDefinitions_Click();
    EXPECT_NE(log().find("Signature Definitions has been Updated successfully."), std::string::npos)
        << log();
    EXPECT_EQ(log().find(kError), std::string::npos) << log();
    EXPECT_EQ(app.read("Data\\FLApps.def"), apps);
    EXPECT_EQ(app.read("Data\\FLVersion.ini"), manifest("0.4.4", "5"));
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(Updater, CancelAndEscEndASilentServerAtOnceAndLeaveNothing) {
    start();
    updater.Show();
    publish(manifest("0.4.4", "5"));
    server.route("/fetchlets_latest/FLApps.def", HttpServer::late(catalog(3), 20000));
    const std::string oldApps = app.read("Data\\FLApps.def");

    auto press = [&](std::function<void()> input) {
        updater.txtUpdate.setText("");
        std::thread user([&] {
            Sleep(700);
            input();
        });
        DWORD began = GetTickCount();
        updater.lblUpdateSignatureDefinitions_Click();
        DWORD took = GetTickCount() - began;
        user.join();
        EXPECT_LT(took, 700u + 1000u);
        EXPECT_NE(log().find("The update was cancelled; the catalog was left unchanged."),
                  std::string::npos)
            << log();
        EXPECT_EQ(server.requestCount("/fetchlets_latest/FLPortable.def"), 0);
        EXPECT_FALSE(updater.cmdCancel.Visible());
        EXPECT_EQ(app.read("Data\\FLApps.def"), oldApps);
        EXPECT_FALSE(exists(app.path() + "Data\\FLVersion.ini"));
        EXPECT_EQ(leftovers(), std::vector<std::string>{});
    };
    HWND button = updater.cmdCancel.hwnd();
    press([&] {
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    });
    HWND log = updater.txtUpdate.hwnd();
    press([&] { PostMessageA(log, WM_KEYDOWN, VK_ESCAPE, 0); });
}

TEST_F(Updater, AFileHeldByAnotherProgramLeavesTheWholeCatalogAsItWas) {
    app.write("Data\\FLSlim.def", "[Slim]\r\ns=http://s/\r\n");
    host.signatures = {"FLApps.def", "FLPortable.def", "FLSlim.def"};
    start();
    const std::string oldApps = app.read("Data\\FLApps.def");
    const std::string oldPortable = app.read("Data\\FLPortable.def");
    HANDLE held = CreateFileA((app.path() + "Data\\FLSlim.def").c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    updater.lblUpdateSignatureDefinitions_Click();
    CloseHandle(held);
    EXPECT_TRUE(failedWith(log(), "FLSlim.def could not be updated: it is in use by another "
                                  "program.\r\nFLPortable.def was put back as it was.\r\n"
                                  "FLApps.def was put back as it was.\r\n"));
    EXPECT_EQ(log().find("Updated successfully"), std::string::npos) << log();
    EXPECT_EQ(app.read("Data\\FLApps.def"), oldApps);
    EXPECT_EQ(app.read("Data\\FLPortable.def"), oldPortable);
    EXPECT_FALSE(exists(app.path() + "Data\\FLVersion.ini"));
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(Updater, WhatAKilledUpdateLeftIsPutRightAtTheNextCheck) {
    // Killed half-way through the replace: FLApps.def is new, its old copy
    // waits aside, the manifest was not recorded; a temporary file remains.
    app.write("Data\\FLApps.def", catalog(1));
    app.write("Data\\update\\previous\\FLApps.def", "[Old]\r\no=http://o/\r\n");
    app.write("Data\\update\\FLVersion.ini", manifest("0.4.4", "7"));
    app.write("Data\\update\\files\\FLPortable.def", "[P]\r\n");
    app.write("Data\\update\\~fl12-1.tmp", "");
    start();
    publish(manifest("0.4.4", ""));
    updater.lblCheckforUpdatesFetchlets_Click();
    EXPECT_EQ(app.read("Data\\FLApps.def"), "[Old]\r\no=http://o/\r\n");
    EXPECT_EQ(leftovers(), std::vector<std::string>{});

    // Killed after the manifest was recorded: the new files stay.
    app.write("Data\\update\\previous\\FLApps.def", "[Older]\r\n");
    updater.lblCheckforUpdatesFetchlets_Click();
    EXPECT_EQ(app.read("Data\\FLApps.def"), "[Old]\r\no=http://o/\r\n");
    EXPECT_EQ(leftovers(), std::vector<std::string>{});
}

TEST_F(Updater, RestartNowAsksAboutRestartingAndStillWorksAfterANo) {
    start();
    updater.lblUpdateSignatureDefinitions_Click();
    ASSERT_TRUE(updater.cmdRestart.Visible());
    host.chkAutoUpdate.setValue(0);
    services.downloads.allowClose = false; // a download runs and the user says No
    updater.cmdRestart_Click();
    testsupport::pumpMessages(300);
    EXPECT_EQ(services.downloads.restartCalls, 1);
    EXPECT_EQ(host.loads, 1);
    EXPECT_TRUE(updater.cmdRestart.Visible());

    services.downloads.allowClose = true; // the download ended, or Yes
    updater.cmdRestart_Click();
    ASSERT_TRUE(testsupport::pumpUntil([&] { return host.loads == 2; }, 5000));
    EXPECT_EQ(services.downloads.restartCalls, 2);
}

TEST(PublishedManifest, VouchesForEveryPublishedCatalogFile) {
    const std::string folder = testsupport::sourceFolder("server/fetchlets_latest/");
    for (const char* name :
         {"FLApps.def", "FLPages.def", "FLPortable.def", "FLSlim.def", "FLSpecial.def"}) {
        SCOPED_TRACE(name);
        update::FileCheck check = update::readFileCheck(folder + "FLVersion.ini", name);
        ASSERT_TRUE(check.valid);
        auto d = platform::digestFile(folder + name);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->size, check.size);
        EXPECT_EQ(d->sha256, check.sha256);
    }
}
