// The two small pictures of Mendkit's window, drawn at run time at the
// system's small-icon size so they stay sharp at any display resolution.
#pragma once

#include <windows.h>

namespace mendkit {

// A green disc with a white tick: the picture of "Fix Runtime Errors".
HICON makeRepairIcon();
// A blue globe: the picture beside the homepage address.
HICON makeGlobeIcon();

} // namespace mendkit
