// UpdatePreview.exe: the update window with a real catalog update against the
// test server, for looking at it (screenshots); built with the tests, not a
// test itself. "UpdatePreview ok" publishes the folder as it is; "UpdatePreview
// fail" makes the server answer 404 for FLPortable.def; "UpdatePreview slow"
// makes it wait 30 s before answering (the Cancel button). The log is also
// written to UpdatePreview.log beside the program.
#include "update/frmUpdate.h"

#include "platform/fetch_wininet.h"
#include "tests/support/fakes.h"
#include "tests/support/http_server.h"

#include <fstream>

namespace {

class frmHost : public forms::Form {
  public:
    frmHost()
        : Form("frmHost", "Fetchlets"), chkAutoUpdate(*this, "chkAutoUpdate", "Auto"),
          txtSignatureServer(*this, "txtSignatureServer"), lstSignatures(*this, "lstSignatures") {}
    forms::CheckBox chkAutoUpdate;
    forms::TextBox txtSignatureServer;
    forms::ListBox lstSignatures;
};

std::string folderOfProgram() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmd, int) {
    bool fail = std::string(cmd).find("fail") != std::string::npos;
    bool slow = std::string(cmd).find("slow") != std::string::npos;
    testsupport::HttpServer server;
    const std::string published = testsupport::sourceFolder("server/fetchlets_latest/");
    const std::string data = testsupport::sourceFolder("data/Data/");
    server.serveFolder("/fetchlets_latest/", published);
    if (fail)
        server.route("/fetchlets_latest/FLPortable.def", [] {
            testsupport::HttpServer::Route r;
            r.status = 404;
            return r;
        }());

    if (slow)
        server.route("/fetchlets_latest/FLPortable.def",
                     testsupport::HttpServer::late("[P]\r\np=http://p/\r\n", 30000));

    testsupport::TempFolder app;
    for (const char* f : {"FLApps.def", "FLPortable.def", "FLSlim.def"})
        CopyFileA((data + f).c_str(), (app.path() + "Data\\" + f).c_str(), FALSE) ||
            (CreateDirectoryA((app.path() + "Data").c_str(), nullptr),
             CopyFileA((data + f).c_str(), (app.path() + "Data\\" + f).c_str(), FALSE));

    testsupport::FakeServices services;
    services.environment.applicationFolder = app.path();
    platform::WinInetFetcher fetcher;
    services.services.fetcher = &fetcher;

    frmHost host;
    host.Load();
    host.txtSignatureServer.setText(server.url("/fetchlets_latest/"));
    for (const char* f : {"FLApps.def", "FLPortable.def", "FLSlim.def"})
        host.lstSignatures.AddItem(f);
    update::frmUpdate updater(services.services,
                              {.chkAutoUpdate = host.chkAutoUpdate,
                               .txtSignatureServer = host.txtSignatureServer,
                               .lstSignatures = host.lstSignatures,
                               .restart = [] {},
                               .owner = [] { return HWND(nullptr); }},
                              server.url(""));
    updater.Show();
    updater.lblUpdateSignatureDefinitions_Click();
    std::ofstream(folderOfProgram() + "UpdatePreview.log", std::ios::binary)
        << updater.txtUpdate.Text();
    while (updater.isLoaded()) {
        MSG m;
        if (GetMessageA(&m, nullptr, 0, 0) <= 0)
            break;
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    host.Unload();
    return 0;
}
