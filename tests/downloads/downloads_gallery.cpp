// DownloadsGallery.exe: the Downloads window with downloads in each state,
// served by the test server inside this process, for looking at
// (screenshots); built with the tests, not a test itself. Runs until closed,
// or for the number of seconds given as its argument.
#include "downloads/downloads.h"
#include "downloads/frmDownloads.h"
#include "tests/support/fakes.h"
#include "tests/support/http_server.h"

#include <cstdlib>
#include <random>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmd, int) {
    testsupport::HttpServer server;
    testsupport::TempFolder folder;
    testsupport::FakeServices fakes;
    fakes.fileDialogs.downloads = folder.path().substr(0, folder.path().size() - 1);
    fakes.fileDialogs.saveAnswer = [&](const std::string& name) { return folder.path() + name; };
    fakes.messageBoxes.answers = {IDNO};

    std::mt19937 gen(7);
    std::string big(40 * 1024 * 1024, '\0');
    for (auto& c : big)
        c = static_cast<char>(gen());
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    CopyFileA(self, (folder.path() + "copy.exe").c_str(), FALSE);

    server.serve("/files/ToolSetup-2.4.exe", folder.read("copy.exe"));
    server.route("/files/PortableSuite.zip", {.body = big, .bytesPerSecond = 2400000});
    server.route("/files/Missing-1.0.msi", {.status = 404});
    server.route("/files/Cancelled.zip", {.body = big, .bytesPerSecond = 1000000});

    downloads::DownloadsService service(fakes.services);
    service.download(nullptr, {server.url("/files/ToolSetup-2.4.exe")});
    testsupport::pumpMessages(600);
    service.download(nullptr, {server.url("/files/Missing-1.0.msi")});
    testsupport::pumpMessages(300);
    service.download(nullptr, {server.url("/files/Cancelled.zip")});
    testsupport::pumpMessages(900);
    auto& form = service.window();
    form.lvwDownloads.selectRow(2);
    form.cmdCancel_Click();
    service.download(nullptr, {server.url("/files/PortableSuite.zip")});
    testsupport::pumpMessages(300);
    form.lvwDownloads.selectRow(0);

    unsigned seconds = static_cast<unsigned>(std::atoi(cmd));
    DWORD start = GetTickCount();
    MSG m;
    while (form.isLoaded() && form.Visible()) {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (forms::Form::preTranslate(m))
                continue;
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (seconds && GetTickCount() - start > seconds * 1000)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    service.shutdown();
    return 0;
}
