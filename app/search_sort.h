// Searching and sorting the catalog lists: the search boxes' find-next
// search over their entry lists, the parenthesis trim the timers apply to
// them, and the A-Z sort of a list.
#pragma once

#include "app/kinds.h"
#include "forms/controls.h"

namespace app {

// Applies the parenthesis trim to a search box's text: the name copied from
// an entry such as "Tool (32-bit)" becomes "Tool ".
void trimSearchBox(forms::TextBox& box);

// A click on a search box: the search starts from the top, the box empties.
void searchBoxClicked(forms::TextBox& box);

// A key that produces a character (Enter and Backspace included) in a search
// box: one search step over the entry list with the text before the key.
void searchBoxKeyPress(forms::TextBox& box, forms::ListBox& entries);

// Sorts a list A-Z by character codes, equal items keeping their order; the
// selection goes, nothing else changes.
void Liste_Sortieren(forms::ListBox& list);

// Wires every kind's search box to its entry list.
void wireSearchBoxes(const Kinds& kinds);

} // namespace app
