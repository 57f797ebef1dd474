// frmMendkit with recording fakes: real files in temporary folders, the real
// regsvr32.exe of the test's Wine prefix where a registration must really
// happen, and registry keys written by MendkitProbe.ocx.
#include "mendkit/frmMendkit.h"

#include "tests/support/fakes.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <atomic>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

using testsupport::FakeServices;
using testsupport::TempFolder;

namespace {

const char* const kAllRegistered =
    "All selected OCX Components were Registered successfuly. That's it ... closing!";
const char* const kProbeKey = "Software\\Fetchlets Tests\\Mendkit Probe\\";

std::string testFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1);
}

std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f << bytes;
}

// The bytes of the built test component.
const std::string& probeBytes() {
    static std::string bytes = readFile(testFolder() + "probe\\MendkitProbe.ocx");
    return bytes;
}

// The path the probe registered under `name` wrote, or empty when no key.
std::string registeredPath(const std::string& name) {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, (kProbeKey + name).c_str(), "Path", RRF_RT_REG_SZ, nullptr,
                     value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

// Message boxes that also let a test look at the window while a box is up
// (the closing box comes just before the window goes).
class WatchedBoxes : public testsupport::FakeMessageBoxes {
  public:
    int show(HWND owner, const std::string& text, const std::string& title,
             unsigned flags) override {
        if (whileShown)
            whileShown();
        return FakeMessageBoxes::show(owner, text, title, flags);
    }
    std::function<void()> whileShown;
};

// Answers each start from a script, in order.
class ScriptedProcesses : public testsupport::FakeProcesses {
  public:
    platform::ProcessResult run(const std::string& commandLine, int showCommand,
                                unsigned long timeoutMs,
                                const std::function<void()>& = {}) override {
        calls.push_back({commandLine, showCommand, timeoutMs});
        if (answers.empty())
            return {true, true, 0};
        platform::ProcessResult r = answers.front();
        answers.erase(answers.begin());
        return r;
    }
    std::vector<platform::ProcessResult> answers;
};

class MendkitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(probeBytes().empty()) << "the test component was not built";
        fakes.environment.applicationFolder = app.path();
        fakes.environment.programName = "Mendkit.exe";
        fakes.environment.systemFolder = system.path();
        fakes.services.messageBoxes = &boxes;
    }

    std::unique_ptr<frmMendkit> load() {
        // A form unloaded by an earlier test asked this thread's loop to quit;
        // the test's thread has no loop to end, and a pending quit would stop
        // the waits and boxes of this one.
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        auto form = std::make_unique<frmMendkit>(fakes.services);
        form->Load();
        return form;
    }

    std::vector<std::string> items(const frmMendkit& form) const {
        std::vector<std::string> v;
        for (int i = 0; i < form.List1.ListCount(); ++i)
            v.push_back(form.List1.List(i));
        return v;
    }

    TempFolder app;
    TempFolder system; // stands for the system folder unless a test uses the real one
    FakeServices fakes;
    WatchedBoxes boxes;
};

TEST_F(MendkitTest, ListsTheComponentsOfItsFolderSortedAndTicked) {
    app.write("MkProbe Zulu.ocx", probeBytes());
    app.write("mkprobe alpha.OCX", probeBytes());
    app.write("readme.txt", "not a component");
    app.write("folder.ocx\\inner.txt", "a folder is no component");

    auto form = load();
    ASSERT_TRUE(form->isLoaded());
    EXPECT_EQ(form->Caption(), "Mendkit");
    EXPECT_EQ(fakes.singleInstance.asked, std::vector<std::string>{"Mendkit"});
    EXPECT_EQ(form->programFolder(), app.path());
    EXPECT_EQ(form->systemFolder(), system.path());
    // Sorted by name regardless of case, not by character code.
    EXPECT_EQ(items(*form), (std::vector<std::string>{"mkprobe alpha.OCX", "MkProbe Zulu.ocx"}));
    EXPECT_TRUE(form->List1.Selected(0));
    EXPECT_TRUE(form->List1.Selected(1));
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_TRUE(fakes.processes.calls.empty());
    EXPECT_EQ(form->Command1.Caption(), "Fix Runtime Errors");
    EXPECT_TRUE(form->Command1.Enabled());
    EXPECT_EQ(form->Command2.Caption(), "Exit");
    EXPECT_EQ(form->lblHomepage.Caption(), frmMendkit::kHomepage);
}

