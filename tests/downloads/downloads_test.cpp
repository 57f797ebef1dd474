// The Downloads window with real transfers: a server on 127.0.0.1 started by
// each test, the window driven through its own message loop, the file
// dialogs and message boxes answered by fakes.
#include "downloads/downloads.h"
#include "downloads/frmDownloads.h"
#include "downloads/pure/file_names.h"
#include "tests/support/fakes.h"
#include "tests/support/http_server.h"

#include <gtest/gtest.h>

#include <random>

using downloads::State;
using testsupport::HttpServer;

namespace {

std::string randomBytes(size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (auto& c : s)
        c = static_cast<char>(gen());
    return s;
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class DownloadsTest : public ::testing::Test {
  protected:
    DownloadsTest() : service(fakes.services, {.connectMs = 2000, .transferMs = 1500}) {
        fakes.fileDialogs.downloads = folder.path().substr(0, folder.path().size() - 1);
        // Save As takes the suggested name in the test's folder.
        fakes.fileDialogs.saveAnswer = [this](const std::string& name) {
            return folder.path() + name;
        };
    }
    ~DownloadsTest() override { service.shutdown(); }

    downloads::frmDownloads& form() { return service.window(); }
    downloads::Transfer::Snapshot last() { return form().row(form().rowCount() - 1); }

    // Waits until the row leaves the running states.
    bool settle(int row, unsigned ms = 10000) {
        return testsupport::pumpUntil(
            [&] {
                State s = form().row(row).state;
                return s == State::Done || s == State::Failed || s == State::Cancelled;
            },
            ms);
    }
    void select(int row) {
        form().lvwDownloads.selectRow(row);
        testsupport::pumpMessages(20);
    }

    testsupport::FakeServices fakes;
    testsupport::TempFolder folder;
    HttpServer server;
    downloads::DownloadsService service;
};

TEST_F(DownloadsTest, FileArrivesWholeUnderTheSuggestedNameAndOpens) {
    std::string body = randomBytes(3 * 1024 * 1024 + 17, 1);
    server.serve("/files/setup.zip", body);
    server.route("/get",
                 {.body = "tiny", .contentDisposition = "attachment; filename=\"Real Name.txt\""});

    service.download(nullptr, {server.url("/files/setup.zip")});
    ASSERT_EQ(form().rowCount(), 1); // the row is there before any network answer
    ASSERT_TRUE(settle(0));
    auto s = form().row(0);
    EXPECT_EQ(s.state, State::Done) << s.detail;
    ASSERT_EQ(fakes.fileDialogs.saveCalls.size(), 1u);
    EXPECT_EQ(fakes.fileDialogs.saveCalls[0].suggestedName, "setup.zip");
    EXPECT_EQ(fakes.fileDialogs.saveCalls[0].folder, fakes.fileDialogs.downloads);
    EXPECT_EQ(folder.read("setup.zip"), body);
    EXPECT_FALSE(fileExists(folder.path() + "setup.zip.part"));
    form().refresh();
    EXPECT_EQ(form().cell(0, downloads::frmDownloads::colState), "Done");
    EXPECT_EQ(form().cell(0, downloads::frmDownloads::colSize), "3.00 MB");
    EXPECT_EQ(form().lvwDownloads.progress(0), 100);

    // The server's own name wins over the address's.
    service.download(nullptr, {server.url("/get?id=7")});
    ASSERT_TRUE(settle(1));
    EXPECT_EQ(fakes.fileDialogs.saveCalls.back().suggestedName, "Real Name.txt");
    EXPECT_EQ(folder.read("Real Name.txt"), "tiny");

    // A finished row opens its file, and its folder.
    select(0);
    form().cmdOpen_Click();
    ASSERT_EQ(fakes.shell.calls.size(), 1u);
    EXPECT_EQ(fakes.shell.calls[0].file, folder.path() + "setup.zip");
    form().cmdOpenFolder_Click();
    ASSERT_EQ(fakes.shell.calls.size(), 2u);
    EXPECT_EQ(fakes.shell.calls[1].parameters, "/select,\"" + folder.path() + "setup.zip\"");
}

TEST_F(DownloadsTest, FailuresSayWhyAndLeaveNoFile) {
    std::string body = randomBytes(200000, 2);
    server.route("/missing.bin", {.status = 404});
    server.route("/broken.bin", {.body = body, .cutAfter = 50000});
    server.route("/late.bin", {.body = body, .headerDelayMs = 5000});
    server.route("/stalls.bin", {.body = body, .stallAfter = 1000, .stallMs = 5000});

    service.download(nullptr, {server.url("/missing.bin")});
    ASSERT_TRUE(settle(0));
    EXPECT_EQ(form().row(0).state, State::Failed);
    EXPECT_EQ(form().row(0).detail, "the server answered 404 Not Found");
    EXPECT_TRUE(fakes.fileDialogs.saveCalls.empty()); // no name asked for an error

    service.download(nullptr, {server.url("/broken.bin")});
    ASSERT_TRUE(settle(1));
    EXPECT_EQ(form().row(1).state, State::Failed);
    EXPECT_NE(form().row(1).detail.find("cut short"), std::string::npos) << form().row(1).detail;
    EXPECT_FALSE(fileExists(folder.path() + "broken.bin"));

    service.download(nullptr, {HttpServer::refusedUrl("/x.bin")});
    ASSERT_TRUE(settle(2));
    EXPECT_EQ(form().row(2).state, State::Failed);
    EXPECT_EQ(form().row(2).detail.rfind("no connection", 0), 0u) << form().row(2).detail;

    service.download(nullptr, {server.url("/late.bin")});
    ASSERT_TRUE(settle(3, 8000));
    EXPECT_EQ(form().row(3).state, State::Failed) << form().row(3).detail;
    EXPECT_EQ(form().row(3).detail.rfind("timed out", 0), 0u) << form().row(3).detail;

    service.download(nullptr, {server.url("/stalls.bin")});
    ASSERT_TRUE(settle(4, 8000));
    EXPECT_EQ(form().row(4).state, State::Failed) << form().row(4).detail;
    EXPECT_EQ(form().row(4).detail, "timed out: the server sent nothing for 2 s");
    EXPECT_FALSE(fileExists(folder.path() + "stalls.bin"));

    form().refresh();
    EXPECT_EQ(form().cell(0, downloads::frmDownloads::colState),
              "Failed: the server answered 404 Not Found");
    for (int i = 0; i < form().rowCount(); ++i)
        EXPECT_FALSE(fileExists(folder.path() + downloads::fileNameFromUrl(form().row(i).url)));

    // Removing a failed row removes what it kept for a retry.
    ASSERT_TRUE(fileExists(folder.path() + "broken.bin.part"));
    select(1);
    form().cmdRemove_Click();
    EXPECT_FALSE(fileExists(folder.path() + "broken.bin.part"));
    EXPECT_EQ(form().rowCount(), 4);
}

TEST_F(DownloadsTest, CancelStopsAndRemovesThePartialFile) {
    std::string body = randomBytes(4 * 1024 * 1024, 3);
    server.route("/big.bin", {.body = body, .bytesPerSecond = 400000});
    service.download(nullptr, {server.url("/big.bin")});
    ASSERT_TRUE(testsupport::pumpUntil([&] { return form().row(0).received > 0; }, 10000));
    EXPECT_TRUE(fileExists(folder.path() + "big.bin.part"));
    form().refresh();
    EXPECT_EQ(form().cell(0, downloads::frmDownloads::colState), "Downloading");
    select(0);
    form().cmdCancel_Click();
    ASSERT_TRUE(settle(0, 3000));
    EXPECT_EQ(form().row(0).state, State::Cancelled);
    // The worker lets go of the part file at its next piece, and it vanishes.
    EXPECT_TRUE(
        testsupport::pumpUntil([&] { return !fileExists(folder.path() + "big.bin.part"); }, 2000));
    EXPECT_FALSE(fileExists(folder.path() + "big.bin"));

    // Cancelling the Save As cancels the download.
    fakes.fileDialogs.saveAnswer = [](const std::string&) { return std::string(); };
    server.serve("/small.bin", "abc");
    service.download(nullptr, {server.url("/small.bin")});
    ASSERT_TRUE(settle(1));
    EXPECT_EQ(form().row(1).state, State::Cancelled);
    EXPECT_FALSE(fileExists(folder.path() + "small.bin"));
}

TEST_F(DownloadsTest, RedirectIsFollowed) {
    std::string body = randomBytes(100000, 4);
    server.serve("/files/tool-1.2.zip", body);
    server.route("/latest", HttpServer::redirect("/files/tool-1.2.zip"));
    server.route("/moved", HttpServer::redirect("/latest", 301));
    service.download(nullptr, {server.url("/moved")});
    ASSERT_TRUE(settle(0));
    EXPECT_EQ(form().row(0).state, State::Done) << form().row(0).detail;
    EXPECT_EQ(fakes.fileDialogs.saveCalls.at(0).suggestedName, "tool-1.2.zip");
    EXPECT_EQ(form().row(0).finalUrl, server.url("/files/tool-1.2.zip"));
    EXPECT_EQ(folder.read("tool-1.2.zip"), body);
}

TEST_F(DownloadsTest, RetryResumesByteIdentical) {
    std::string body = randomBytes(2 * 1024 * 1024 + 5, 5);
    server.route("/r.bin", {.body = body, .cutAfter = 700000, .headers = {{"ETag", "\"v1\""}}});
    service.download(nullptr, {server.url("/r.bin")});
    ASSERT_TRUE(settle(0));
    ASSERT_EQ(form().row(0).state, State::Failed);
    std::string part = folder.read("r.bin.part");
    ASSERT_EQ(part.size(), 700000u);

    server.route("/r.bin", {.body = body, .headers = {{"ETag", "\"v1\""}}});
    select(0);
    form().cmdRetry_Click();
    ASSERT_TRUE(settle(0));
    EXPECT_EQ(form().row(0).state, State::Done) << form().row(0).detail;
    EXPECT_TRUE(folder.read("r.bin") == body);
    auto reqs = server.requests();
    EXPECT_EQ(reqs.back().header("Range"), "bytes=700000-");
    EXPECT_EQ(reqs.back().header("If-Range"), "\"v1\"");
    EXPECT_EQ(fakes.fileDialogs.saveCalls.size(), 1u); // the name is not asked again

    // A server without ranges sends it all again: still the same bytes.
    server.route("/n.bin", {.body = body, .ranges = false, .cutAfter = 300000});
    service.download(nullptr, {server.url("/n.bin")});
    ASSERT_TRUE(settle(1));
    ASSERT_EQ(form().row(1).state, State::Failed);
    server.route("/n.bin", {.body = body, .ranges = false});
    select(1);
    form().cmdRetry_Click();
    ASSERT_TRUE(settle(1));
    EXPECT_EQ(form().row(1).state, State::Done) << form().row(1).detail;
    EXPECT_TRUE(folder.read("n.bin") == body);
}

TEST_F(DownloadsTest, SeveralLinksLandInOneFolderAskedOnce) {
    testsupport::TempFolder target;
    target.write("same.bin", "already here");
    fakes.fileDialogs.folderAnswers = {target.path().substr(0, target.path().size() - 1)};
    server.serve("/a/one.bin", "1111");
    server.serve("/a/same.bin", "2222");
    server.serve("/b/same.bin", "3333");
    service.download(nullptr, {server.url("/a/one.bin"), server.url("/a/same.bin"),
                               server.url("/b/same.bin"), "file:///C:/windows/win.ini"});
    EXPECT_EQ(form().rowCount(), 0); // the folder is asked after the caller went on
    ASSERT_TRUE(testsupport::pumpUntil([&] { return form().rowCount() == 3; }, 3000));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(settle(i));
    EXPECT_EQ(fakes.fileDialogs.folderCalls.size(), 1u);
    EXPECT_TRUE(fakes.fileDialogs.saveCalls.empty());
    EXPECT_EQ(target.read("one.bin"), "1111");
    EXPECT_EQ(target.read("same.bin"), "already here");
    // Each of the two "same.bin" gets a name of its own.
    std::string two = target.read("same (2).bin"), three = target.read("same (3).bin");
    EXPECT_TRUE((two == "2222" && three == "3333") || (two == "3333" && three == "2222"));
}

TEST_F(DownloadsTest, UnsignedInstallerWarnsBeforeOpening) {
    // This test program itself is an unsigned executable.
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    testsupport::TempFolder src;
    CopyFileA(self, (src.path() + "setup.exe").c_str(), FALSE);
    server.serve("/setup.exe", src.read("setup.exe"));
    service.download(nullptr, {server.url("/setup.exe")});
    ASSERT_TRUE(settle(0, 20000));
    auto s = form().row(0);
    ASSERT_EQ(s.state, State::Done) << s.detail;
    EXPECT_TRUE(s.signatureChecked);
    EXPECT_EQ(s.signature.verdict, downloads::Signature::NotSigned);
    form().refresh();
    EXPECT_EQ(form().cell(0, downloads::frmDownloads::colState), "Done - not signed");
    EXPECT_NE(form().lblDetails.Caption().find("not signed"), std::string::npos);

    select(0);
    fakes.messageBoxes.answers = {IDNO, IDYES};
    form().cmdOpen_Click();
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 1u);
    EXPECT_NE(fakes.messageBoxes.calls[0].text.find("setup.exe is not signed"), std::string::npos);
    EXPECT_TRUE(fakes.messageBoxes.calls[0].flags & MB_ICONWARNING);
    EXPECT_TRUE(fakes.shell.calls.empty()); // "No" keeps it closed
    form().cmdOpen_Click();
    ASSERT_EQ(fakes.shell.calls.size(), 1u);
    EXPECT_EQ(fakes.shell.calls[0].file, folder.path() + "setup.exe");
}

TEST_F(DownloadsTest, SignedInstallerNamesItsSignerAndAChangedOneIsInvalid) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dir = self;
    dir.resize(dir.find_last_of('\\') + 1);
    testsupport::TempFolder src;
    if (!CopyFileA((dir + "signed_sample.exe").c_str(), (src.path() + "s.exe").c_str(), FALSE))
        GTEST_SKIP() << "no signed sample (openssl and osslsigncode make it at build time)";
    std::string signedBytes = src.read("s.exe");
    std::string changed = signedBytes;
    changed[1024] = static_cast<char>(changed[1024] ^ 0x5A); // inside the signed code
    server.serve("/Signed.exe", signedBytes);
    server.serve("/Changed.exe", changed);

