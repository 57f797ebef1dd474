// The colour themes of the main window's chrome: the toolbar and the status
// bar. The combo box on the Options page picks one; its list index is what
// the settings keep.
#pragma once

#include "forms/bars.h"
#include "forms/controls.h"

namespace ui {

struct Theme {
    const char* name;
    unsigned long statusBack; // colour values, red in the low byte
    unsigned long toolbarBack;
    long toolbarGradient; // 0 none, 6 diagonal
    bool setsGradientColour;
    unsigned long toolbarGradientColour;
};

// In combo order.
extern const Theme kThemes[6];

struct ThemeView {
    forms::ComboBox& cboTheme;
    forms::ToolBar& toolbar;
    forms::StatusBar& statusbar;
};

class Themes {
  public:
    explicit Themes(ThemeView view) : v_(view) {}

    // Start-up: the combo's text "Default", the six names in order, then the
    // first one selected, which applies it.
    void fill();
    // The combo's selection changed (by the user or by code): the theme whose
    // name equals the combo's text exactly is applied.
    void applyChosen();

  private:
    ThemeView v_;
};

} // namespace ui