TEST_F(MendkitTest, AFolderWithoutComponentsShowsTheErrorAndEnds) {
    app.write("readme.txt", "not a component");
    app.write("OCX\\Hidden.ocx", probeBytes()); // the copy sources are not listed

    auto form = load();
    EXPECT_FALSE(form->isLoaded());
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, "Cannot find any OCX Components in this directory.");
    EXPECT_EQ(boxes.calls[0].title, "Mendkit found none OCX Components in root ...");
    EXPECT_EQ(boxes.calls[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
    EXPECT_TRUE(fakes.processes.calls.empty());
}

TEST_F(MendkitTest, ASecondInstanceEndsSilently) {
    app.write("One.ocx", probeBytes());
    fakes.singleInstance.another = true;

    auto form = load();
    EXPECT_FALSE(form->isLoaded());
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(form->List1.ListCount(), 0);
}

TEST_F(MendkitTest, NothingTickedWarnsAndChangesNothingUntilSomethingIsTicked) {
    app.write("One.ocx", probeBytes());
    app.write("Two.ocx", probeBytes());
    app.write("OCX\\One.ocx", probeBytes());
    app.write("OCX\\Two.ocx", probeBytes());
    auto form = load();
    ASSERT_TRUE(form->isLoaded());
    form->List1.setSelected(0, false);
    form->List1.setSelected(1, false);

    form->Command1.Click();
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, "No OCX Components selected.");
    EXPECT_EQ(boxes.calls[0].title, "");
    EXPECT_EQ(boxes.calls[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONWARNING));
    EXPECT_TRUE(fakes.processes.calls.empty());
    EXPECT_TRUE(form->isLoaded());
    EXPECT_TRUE(form->Command1.Enabled());
    EXPECT_EQ(items(*form), (std::vector<std::string>{"One.ocx", "Two.ocx"}));
    EXPECT_FALSE(platform::fileExists(system.path() + "One.ocx"));
    EXPECT_FALSE(platform::fileExists(system.path() + "Two.ocx"));

    // The user ticks one and tries again: only that one is repaired.
    form->List1.setSelected(1, true);
    std::vector<std::string> shown;
    boxes.whileShown = [&] { shown = items(*form); };
    form->Command1.Click();
    EXPECT_EQ(shown, (std::vector<std::string>{"One.ocx", "Two.ocx\t Done"}));
    ASSERT_EQ(fakes.processes.calls.size(), 1u);
    EXPECT_EQ(fakes.processes.calls[0].commandLine,
              "regsvr32.exe /s \"" + system.path() + "Two.ocx\"");
    EXPECT_FALSE(platform::fileExists(system.path() + "One.ocx"));
    EXPECT_EQ(readFile(system.path() + "Two.ocx"), probeBytes());
    ASSERT_EQ(boxes.calls.size(), 2u);
    EXPECT_EQ(boxes.calls[1].text, kAllRegistered);
    EXPECT_FALSE(form->isLoaded());
}

// Removes what a test put into the real system folder and the registry.
struct SystemFolderCleanup {
    std::string folder;
    std::vector<std::string> names;
    void clean() const {
        for (const std::string& n : names) {
            DeleteFileA((folder + n).c_str());
            RegDeleteKeyA(HKEY_CURRENT_USER, (kProbeKey + n).c_str());
        }
    }
    ~SystemFolderCleanup() {
        clean();
        // The parents go too once empty (a key with subkeys is not deleted).
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Fetchlets Tests\\Mendkit Probe");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Fetchlets Tests");
    }
};