    service.download(nullptr, {server.url("/Signed.exe")});
    ASSERT_TRUE(settle(0, 20000));
    auto s = form().row(0);
    ASSERT_EQ(s.state, State::Done) << s.detail;
    EXPECT_EQ(s.signature.signer, "Example Tools Ltd");
    if (s.signature.verdict == downloads::Signature::Signed) {
        // Wine's wintrust accepts a self-signed certificate: the name shows.
        EXPECT_EQ(s.detail, "signed by Example Tools Ltd");
        select(0);
        form().cmdOpen_Click();
        EXPECT_TRUE(fakes.messageBoxes.calls.empty()); // no warning for a valid signature
        EXPECT_EQ(fakes.shell.calls.size(), 1u);
    } else {
        // Windows does not trust the throw-away root.
        EXPECT_EQ(s.signature.reason, "the certificate's root is not trusted");
    }

    service.download(nullptr, {server.url("/Changed.exe")});
    ASSERT_TRUE(settle(1, 20000));
    s = form().row(1);
    ASSERT_EQ(s.state, State::Done) << s.detail;
    EXPECT_EQ(s.signature.verdict, downloads::Signature::Invalid);
    EXPECT_EQ(s.detail, "signature invalid (the file was changed after it was signed)");
    select(1);
    fakes.messageBoxes.answers = {IDNO};
    form().cmdOpen_Click();
    ASSERT_FALSE(fakes.messageBoxes.calls.empty());
    EXPECT_EQ(
        fakes.messageBoxes.calls.back().text.rfind("The signature of Changed.exe is invalid", 0),
        0u);
}

