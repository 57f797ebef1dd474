// Where the main window's controls sit, as pure functions: the design
// rectangles (twips, relative to the page stack a control sits on, or to the
// client area for the page stack SSTab1 itself), the page of each control,
// and the resize rule that moves and stretches some of them when the window's
// size changes.
#pragma once

#include "ui/pure/pages.h"

#include <string>
#include <vector>

namespace ui {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct Placement {
    std::string control;
    Rect rect;
};

struct PagePlace {
    const char* control;
    Stack stack;
    int page;
};

// The page of each control that sits on a page.
extern const std::vector<PagePlace> kPagePlaces;

// The window's design client area and its outer height at start-up.
inline constexpr int kDesignClientWidth = 12840;
inline constexpr int kDesignClientHeight = 8445;
inline constexpr int kStartHeight = 7890;
// Left edge of the pages, beside the toolbar.
inline constexpr int kPagesLeft = 2040;

// The design rectangle of every control on a page, and of SSTab1 and SSTab2.
std::vector<Placement> designLayout();

// One property write of the resize rule.
enum class Field { Left, Top, Width, Height };
struct Assignment {
    std::string control;
    Field field;
    int value;
    bool operator==(const Assignment&) const = default;
};

// The resize rule for a window of outer size W x H twips whose SSTab1 sits at
// `pagesTop`: the writes in their order. A write whose value would be
// negative is left out, so that its control keeps its last value.
std::vector<Assignment> resizeRule(int W, int H, int pagesTop = 0);

} // namespace ui