TEST_F(MendkitTest, CopiesMissingComponentsIntoTheSystemFolderAndRegistersThemAll) {
    // The real system folder of the Wine prefix and the real regsvr32.exe.
    fakes.environment.systemFolder.clear();
    fakes.processes.passThrough = true;
    std::string sys =
        platform::withTrailingBackslash(platform::systemServices().environment.systemDirectory());
    ASSERT_GT(sys.size(), 1u);
    const std::string missing = "mkprobe alpha.ocx"; // blanks need the quoted path
    const std::string present = "MkProbe Zulu.ocx";
    SystemFolderCleanup cleanup{sys, {missing, present}};
    cleanup.clean();

    app.write(missing, "listed only");
    app.write(present, "listed only");
    app.write("OCX\\" + missing, probeBytes());
    // Were the present one copied again, this would replace a working component.
    app.write("OCX\\" + present, "not a component");
    writeFile(sys + present, probeBytes());

    auto form = load();
    ASSERT_TRUE(form->isLoaded());
    EXPECT_EQ(form->systemFolder(), sys);
    std::vector<std::string> shown;
    boxes.whileShown = [&] { shown = items(*form); };
    form->Command1.Click();

    EXPECT_EQ(shown, (std::vector<std::string>{missing + "\t Done", present + "\t Done"}));
    EXPECT_EQ(readFile(sys + missing), probeBytes());
    EXPECT_EQ(readFile(sys + present), probeBytes());
    EXPECT_EQ(registeredPath(missing), sys + missing);
    EXPECT_EQ(registeredPath(present), sys + present);
    ASSERT_EQ(fakes.processes.calls.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const std::string& name = i == 0 ? missing : present;
        EXPECT_EQ(fakes.processes.calls[i].commandLine, "regsvr32.exe /s \"" + sys + name + "\"");
        EXPECT_EQ(fakes.processes.calls[i].showCommand, SW_SHOWMINIMIZED);
        EXPECT_GT(fakes.processes.calls[i].timeoutMs, 0u);
    }
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, kAllRegistered);
    EXPECT_EQ(boxes.calls[0].title, "");
    EXPECT_EQ(boxes.calls[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONINFORMATION));
    EXPECT_FALSE(form->Command1.Enabled());
    EXPECT_FALSE(form->isLoaded());
}

TEST_F(MendkitTest, AComponentThatCannotBeCopiedIsMarkedFailedAndNamed) {
    app.write("Broken.ocx", "listed only");
    app.write("Good.ocx", "listed only");
    app.write("OCX\\Good.ocx", probeBytes()); // no source for Broken.ocx

    auto form = load();
    ASSERT_TRUE(form->isLoaded());
    std::vector<std::string> shown;
    boxes.whileShown = [&] { shown = items(*form); };
    form->Command1.Click();

    EXPECT_EQ(shown, (std::vector<std::string>{"Broken.ocx\t Failed", "Good.ocx\t Done"}));
    // Nothing to register where the copy failed.
    ASSERT_EQ(fakes.processes.calls.size(), 1u);
    EXPECT_EQ(fakes.processes.calls[0].commandLine,
              "regsvr32.exe /s \"" + system.path() + "Good.ocx\"");
    EXPECT_FALSE(platform::fileExists(system.path() + "Broken.ocx"));
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, "These selected OCX Components could not be registered:\r\n\r\n"
                                   "Broken.ocx\r\n\r\nThat's it ... closing!");
    EXPECT_EQ(boxes.calls[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONWARNING));
    EXPECT_FALSE(form->isLoaded());
}

TEST_F(MendkitTest, ARegistrationThatFailsOrDoesNotEndIsMarkedFailed) {
    ScriptedProcesses processes;
    processes.answers = {{true, true, 3}, {true, false, 0}, {false, false, 0}, {true, true, 0}};
    fakes.processes.target = &processes;
    for (const char* name : {"A.ocx", "B.ocx", "C.ocx", "D.ocx"}) {
        app.write(name, "listed only");
        writeFile(system.path() + name, probeBytes());
    }

    auto form = load();
    ASSERT_TRUE(form->isLoaded());
    std::vector<std::string> shown;
    boxes.whileShown = [&] { shown = items(*form); };
    form->Command1.Click();

    EXPECT_EQ(shown, (std::vector<std::string>{"A.ocx\t Failed", "B.ocx\t Failed", "C.ocx\t Failed",
                                               "D.ocx\t Done"}));
    EXPECT_EQ(processes.calls.size(), 4u);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, "These selected OCX Components could not be registered:\r\n\r\n"
                                   "A.ocx\r\nB.ocx\r\nC.ocx\r\n\r\nThat's it ... closing!");
}