TEST_F(DownloadsTest, ClosingWhileDownloadsRunAsks) {
    EXPECT_TRUE(service.confirmClose(nullptr)); // nothing runs: no question
    EXPECT_TRUE(fakes.messageBoxes.calls.empty());

    server.route("/slow.bin", {.body = randomBytes(4 * 1024 * 1024, 6), .bytesPerSecond = 300000});
    service.download(nullptr, {server.url("/slow.bin")});
    ASSERT_TRUE(testsupport::pumpUntil([&] { return form().row(0).received > 0; }, 10000));
    fakes.messageBoxes.answers = {IDNO, IDYES};
    EXPECT_FALSE(service.confirmClose(nullptr));
    EXPECT_EQ(form().row(0).state, State::Downloading);
    EXPECT_TRUE(service.confirmClose(nullptr));
    ASSERT_EQ(fakes.messageBoxes.calls.size(), 2u);
    EXPECT_EQ(fakes.messageBoxes.calls[0].text,
              "A download is still running. Cancel it and close?");
    // Before a restart, the question speaks of restarting.
    server.route("/slow2.bin", {.body = randomBytes(4 * 1024 * 1024, 6), .bytesPerSecond = 300000});
    service.download(nullptr, {server.url("/slow2.bin")});
    ASSERT_TRUE(testsupport::pumpUntil([&] { return form().row(1).received > 0; }, 10000));
    fakes.messageBoxes.answers = {IDNO};
    EXPECT_FALSE(service.confirmRestart(nullptr));
    EXPECT_EQ(fakes.messageBoxes.calls.back().text,
              "A download is still running. Cancel it and restart?");
    EXPECT_EQ(form().row(0).state, State::Cancelled);
    EXPECT_TRUE(
        testsupport::pumpUntil([&] { return !fileExists(folder.path() + "slow.bin.part"); }, 2000));
    EXPECT_FALSE(fileExists(folder.path() + "slow.bin"));
}

} // namespace

