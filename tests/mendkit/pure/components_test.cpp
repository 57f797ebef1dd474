#include "mendkit/pure/components.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

using namespace mendkit;

namespace {

void put(std::string& b, size_t at, std::uint32_t v, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i)
        b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A small PE image as a linker lays it out: DOS header with its stub, the PE
// signature at e_lfanew, the file header with the machine, an optional header
// of the matching kind.
std::string peFile(std::uint16_t machine, std::uint32_t peOffset = 0x80) {
    std::string b(1024, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    put(b, 0x3C, peOffset, 4);
    b.replace(0x40, 39, "This program cannot be run in DOS mode.");
    b.replace(peOffset, 4, std::string("PE\0\0", 4));
    put(b, peOffset + 4, machine, 2);
    put(b, peOffset + 6, 1, 2); // one section
    const bool wide = machine == 0x8664;
    put(b, peOffset + 20, wide ? 240 : 224, 2);     // optional header size
    put(b, peOffset + 22, 0x2102, 2);               // a DLL, executable
    put(b, peOffset + 24, wide ? 0x20B : 0x10B, 2); // PE32+ or PE32
    return b;
}

const SystemFolders k64{"C:\\windows\\system32\\", "C:\\windows\\syswow64\\", "C:\\windows\\",
                        true};

} // namespace

TEST(PeMachine, ReadsBothKindsFromGeneratedFiles) {
    EXPECT_EQ(peMachine(peFile(0x14C)), Machine::x86);
    EXPECT_EQ(peMachine(peFile(0x8664)), Machine::x64);
    EXPECT_EQ(peMachine(peFile(0x14C, 0x200)), Machine::x86); // a longer DOS stub
    EXPECT_EQ(peMachine(peFile(0xAA64)), Machine::unknown);   // ARM64: not placed
    EXPECT_EQ(peMachine(peFile(0x1C0)), Machine::unknown);    // ARM
}

TEST(PeMachine, AnythingElseIsUnknownAndNeverReadPastTheBytes) {
    EXPECT_EQ(peMachine(""), Machine::unknown);
    EXPECT_EQ(peMachine("MZ"), Machine::unknown);
    EXPECT_EQ(peMachine("not a component"), Machine::unknown);
    std::string noSignature = peFile(0x14C);
    noSignature[0x80] = 'N';
    EXPECT_EQ(peMachine(noSignature), Machine::unknown);
    std::string notMz = peFile(0x8664);
    notMz[0] = 'Z';
    EXPECT_EQ(peMachine(notMz), Machine::unknown);
    // e_lfanew pointing at or past the end, or so near it that the machine
    // field would be cut.
    for (std::uint32_t offset : {1024u, 1020u, 1019u, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
        std::string b = peFile(0x14C);
        put(b, 0x3C, offset, 4);
        EXPECT_EQ(peMachine(b), Machine::unknown) << offset;
    }
    // The header cut right after the machine field still answers.
    std::string cut = peFile(0x14C).substr(0, 0x80 + 6);
    EXPECT_EQ(peMachine(cut), Machine::x86);
    EXPECT_EQ(peMachine(cut.substr(0, cut.size() - 1)), Machine::unknown);
}

TEST(Placement, On64BitWindows32BitComponentsGoToSysWow64WithItsTool) {
    Placement p = placementFor(Machine::x86, k64);
    EXPECT_EQ(p.folder, "C:\\windows\\syswow64\\");
    EXPECT_EQ(p.tool, "C:\\windows\\syswow64\\regsvr32.exe");
    for (Machine m : {Machine::x64, Machine::unknown}) {
        p = placementFor(m, k64);
        EXPECT_EQ(p.folder, "C:\\windows\\system32\\");
        EXPECT_EQ(p.tool, "regsvr32.exe"); // Mendkit's own kind, from its system folder
    }
    // The same machine read from generated files.
    EXPECT_EQ(placementFor(peMachine(peFile(0x14C)), k64).folder, k64.wow64);
    EXPECT_EQ(placementFor(peMachine(peFile(0x8664)), k64).folder, k64.system);
}

TEST(Placement, A32BitMendkitReaches64BitComponentsThroughSysnative) {
    SystemFolders f = k64;
    f.process64 = false;
    f.system = "C:\\windows\\system32\\"; // what a 32-bit program is told
    Placement p = placementFor(Machine::x64, f);
    EXPECT_EQ(p.folder, "C:\\windows\\Sysnative\\");
    EXPECT_EQ(p.tool, "C:\\windows\\Sysnative\\regsvr32.exe");
    p = placementFor(Machine::x86, f);
    EXPECT_EQ(p.folder, f.system);
    EXPECT_EQ(p.tool, "regsvr32.exe");
}

TEST(Placement, On32BitWindowsThereIsOnlyOneFolder) {
    SystemFolders f{"C:\\WINDOWS\\system32\\", "", "C:\\WINDOWS\\", false};
    for (Machine m : {Machine::x86, Machine::x64, Machine::unknown}) {
        Placement p = placementFor(m, f);
        EXPECT_EQ(p.folder, f.system);
        EXPECT_EQ(p.tool, "regsvr32.exe");
    }
}

TEST(WrapName, ShortNamesStayAsTheyAre) {
    EXPECT_EQ(wrapName("MSCOMCTL.OCX", 48), "MSCOMCTL.OCX");
    EXPECT_EQ(wrapName(std::string(48, 'a'), 48), std::string(48, 'a'));
}

TEST(WrapName, LongNamesBreakIntoLinesWithNothingLost) {
    const std::string name = std::string(246, 'x') + ".ocx"; // 250 characters
    const std::string wrapped = wrapName(name, 48);
    std::vector<std::string> lines;
    std::string all;
    std::istringstream in(wrapped);
    for (std::string line; std::getline(in, line);) {
        ASSERT_FALSE(line.empty());
        ASSERT_EQ(line.back(), lines.size() < 5 ? '\r' : 'x');
        if (line.back() == '\r')
            line.pop_back();
        EXPECT_LE(line.size(), 48u) << line;
        lines.push_back(line);
        all += line;
    }
    EXPECT_EQ(lines.size(), 6u); // 5 x 48 + 10
    EXPECT_EQ(all, name);
    // Breaks fall after a blank or a separator near the end of a line.
    const std::string words = "A rather long component name with words - version 2_0 of the "
                              "common controls library for the old runtime.ocx";
    const std::string w = wrapName(words, 40);
    EXPECT_EQ(w.substr(0, w.find('\r')), "A rather long component name with words ");
    std::string joined;
    for (size_t pos = 0;;) {
        size_t nl = w.find("\r\n", pos);
        joined += w.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (nl == std::string::npos)
            break;
        pos = nl + 2;
    }
    EXPECT_EQ(joined, words);
}
