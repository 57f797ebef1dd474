// A window's geometry record in the settings file: "Left", "Top", "Height"
// and "Width" in twips under a section of the window's own.
#pragma once

#include "forms/form.h"

#include <string>

namespace forms {

// Restores the four keys in that order. A key that is absent or not numeric
// leaves its property as it is; a value that cannot be applied (beyond the
// signed 16-bit range, or a width or height of no usable window: zero or
// less, or below the system's smallest window) ends the restore there. Returns false when it ended
// that way. A window that then lies wholly outside every monitor (one since
// removed) is moved onto the nearest monitor's work area.
bool RestoreGeometry(Form& form, const std::string& settingsFile, const std::string& section);

// Writes the four keys, in that order, as decimal text. False when the
// settings file could not be written.
bool SaveGeometry(Form& form, const std::string& settingsFile, const std::string& section);

// Moves a window that lies wholly outside every monitor onto the nearest
// monitor's work area; a window partly on screen stays where it is.
void keepOnScreen(Form& form);

} // namespace forms