namespace {

const char* const kUnconfirmed =
    "Done - the server did not announce the size; it could not be confirmed complete";

} // namespace

TEST_F(DownloadsTest, ABodyWhoseEndCannotBeConfirmedIsNeverAPlainDone) {
    std::string body = randomBytes(2000000, 7);
    server.route("/chunked-cut.zip", HttpServer::chunked(body, 1000000));
    server.route("/unsized-cut.zip", {.body = body, .cutAfter = 1000000, .omitLength = true});
    server.route("/chunked-whole.zip", HttpServer::chunked(body));
    const char* names[] = {"chunked-cut.zip", "unsized-cut.zip", "chunked-whole.zip"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        service.download(nullptr, {server.url(std::string("/") + names[i])});
        ASSERT_TRUE(settle(i));
        form().refresh();
        EXPECT_EQ(form().row(i).state, State::Done) << form().row(i).detail;
        EXPECT_EQ(form().cell(i, downloads::frmDownloads::colState), kUnconfirmed);
        EXPECT_TRUE(form().row(i).unconfirmed);
    }
    EXPECT_EQ(folder.read("chunked-cut.zip").size(), 1000000u);
    EXPECT_EQ(folder.read("chunked-whole.zip"), body);
    // Next to the signer check, for an installer.
    server.route("/setup.exe", {.body = "MZ", .omitLength = true});
    service.download(nullptr, {server.url("/setup.exe")});
    ASSERT_TRUE(settle(3));
    form().refresh();
    EXPECT_EQ(form()
                  .cell(3, downloads::frmDownloads::colState)
                  .rfind(std::string(kUnconfirmed) + "; ", 0),
              0u)
        << form().cell(3, downloads::frmDownloads::colState);
}

