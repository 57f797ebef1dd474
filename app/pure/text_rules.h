// Small text rules of the main window, free of any window code.
#pragma once

#include <string>

namespace app {

// "major.minor.revision RC5": the version shown on the About page.
std::string versionText(int major, int minor, int revision);

// A search box keeps only the part of its text before its last "(": applied
// on every timer tick, nothing from the first "(" on survives for long.
// Returns true when the text changed.
bool trimParenthesis(std::string& text);

// The welcome line's acknowledgement text, lines separated by CR LF.
std::string creditsText();

} // namespace app
