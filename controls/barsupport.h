// Support shared by the toolbar and the status bar: their window class and
// window procedure, fonts from their stored description, the key and
// mouse-button states their events report, mouse tracking and the host's
// font. Their drawing helpers are in offscreen.h.
#pragma once

#include <windows.h>

#include <string>

#include "controls/offscreen.h"
#include "controls/pure/colour.h"
#include "controls/pure/propertybag.h"
#include "controls/window_objects.h"
#include "platform/handles.h"

namespace controls {

// The module (executable or library) the controls are linked into.
HINSTANCE moduleInstance();

// Registers a bar's window class: double clicks reported, and the common
// controls' classes loaded for its tooltips. False when that fails.
bool registerBarClass(const char* className, WNDPROC proc);

// The window procedure of a control class whose object is CreateWindowEx's
// parameter: the window's object from WM_NCCREATE on (setting the object's
// hwnd_), each message then goes to the object's handle(). Once the object
// has let go of the window, messages go to DefWindowProc.
template <class Control>
LRESULT CALLBACK controlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<Control*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        attachObject(hwnd, self);
        self->hwnd_ = hwnd;
    }
    auto* self = objectOf<Control>(hwnd);
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->handle(msg, wParam, lParam);
}

// Destroys a control's window after cutting it from the control object
// (whose destructor is running), so that no message reaches the object.
void destroyControlWindow(HWND hwnd, const void* control);
// The answer to WM_NCDESTROY, the last message of a control's window: cuts the
// window from the control object, clears the object's `hwnd` and lets the
// system finish.
LRESULT endControlWindow(HWND& hwnd, const void* control, UINT msg, WPARAM wParam, LPARAM lParam);

// A font's creation settings from its description (no font is made).
LOGFONTA logFont(const FontDesc& desc);
// A font made from its description; an empty face stands for `fallback`.
// The returned font is owned by the caller (nullptr when `fallback` is used).
HFONT createFont(const FontDesc& desc);
// The description of an existing font (the host's font, for instance).
FontDesc describeFont(HFONT font);

// The Shift (1), Ctrl (2) and Alt (4) keys held now, as the mouse and key
// events report them.
int shiftState();

// The mouse buttons held in a mouse message's wParam: left 1, right 2, middle 4.
int mouseButtons(WPARAM w);
// The button of a button-down or button-up message: left 1, right 2, middle 4.
int messageButton(UINT msg);

// Whether mouse-leave tracking is offered by user32 or the common controls.
bool trackMouseEventAvailable();
// Notes that the pointer is over the window (`hover`) and asks for its
// WM_MOUSELEAVE; true when it was not over it before, the moment for
// MouseEnter.
bool trackMouseEnter(HWND hwnd, bool& hover);
// The font a window's parent uses for its text (WM_GETFONT), or the GUI font.
HFONT hostFont(HWND parent);

// A bar's own font, made from its description and deleted when replaced or
// with the bar; an empty face makes none, the bar then uses its host's font.
class BarFont {
  public:
    void set(const FontDesc& desc);
    // The bar's font, or the font of its parent window without one.
    HFONT orHostFont(HWND parent) const;

  private:
    platform::Font handle_;
};

// The stored "Font" setting, an empty description when missing or unreadable.
FontDesc readFontProperty(const PropertyBag& bag);
// Stores the font; the host's font (an empty face) is stored as no setting.
void writeFontProperty(PropertyBag& bag, const FontDesc& font);

} // namespace controls