TEST_F(DownloadsTest, RedirectLoopsFailAtOnceAndAChainOfFiveArrives) {
    server.route("/a", HttpServer::redirect("/b"));
    server.route("/b", HttpServer::redirect("/a"));
    // /hop1 ... /hop5: five redirects; /r1 ... /r11: eleven.
    for (int i = 1; i <= 5; ++i)
        server.route("/hop" + std::to_string(i),
                     HttpServer::redirect(i == 5 ? "/tool.zip" : "/hop" + std::to_string(i + 1)));
    for (int i = 1; i <= 11; ++i)
        server.route("/r" + std::to_string(i),
                     HttpServer::redirect(i == 11 ? "/tool.zip" : "/r" + std::to_string(i + 1)));
    server.serve("/tool.zip", "the tool");

    service.download(nullptr, {server.url("/a")});
    ASSERT_TRUE(settle(0, 3000));
    form().refresh();
    EXPECT_EQ(form().cell(0, downloads::frmDownloads::colState), "Failed: too many redirects");
    EXPECT_LE(server.requestCount("/a"), 2);

    service.download(nullptr, {server.url("/hop1")});
    ASSERT_TRUE(settle(1));
    EXPECT_EQ(form().row(1).state, State::Done) << form().row(1).detail;
    EXPECT_EQ(folder.read("tool.zip"), "the tool");

    service.download(nullptr, {server.url("/r1")});
    ASSERT_TRUE(settle(2));
    EXPECT_EQ(form().row(2).detail, "too many redirects");
}

