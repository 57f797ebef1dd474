// frmMendkit with recording fakes: real files in temporary folders, the real
// regsvr32.exe of the test's Wine prefix where a registration must really
// happen, and registry keys written by MendkitProbe.ocx.
#include "mendkit/frmMendkit.h"

#include "tests/support/fakes.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

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
                                unsigned long timeoutMs) override {
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
        platform::withTrailingBackslash(platform::systemServices().environment->systemDirectory());
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
    fakes.services.processes = &processes;
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

} // namespace
