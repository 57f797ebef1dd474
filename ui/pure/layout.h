// Where the main window's controls sit, as a pure function: the page stack's
// size in, each control's rectangle (twips, relative to the page stack it
// sits on) out. Which page holds which control is told by kPagePlaces.
#pragma once

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

// Outer page stack SSTab1 and inner page stack SSTab2 (on SSTab1's page 6).
enum class Stack { Outer, Inner };

struct PagePlace {
    const char* control;
    Stack stack;
    int page;
};

// The page of each control that sits on a page.
extern const std::vector<PagePlace> kPagePlaces;

// The rectangles of the controls on the pages for a page stack SSTab1 of
// outerWidth x outerHeight twips. SSTab2 itself is among them.
std::vector<Placement> mainWindowLayout(int outerWidth, int outerHeight);

} // namespace ui
