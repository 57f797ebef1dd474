// Searching and sorting the catalog lists.
#pragma once

#include "forms/controls.h"

namespace app {

// Applies the parenthesis trim to a search box's text: the name copied from
// an entry such as "Tool (32-bit)" becomes "Tool ".
void trimSearchBox(forms::TextBox& box);

} // namespace app
