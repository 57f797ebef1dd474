#include "ui/themes.h"

#include "controls/pure/colour.h"

namespace ui {

using controls::rgb;

const Theme kThemes[6] = {
    {"Default", rgb(103, 103, 103), rgb(103, 103, 103), 0, false, 0},
    {"Dark", rgb(0, 0, 0), rgb(133, 133, 133), 6, true, rgb(0, 0, 0)},
    {"Cyan", rgb(27, 161, 226), rgb(27, 161, 226), 0, false, 0},
    {"Magenta", rgb(217, 0, 115), rgb(217, 0, 115), 0, false, 0},
    {"Violet", rgb(170, 0, 255), rgb(170, 0, 255), 0, false, 0},
    {"Brown", rgb(160, 80, 0), rgb(160, 80, 0), 0, false, 0},
};

void Themes::fill() {
    v_.cboTheme.setText("Default");
    for (const Theme& t : kThemes)
        v_.cboTheme.AddItem(t.name);
    v_.cboTheme.setListIndex(0);
}

void Themes::applyChosen() {
    const std::string text = v_.cboTheme.Text();
    for (int i = 0; i < 6; ++i) {
        const Theme& t = kThemes[i];
        if (text != t.name)
            continue;
        if (v_.cboTheme.ListIndex() != i)
            v_.cboTheme.setListIndex(i);
        v_.statusbar.setBackColor(t.statusBack);
        v_.toolbar.setBackColor(t.toolbarBack);
        if (controls::ToolBar* bar = v_.toolbar.bar()) {
            bar->setBackGradient(t.toolbarGradient);
            if (t.setsGradientColour)
                bar->setBackGradientCol(t.toolbarGradientColour);
        }
        return;
    }
}

} // namespace ui