TEST_F(DownloadsTest, CancelEndsWithinASecondWhileConnectingAndWhileTheBodyStalls) {
    std::string body = randomBytes(300000, 8);
    server.route("/silent.bin", {.body = body, .headerDelayMs = 20000});
    server.route("/stalls.bin", {.body = body, .stallAfter = 100000, .stallMs = 20000});
    service.download(nullptr, {server.url("/silent.bin")});
    testsupport::pumpMessages(300);
    service.download(nullptr, {server.url("/stalls.bin")});
    ASSERT_TRUE(testsupport::pumpUntil([&] { return form().row(1).received > 0; }, 5000));
    testsupport::pumpMessages(300);
    for (int row : {0, 1}) {
        select(row);
        DWORD began = GetTickCount();
        form().cmdCancel_Click();
        EXPECT_TRUE(settle(row, 1000));
        EXPECT_LT(GetTickCount() - began, 1000u);
        EXPECT_EQ(form().row(row).state, State::Cancelled);
    }
    // Under Wine a read that waits on a silent server is not woken by the
    // cancel: the worker lets go of the part file when its silence limit
    // (1.5 s here) ends the read.
    EXPECT_TRUE(testsupport::pumpUntil(
        [&] { return !fileExists(folder.path() + "stalls.bin.part"); }, 3000));
}

TEST_F(DownloadsTest, AServersLongFileNameIsCutBeforeTheDialogSeesIt) {
    std::string name = std::string(296, 'n') + ".exe";
    server.route("/get",
                 {.body = "MZ", .contentDisposition = "attachment; filename=\"" + name + "\""});
    service.download(nullptr, {server.url("/get")});
    ASSERT_TRUE(settle(0));
    ASSERT_EQ(fakes.fileDialogs.saveCalls.size(), 1u);
    EXPECT_EQ(fakes.fileDialogs.saveCalls[0].suggestedName, std::string(116, 'n') + ".exe");
    EXPECT_EQ(form().row(0).state, State::Done) << form().row(0).detail;
}
