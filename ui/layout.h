// The main window's layout applied to its controls: each control onto its
// page at its design place, and the resize rule's writes.
#pragma once

#include "forms/controls.h"

namespace ui {

// Puts every control of the page table onto its page of `outer` (SSTab1) or
// `inner` (SSTab2) and moves every control of the design layout to its
// design rectangle. A name the form does not hold is passed over.
void placeControls(forms::Form& form, forms::PageStack& outer, forms::PageStack& inner);

// The resize rule's writes for the form's present size, SSTab1 at
// `pagesTop`; a write that fails is skipped and the next one runs.
void applyResizeRule(forms::Form& form, int pagesTop);

} // namespace ui
