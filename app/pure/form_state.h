// The rules of a window's saved control values, free of any window code: how
// a text is kept on one line of the settings file, the key a control is kept
// under, and whether a stored index or check value can be applied.
#pragma once

#include <string>

namespace app {

// A text box's text on one line: every line break (CR LF, and a lone CR or LF,
// which would otherwise break the file's lines) becomes "~|~".
std::string encodeText(const std::string& text);
// Every "~|~" becomes CR LF, read from the left.
std::string decodeText(const std::string& stored);
// Whether a text comes back from decodeText(encodeText(text)) as it was (its
// line breaks as CR LF). The stored form of a text is the only one there can
// be (every other character stands for itself), so a text cannot be kept
// when the marker appears in it once its breaks are written: a text that
// holds "~|~" itself, or "~|" right before a line break ("a~|" + LF is stored
// as "a~|~|~", which reads back as "a" CR LF "|~"). Such a text cannot be
// told apart from another in the file's format, which older files rely on.
bool canStoreText(const std::string& text);

// The key a control's value is kept under: its name, and for a member of a
// control array its name + "(" + index + ")".
std::string controlKey(const std::string& name, int arrayIndex = -1);

// What restoring a stored value does.
enum class Restore {
    Apply, // set the control to `value`
    Skip,  // leave the control as it is and go on with the next one
    Stop,  // the value cannot be applied: the restore ends here
};
struct RestoreStep {
    Restore action;
    int value = 0;
};

// A list's or combo box's selected index: a number (rounded to a whole
// number, halves to even) not greater than count - 1 is applied, so -1
// clears the selection; a larger one is ignored. Text that is not a number,
// a number beyond the signed 16-bit range and an index below -1 cannot be
// applied.
RestoreStep restoreIndex(const std::string& stored, int count);

// A check box's value: the whole-number part of the stored number, applied
// when it is 0 (unticked), 1 (ticked) or 2 (grey); anything else cannot be
// applied.
RestoreStep restoreCheck(const std::string& stored);

} // namespace app
