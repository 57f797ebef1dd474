// Rules of Mendkit without the system: which kind of machine code a component
// file holds, where a component of that kind belongs and which registration
// tool registers it, and how long names are laid out in a message box.
#pragma once

#include <string>
#include <string_view>

namespace mendkit {

enum class Machine {
    unknown, // not a PE file, or a machine this program does not place
    x86,     // 32-bit
    x64,     // 64-bit
};

// The machine type in the PE header of a file's first bytes (the DOS header,
// and the PE header that its e_lfanew points to; 4 KB are always enough for
// the files a linker writes).
Machine peMachine(std::string_view bytes);

// How many of a file's first bytes peMachine needs at most.
constexpr size_t kHeaderBytes = 4096;

// What the running system offers for registering components.
struct SystemFolders {
    std::string system; // GetSystemDirectory, with a trailing backslash
    std::string wow64; // GetSystemWow64Directory with a trailing backslash; empty on 32-bit Windows
    std::string windows;   // GetWindowsDirectory with a trailing backslash
    bool process64 = true; // whether Mendkit itself runs as a 64-bit program
};

// Where a component goes and the command that registers it from there.
struct Placement {
    std::string folder; // with a trailing backslash
    std::string tool;   // the regsvr32.exe to start
};

// The folder and registration tool for a component of the given machine.
// On 64-bit Windows, 32-bit components belong in the 32-bit system folder
// (SysWOW64) with the 32-bit regsvr32.exe there, and 64-bit components in
// System32 with its own; a 32-bit Mendkit reaches the 64-bit folder through
// "Sysnative". On 32-bit Windows there is only the one folder. A file whose
// machine is unknown is treated as a component of Mendkit's own kind.
Placement placementFor(Machine machine, const SystemFolders& folders);

// A name for a message box: a name longer than `width` characters is broken
// onto further lines (after a blank or a separator near the end of a line
// where there is one), so that the box never grows wider than about `width`
// characters. Nothing of the name is lost.
std::string wrapName(const std::string& name, size_t width);

} // namespace mendkit
