#include "mendkit/frmMendkit.h"

#include "mendkit/pictures.h"
#include "mendkit/pure/components.h"
#include "platform/files.h"

#include <commctrl.h>

#include <vector>

namespace {

// The name under which only one copy of the program runs at a time.
constexpr const char* kInstanceName = "Mendkit";

// A file name without its folder and extension.
std::string fileTitle(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name;
}

} // namespace

frmMendkit::frmMendkit(platform::Services& services)
    : Form("frmMendkit", "Mendkit"), List1(*this, "List1", true),
      Command1(*this, "Command1", "Fix Runtime Errors"), Command2(*this, "Command2", "Exit"),
      ImgHomepage(*this, "ImgHomepage"), lblHomepage(*this, "lblHomepage", kHomepage),
      services_(services) {
    initialWidth_ = 5700;
    initialHeight_ = 5400;
    // Design positions (twips); the resize rule moves them with the window.
    List1.Move(60, 60, initialWidth_ - 350, initialHeight_ - 1500);
    int bottom = List1.Top() + List1.Height();
    Command1.Move(List1.Width() - 1900, bottom + 100, 2100, 450);
    Command2.Move(60, bottom + 100, 1215, 450);
    ImgHomepage.Move(60, bottom + 700, 240, 240);
    lblHomepage.Move(360, bottom + 700, 3000, 240);
    lblHomepage.setForeColor(RGB(0, 102, 204));

    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    lblHomepage.Click = [this] { lblHomepage_Click(); };
}

frmMendkit::~frmMendkit() {
    if (isLoaded())
        Unload(forms::vbFormCode);
}

void frmMendkit::Form_Load() {
    setCaption(fileTitle(services_.environment.programPath()));
    forms::DoEvents();
    if (services_.singleInstance.anotherIsRunning(kInstanceName)) {
        endProgram();
        return;
    }

    programFolder_ = platform::withTrailingBackslash(services_.environment.applicationPath());
    std::string system = services_.environment.systemDirectory();
    // Without a system folder nothing can be repaired; every item then fails.
    systemFolder_ = system.empty() ? std::string() : platform::withTrailingBackslash(system);
    std::string wow64 = services_.environment.wow64Directory();
    wow64Folder_ = wow64.empty() ? std::string() : platform::withTrailingBackslash(wow64);
    std::string windows = services_.environment.windowsDirectory();
    windowsFolder_ = windows.empty() ? std::string() : platform::withTrailingBackslash(windows);

    std::vector<std::string> names = platform::findFiles(programFolder_, "*.OCX");
    if (names.empty()) {
        // The window is not shown yet, so the box has no owner.
        services_.messageBoxes->show(nullptr, "Cannot find any OCX Components in this directory.",
                                     "Mendkit found none OCX Components in root ...",
                                     MB_OK | MB_ICONERROR);
        endProgram();
        return;
    }
    for (const std::string& name : names)
        List1.AddItem(name);
    for (int i = 0; i < List1.ListCount(); ++i)
        List1.setSelected(i, true);

    if (!fixPicture_)
        fixPicture_.reset(mendkit::makeRepairIcon());
    Command1.setPicture(fixPicture_.get());
    LOGFONTA lf{};
    if (!linkFont_ && GetObjectA(forms::defaultFont(), sizeof lf, &lf)) {
        lf.lfUnderline = TRUE;
        linkFont_.reset(CreateFontIndirectA(&lf));
    }
    if (linkFont_ && lblHomepage.hwnd())
        SendMessageA(lblHomepage.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()),
                     TRUE);
    if (!homepagePicture_)
        homepagePicture_.reset(mendkit::makeGlobeIcon());
    if (homepagePicture_)
        ImgHomepage.setIcon(homepagePicture_.get());
    Form_Resize();
}

