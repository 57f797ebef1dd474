// DDLManagerPreview.exe: the link manager with a few queued links and a
// blacklist entry, for looking at (screenshots); built with the tests, not a
// test itself. The queue lives in a temporary folder removed at the end.
#include "links/frmDDLManager.h"
#include "tests/support/fakes.h"

class Main : public forms::Form {
  public:
    Main() : Form("frmPreviewMain", "Main") {}
    forms::ListBox lstBlacklist{*this, "lstBlacklist"};
};

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    testsupport::TempFolder dir;
    testsupport::FakeServices fakes;
    fakes.environment.applicationFolder = dir.path();
    dir.write("Data\\FLLinks.ddl", "http://downloads.example.org/tools/7z-setup.exe\r\n"
                                   "http://downloads.example.org/tools/notepad-plus-setup.exe\r\n"
                                   "https://mirror.example.net/apps/badtool_setup.exe\r\n"
                                   "http://downloads.example.org/tools/7z-setup.exe\r\n"
                                   "http://files.example.com/portable/browser.paf.exe\r\n");
    Main main;
    main.lstBlacklist.AddItem("badtool");
    links::frmDDLManager f(fakes.services, {main.lstBlacklist});
    f.Show();
    f.lstDDLManager.setListIndex(1);
    f.lstDDLManager.setSelected(3, true);
    int rc = forms::run();
    return rc;
}
