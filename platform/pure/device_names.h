// Names that Windows takes for a device rather than a file in a folder.
#pragma once

#include <string_view>

namespace platform {

// Whether a file name opens a device: its part before the first dot, without
// trailing blanks and in any letter case, is CON, PRN, AUX, NUL, CONIN$,
// CONOUT$, or COM or LPT followed by one digit 0-9 or a superscript 1, 2 or 3
// (in UTF-8 or in the ANSI code page 1252). "con .txt" and "COM1.log" are
// devices; "console.txt" and "COM10" are not.
bool isDeviceName(std::string_view fileName);

} // namespace platform