TEST_F(MendkitTest, TheRealRegsvr32ReportsAFileThatIsNoComponent) {
    fakes.processes.passThrough = true;
    app.write("Bogus.ocx", "listed only");
    writeFile(system.path() + "Bogus.ocx", "not a component");

    auto form = load();
    ASSERT_TRUE(form->isLoaded());
    std::vector<std::string> shown;
    boxes.whileShown = [&] { shown = items(*form); };
    form->Command1.Click();

    EXPECT_EQ(shown, std::vector<std::string>{"Bogus.ocx\t Failed"});
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_NE(boxes.calls[0].text.find("Bogus.ocx"), std::string::npos);
}

TEST_F(MendkitTest, ExitEndsAtOnceAndTheHomepageOpensInTheBrowser) {
    app.write("One.ocx", probeBytes());
    auto form = load();
    ASSERT_TRUE(form->isLoaded());

    form->lblHomepage.Click();
    ASSERT_EQ(fakes.shell.calls.size(), 1u);
    EXPECT_EQ(fakes.shell.calls[0].verb, "Open");
    EXPECT_EQ(fakes.shell.calls[0].file, frmMendkit::kHomepage);
    EXPECT_EQ(fakes.shell.calls[0].parameters, "");
    EXPECT_EQ(fakes.shell.calls[0].directory, "");
    EXPECT_EQ(fakes.shell.calls[0].showCommand, SW_SHOWNORMAL);
    EXPECT_TRUE(form->isLoaded());

    form->Command2.Click();
    EXPECT_FALSE(form->isLoaded());
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_TRUE(fakes.processes.calls.empty());
    EXPECT_FALSE(platform::fileExists(system.path() + "One.ocx"));
}

TEST_F(MendkitTest, ResizingMovesTheControlsWithTheWindow) {
    app.write("One.ocx", probeBytes());
    auto form = load();
    ASSERT_TRUE(form->isLoaded());

    form->Move(form->Left(), form->Top(), 7200, 6600);
    testsupport::pumpMessages(50);
    const int width = form->Width(), height = form->Height(); // as the system rounded them
    EXPECT_EQ(form->List1.Width(), width - 350);
    EXPECT_EQ(form->List1.Height(), height - 1500);
    const int bottom = form->List1.Top() + form->List1.Height();
    EXPECT_EQ(form->Command1.Top(), bottom + 100);
    EXPECT_EQ(form->Command2.Top(), bottom + 100);
    EXPECT_EQ(form->Command1.Left(), form->List1.Width() - 1900);
    EXPECT_EQ(form->lblHomepage.Top(), bottom + 700);
    EXPECT_EQ(form->ImgHomepage.Top(), bottom + 700);

    // Too small for the list: its size stays, the rest follows it.
    const int listHeight = form->List1.Height();
    form->Move(form->Left(), form->Top(), 3000, 1200);
    testsupport::pumpMessages(50);
    EXPECT_EQ(form->List1.Height(), listHeight);
    EXPECT_EQ(form->Command1.Top(), form->List1.Top() + listHeight + 100);
}

