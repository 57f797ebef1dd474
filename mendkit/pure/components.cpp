#include "mendkit/pure/components.h"

#include <cstdint>

namespace mendkit {

namespace {

std::uint32_t little(std::string_view b, size_t at, size_t bytes) {
    std::uint32_t v = 0;
    for (size_t i = 0; i < bytes; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

} // namespace

Machine peMachine(std::string_view bytes) {
    if (bytes.size() < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z')
        return Machine::unknown;
    const std::uint32_t pe = little(bytes, 0x3C, 4);
    if (pe > bytes.size() || bytes.size() - pe < 6)
        return Machine::unknown;
    if (bytes.substr(pe, 4) != std::string_view("PE\0\0", 4))
        return Machine::unknown;
    switch (little(bytes, pe + 4, 2)) {
    case 0x014C: // IMAGE_FILE_MACHINE_I386
        return Machine::x86;
    case 0x8664: // IMAGE_FILE_MACHINE_AMD64
        return Machine::x64;
    default:
        return Machine::unknown;
    }
}

Placement placementFor(Machine machine, const SystemFolders& folders) {
    // "regsvr32.exe" without a folder is the tool of Mendkit's own kind: the
    // system looks for it in the system folder that Mendkit itself sees.
    const Placement own{folders.system, "regsvr32.exe"};
    if (folders.wow64.empty())
        return own; // 32-bit Windows: one system folder
    if (folders.process64) {
        if (machine == Machine::x86)
            return {folders.wow64, folders.wow64 + "regsvr32.exe"};
        return own;
    }
    // A 32-bit program on 64-bit Windows sees SysWOW64 as its system folder.
    if (machine == Machine::x64 && !folders.windows.empty()) {
        const std::string native = folders.windows + "Sysnative\\";
        return {native, native + "regsvr32.exe"};
    }
    return own;
}

std::string wrapName(const std::string& name, size_t width) {
    if (width < 8 || name.size() <= width)
        return name;
    std::string out;
    size_t pos = 0;
    const size_t line = width;
    while (name.size() - pos > line) {
        // Break after a blank or a separator in the last third of the line
        // when there is one, else in the middle of the word.
        size_t cut = pos + line;
        for (size_t i = pos + line; i > pos + line * 2 / 3; --i) {
            const char c = name[i - 1];
            if (c == ' ' || c == '.' || c == '-' || c == '_' || c == ',') {
                cut = i;
                break;
            }
        }
        out.append(name, pos, cut - pos);
        out += "\r\n";
        pos = cut;
    }
    out.append(name, pos, std::string::npos);
    return out;
}

} // namespace mendkit
