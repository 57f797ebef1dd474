// The toolbar and the status bar as controls of a form: each hosts the custom
// control (controls::ToolBar, controls::StatusBar) the way CommandButton hosts
// the themed button, docks to its edge of the form and raises the control's
// events through function members, so a form declares them like any other
// control:
//
//     forms::ToolBar ToolBar1{*this, "ToolBar1"};
//     forms::StatusBar StatusBar1{*this, "StatusBar1"};
//
// The custom control exists while the form's window does; its design-time
// settings (`Settings`) are read when it is created, so they hold again each
// time the form is loaded.
#pragma once

#include "forms/controls.h"

#include "controls/pure/propertybag.h"
#include "controls/statusbar.h"
#include "controls/toolbar.h"

#include <memory>

namespace forms {

// What the toolbar and the status bar share as controls of a form: the
// custom control `Bar` while the window exists, its design-time settings, the
// form's colours passed on to it, and the events every bar raises.
template <class Bar> class DockedBar : public Control {
  public:
    // The custom control raises no events while it is destroyed, so the
    // subclass's handlers may go before it.
    ~DockedBar() override = default;

    // Design-time settings, read when the control is created (names as the
    // control stores them: "BackColor", "ButtonCaption0", "Theme", ...).
    controls::PropertyBag Settings;

    // The custom control while the window exists, for its other properties.
    Bar* bar() const { return bar_.get(); }

    // The pointer entered or left the bar.
    std::function<void()> MouseEnter;
    std::function<void()> MouseLeave;

  protected:
    DockedBar(Form& form, std::string name, Kind kind, int align, int width, int height);
    // A new custom control raising the events every bar raises; the caller
    // wires the rest and creates its window, then calls created().
    Bar& newBar();
    // The window of the new control, with the form's colours; nothing (and
    // no control) when its creation failed.
    HWND created(bool ok);
    // The settings to create the control with, nothing when there are none.
    const controls::PropertyBag* settings() const { return Settings.size() ? &Settings : nullptr; }
    void onDestroy() override;
    void onColoursChanged() override;

    std::unique_ptr<Bar> bar_;
};

// Creation arguments of a toolbar.
struct ToolBarOptions {
    int align = vbAlignLeft; // the edge it docks to (AlignConstant)
};

// The vertical (or horizontal) bar of captioned buttons. Docked to the left
// edge unless told otherwise; MouseDown, MouseUp and MouseMove report the
// control's own events (MouseMove on every move, after the button under the
// mouse has been found).
class ToolBar : public DockedBar<controls::ToolBar> {
  public:
    ToolBar(Form& form, std::string name, ToolBarOptions options = {});

    // The button under the mouse, -1 for none (also without a window).
    int Button_Index() const;

    // Events, with the index of the button concerned.
    std::function<void(int index)> Click;
    std::function<void(int index)> DblClick;
    std::function<void(int index)> OnButtonHover;

  protected:
    HWND createWindow(HWND parent) override;
};

// Arguments of a new status bar panel; a designated initializer names only
// what differs from the default:
//     StatusBar1.AddPanel({.sText = "0", .bAutoSize = true, .bEditable = true});
using PanelOptions = controls::PanelOptions;

// Creation arguments of a status bar.
struct StatusBarOptions {
    int align = vbAlignBottom; // the edge it docks to (AlignConstant)
};

// The panelled strip docked to the bottom of the form.
class StatusBar : public DockedBar<controls::StatusBar> {
  public:
    StatusBar(Form& form, std::string name, StatusBarOptions options = {});

    // Panels (numbered from 1; an index below 1 is the first panel, above the
    // count the last). Without a window there are no panels: reads give
    // nothing and writes do nothing. Errors of the control reach the caller
    // as controls::StatusBarError.
    void AddPanel(const PanelOptions& args);
    int PanelCount() const;
    void Clear();
    std::string PanelText(int index) const;
    void setPanelText(int index, const std::string& text);

    // Events, in the control's order.
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(int panel)> PanelClick;
    std::function<void(int panel)> PanelDblClick;
    std::function<void(int panel, int button, int shift, int x, int y)> PanelMouseDown;
    std::function<void(int panel, int button, int shift, int x, int y)> PanelMouseMove;
    std::function<void(int panel, int button, int shift, int x, int y)> PanelMouseUp;

  protected:
    HWND createWindow(HWND parent) override;
};

} // namespace forms