// A small PE file of the given machine: enough header for the kind to be read.
std::string peFile(unsigned machine) {
    std::string b(512, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    b[0x3C] = static_cast<char>(0x80);
    b.replace(0x80, 4, std::string("PE\0\0", 4));
    b[0x84] = static_cast<char>(machine & 0xFF);
    b[0x85] = static_cast<char>(machine >> 8);
    return b;
}

TEST_F(MendkitTest, EachComponentGoesToTheSystemFolderOfItsKindWithItsOwnTool) {
    TempFolder wow64; // stands for SysWOW64
    fakes.environment.wow64Folder = wow64.path().substr(0, wow64.path().size() - 1);
    app.write("Old32.ocx", "listed only");
    app.write("OCX\\Old32.ocx", peFile(0x14C));
    app.write("New64.ocx", "listed only");
    app.write("OCX\\New64.ocx", peFile(0x8664));
    app.write("Listed32.ocx", peFile(0x14C)); // no copy source: the listed file tells
    writeFile(wow64.path() + "Listed32.ocx", peFile(0x14C));

    auto form = load();
    ASSERT_TRUE(form->isLoaded());
    form->Command1.Click();

    ASSERT_EQ(fakes.processes.calls.size(), 3u);
    // Sorted: Listed32, New64, Old32.
    EXPECT_EQ(fakes.processes.calls[0].commandLine,
              wow64.path() + "regsvr32.exe /s \"" + wow64.path() + "Listed32.ocx\"");
    EXPECT_EQ(fakes.processes.calls[1].commandLine,
              "regsvr32.exe /s \"" + system.path() + "New64.ocx\"");
    EXPECT_EQ(fakes.processes.calls[2].commandLine,
              wow64.path() + "regsvr32.exe /s \"" + wow64.path() + "Old32.ocx\"");
    EXPECT_EQ(readFile(wow64.path() + "Old32.ocx"), peFile(0x14C));
    EXPECT_EQ(readFile(system.path() + "New64.ocx"), peFile(0x8664));
    EXPECT_FALSE(platform::fileExists(system.path() + "Old32.ocx"));
    EXPECT_FALSE(platform::fileExists(wow64.path() + "New64.ocx"));
    EXPECT_FALSE(platform::fileExists(system.path() + "Listed32.ocx"));

    // On 32-bit Windows there is only the one folder.
    app.write("Second.ocx", "listed only");
    app.write("OCX\\Second.ocx", peFile(0x14C));
    fakes.environment.wow64Folder = "";
    fakes.processes.calls.clear();
    auto again = load();
    ASSERT_TRUE(again->isLoaded());
    for (int i = 0; i < again->List1.ListCount(); ++i)
        again->List1.setSelected(i, again->List1.List(i) == "Second.ocx");
    again->Command1.Click();
    ASSERT_EQ(fakes.processes.calls.size(), 1u);
    EXPECT_EQ(fakes.processes.calls[0].commandLine,
              "regsvr32.exe /s \"" + system.path() + "Second.ocx\"");
}

// The id written by a hanging registration of `name`, or 0.
DWORD hangingPid(const std::string& name) {
    DWORD pid = 0;
    DWORD size = sizeof pid;
    if (RegGetValueA(HKEY_CURRENT_USER, (kProbeKey + name).c_str(), "Pid", RRF_RT_REG_DWORD,
                     nullptr, &pid, &size) != ERROR_SUCCESS)
        return 0;
    return pid;
}

TEST_F(MendkitTest, AHangingRegistrationIsEndedAtItsTimeLimitWhileTheWindowAnswers) {
    // The real regsvr32.exe on a component that never returns from its
    // registration.
    fakes.processes.passThrough = true;
    const std::string name = "Hang Probe.ocx";
    SystemFolderCleanup cleanup{system.path(), {name}};
    cleanup.clean();
    app.write(name, "listed only");
    writeFile(system.path() + name, probeBytes());

    auto form = load();
    ASSERT_TRUE(form->isLoaded());
    form->Show();
    form->registrationTimeoutMs = 2000;
    const HWND window = form->hwnd();

    // Another thread asks the window to answer while the registration waits.
    std::atomic<int> answered{0}, asked{0};
    std::atomic<bool> done{false};
    std::thread prober([&] {
        while (!done) {
            Sleep(250);
            if (done)
                break;
            ++asked;
            DWORD_PTR r = 0;
            if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &r))
                ++answered;
        }
    });
    std::vector<std::string> shown;
    DWORD pidWhileShown = 0;
    boxes.whileShown = [&] {
        shown = items(*form);
        pidWhileShown = hangingPid(name);
        done = true;
    };
    const DWORD start = GetTickCount();
    form->Command1.Click();
    const DWORD took = GetTickCount() - start;
    done = true;
    prober.join();

    EXPECT_EQ(shown, std::vector<std::string>{name + "\t Failed"});
    EXPECT_GE(took, 1800u);
    EXPECT_LT(took, 15000u);
    // The window answered every time it was asked during the wait.
    EXPECT_GE(asked.load(), 3);
    EXPECT_EQ(answered.load(), asked.load());
    // The registration did start, and its process is gone.
    ASSERT_NE(pidWhileShown, 0u) << "the hanging registration never ran";
    HANDLE p = OpenProcess(SYNCHRONIZE, FALSE, pidWhileShown);
    if (p) {
        EXPECT_EQ(WaitForSingleObject(p, 0), WAIT_OBJECT_0) << "regsvr32.exe still runs";
        if (WaitForSingleObject(p, 0) != WAIT_OBJECT_0) {
            HANDLE kill = OpenProcess(PROCESS_TERMINATE, FALSE, pidWhileShown);
            if (kill) {
                TerminateProcess(kill, 1);
                CloseHandle(kill);
            }
        }
        CloseHandle(p);
    }
}