void frmMendkit::Form_Resize() {
    // Each measure that would come out negative is left as it is.
    int width = Width() - 350;
    int height = Height() - 1500;
    if (width >= 0)
        List1.setWidth(width);
    if (height >= 0)
        List1.setHeight(height);
    int bottom = List1.Top() + List1.Height();
    Command1.setTop(bottom + 100);
    Command2.setTop(bottom + 100);
    Command1.setLeft(List1.Width() - 1900);
    lblHomepage.setTop(bottom + 700);
    ImgHomepage.setTop(bottom + 700);
}

LRESULT frmMendkit::onMessage(UINT msg, WPARAM wp, LPARAM, bool& handled) {
    handled = false;
    // The homepage address behaves as a link: the hand pointer over it.
    if (msg == WM_SETCURSOR && lblHomepage.hwnd() &&
        reinterpret_cast<HWND>(wp) == lblHomepage.hwnd()) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        handled = true;
        return TRUE;
    }
    return 0;
}

void frmMendkit::Form_QueryUnload(int& cancel, int unloadMode) {
    // While a registration runs the window answers and paints, but it stays
    // until the work is done (each registration has its time limit).
    if (busy_ && unloadMode != forms::vbFormCode)
        cancel = 1;
}

bool frmMendkit::repair(const std::string& name) {
    if (systemFolder_.empty())
        return false;
    // The kind of the component decides its system folder: the copy that
    // would be placed, else the listed file itself.
    const std::string source = programFolder_ + "OCX\\" + name;
    std::string head = platform::readFileStart(source, mendkit::kHeaderBytes);
    if (head.empty())
        head = platform::readFileStart(programFolder_ + name, mendkit::kHeaderBytes);
    const mendkit::Placement place =
        mendkit::placementFor(mendkit::peMachine(head),
                              {systemFolder_, wow64Folder_, windowsFolder_, sizeof(void*) == 8});
    const std::string target = place.folder + name;
    if (!platform::fileExists(target) && !platform::copyFile(source, target))
        return false;
    // The path is quoted: a component's file name may contain blanks.
    platform::ProcessResult r =
        services_.processes.run(place.tool + " /s \"" + target + "\"", SW_SHOWMINIMIZED,
                                registrationTimeoutMs, [] { forms::DoEvents(); });
    return r.started && r.finished && r.exitCode == 0;
}

void frmMendkit::Command1_Click() {
    if (busy_)
        return;
    busy_ = true;
    forms::DoEvents();
    bool any = false;
    for (int i = 0; i < List1.ListCount() && !any; ++i)
        any = List1.Selected(i);
    if (!any) {
        services_.messageBoxes->show(window(), "No OCX Components selected.", "",
                                     MB_OK | MB_ICONWARNING);
        busy_ = false;
        return;
    }

    // The window keeps answering while the components are registered; its
    // buttons rest meanwhile.
    Command1.setEnabled(false);
    Command2.setEnabled(false);
    std::vector<std::string> failed;
    for (int i = 0; i < List1.ListCount(); ++i) {
        if (!List1.Selected(i))
            continue;
        std::string name = List1.List(i);
        bool done = repair(name);
        List1.setList(i, name + "\t" + (done ? " Done" : " Failed"));
        if (!done)
            failed.push_back(name);
        if (List1.hwnd())
            UpdateWindow(List1.hwnd());
    }

    if (failed.empty()) {
        services_.messageBoxes->show(
            window(),
            "All selected OCX Components were Registered successfuly. That's it ... closing!", "",
            MB_OK | MB_ICONINFORMATION);
    } else {
        std::string text = "These selected OCX Components could not be registered:\r\n\r\n";
        for (const std::string& name : failed)
            text += mendkit::wrapName(name, kNameWidth) + "\r\n";
        text += "\r\nThat's it ... closing!";
        services_.messageBoxes->show(window(), text, "", MB_OK | MB_ICONWARNING);
    }
    busy_ = false;
    endProgram();
}

void frmMendkit::Command2_Click() {
    if (busy_)
        return;
    endProgram();
}

void frmMendkit::lblHomepage_Click() {
    services_.shell.execute(window(), "Open", kHomepage, "", "", SW_SHOWNORMAL);
}

void frmMendkit::endProgram() {
    Unload(forms::vbFormCode);
}