TEST_F(MendkitTest, WhileRegisteringTheButtonsRestAndTheWindowDoesNotClose) {
    app.write("One.ocx", "listed only");
    writeFile(system.path() + "One.ocx", probeBytes());
    // A process that answers after the window was asked to close.
    class Closing : public testsupport::FakeProcesses {
      public:
        platform::ProcessResult run(const std::string& c, int s, unsigned long t,
                                    const std::function<void()>& whileWaiting) override {
            calls.push_back({c, s, t});
            buttonsEnabled = form->Command1.Enabled() || form->Command2.Enabled();
            PostMessageA(form->hwnd(), WM_CLOSE, 0, 0);
            if (whileWaiting)
                whileWaiting();
            stillLoaded = form->isLoaded();
            return {true, true, 0};
        }
        frmMendkit* form = nullptr;
        bool buttonsEnabled = true, stillLoaded = false;
    } processes;
    fakes.processes.target = &processes;
    auto form = load();
    ASSERT_TRUE(form->isLoaded());
    processes.form = form.get();
    form->Command1.Click();
    ASSERT_EQ(processes.calls.size(), 1u);
    EXPECT_FALSE(processes.buttonsEnabled);
    EXPECT_TRUE(processes.stillLoaded);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, kAllRegistered);
    EXPECT_FALSE(form->isLoaded());
}

// Message boxes shown for real; each box is measured and closed by a timer
// of the test's thread while it is up.
class MeasuredBoxes : public testsupport::FakeMessageBoxes {
  public:
    int show(HWND owner, const std::string& text, const std::string& title,
             unsigned flags) override {
        FakeMessageBoxes::show(owner, text, title, flags);
        current = this;
        UINT_PTR timer = SetTimer(nullptr, 0, 100, &MeasuredBoxes::tick);
        int r = platform::systemServices().messageBoxes->show(owner, text, title, flags);
        KillTimer(nullptr, timer);
        current = nullptr;
        return r;
    }
    std::vector<RECT> boxes;

  private:
    static inline MeasuredBoxes* current = nullptr;
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND h, LPARAM) -> BOOL {
                char cls[16] = {};
                GetClassNameA(h, cls, sizeof cls);
                if (std::string(cls) == "#32770" && IsWindowVisible(h) && current) {
                    RECT r;
                    GetWindowRect(h, &r);
                    current->boxes.push_back(r);
                    PostMessageA(h, WM_COMMAND, IDOK, 0);
                    return FALSE;
                }
                return TRUE;
            },
            0);
    }
};

TEST_F(MendkitTest, TheClosingBoxStaysNarrowerThanTheScreenForVeryLongNames) {
    MeasuredBoxes measured;
    fakes.services.messageBoxes = &measured;
    const std::string name = std::string(246, 'N') + ".ocx"; // 250 characters
    app.write(name, "listed only"); // no copy source: it fails and is named
    auto form = load();
    ASSERT_TRUE(form->isLoaded());
    form->Command1.Click();
    ASSERT_EQ(measured.calls.size(), 1u);
    // Every character of the name is still there, wrapped over lines.
    std::string text = measured.calls[0].text, joined;
    for (char c : text)
        if (c == 'N')
            joined += c;
    EXPECT_EQ(joined.size(), 246u);
    ASSERT_EQ(measured.boxes.size(), 1u) << "the box was not seen";
    const RECT& r = measured.boxes[0];
    EXPECT_LE(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GE(r.left, 0);
}

} // namespace
