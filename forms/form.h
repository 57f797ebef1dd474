// A small form runtime over Win32: a top-level window ("form") that owns its
// controls in creation order, measured in twips, with events delivered to
// handler functions. A form's window class is named as the form.
#pragma once

#include "platform/handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace forms {

class Control;
class Timer;

// Screen resolution used for twips conversions (read once from the display).
int screenDpi();
int toPixels(int twips);
int toTwips(int pixels);

// The font every standard control uses: the system's message font, at the
// screen's resolution or at `dpi` dots per inch.
HFONT defaultFont();
HFONT defaultFont(int dpi);

// Unload modes passed to Form_QueryUnload, as the caller of the close.
enum UnloadMode { vbFormControlMenu = 0, vbFormCode = 1, vbAppWindows = 2, vbAppTaskManager = 3 };

class Form {
  public:
    Form(std::string name, std::string caption);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }

    // The window, loading the form first (creating the window and its
    // controls and running Form_Load) when it is not loaded.
    HWND window();
    void Load() { window(); }
    // The window while the form is loaded; null otherwise (loads nothing).
    HWND hwnd() const { return hwnd_; }
    bool isLoaded() const { return hwnd_ != nullptr; }

    // Shows the window modeless, owned by `owner` when given.
    void Show(Form* owner = nullptr);
    void Show(HWND owner);
    void Hide();
    // Closes from code: Form_QueryUnload(vbFormCode), Form_Unload, then the
    // window is destroyed. Returns false when a handler cancelled the close.
    bool Unload(int mode = vbFormCode);
    bool Visible() const;

    // Outer window geometry in twips.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void setLeft(int twips);
    void setTop(int twips);
    void setWidth(int twips);
    void setHeight(int twips);
    void Move(int left, int top, int width, int height);
    // The window's resolution in dots per inch (the screen's until the system
    // reports a change) and twips conversions at it.
    int dpi() const { return dpi_ ? dpi_ : screenDpi(); }
    int pixels(int twips) const;
    int twips(int pixels) const;
    // Client area in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;

    std::string Caption() const { return caption_; }
    void setCaption(const std::string& text);

    // Controls in creation order (the order of their declaration).
    const std::vector<Control*>& controls() const { return controls_; }
    Control* control(const std::string& name) const;

    // Keyboard focus to the form's window (or its first focusable control).
    void SetFocus();

    // Places the docked controls (Control::Align) along the client area's
    // edges; runs on every size change before Form_Resize.
    void dockControls();

    // The form behind a top-level window of the runtime, or nothing. Forms
    // are recognised by a property of their window, so that a control hooking
    // the form's window procedure does not hide it.
    static Form* fromWindow(HWND h);

    // Turns to the next (or previous) page of the form's first shown page
    // stack; false when it has none.
    bool nextPage(bool backwards);

    // Keyboard handling of a message loop before dispatch: Ctrl+Tab turns
    // pages, Tab and the arrows move between controls. True when consumed.
    static bool preTranslate(MSG& m);

  protected:
    virtual void Form_Initialize() {}
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {}
    virtual void Form_Unload(int& /*cancel*/) {}
    virtual void Form_Resize() {}
    // A key message for any of the form's windows, before the focused control
    // sees it; true when the form consumed it.
    virtual bool Form_KeyPreview(const MSG&) { return false; }
    // The window moved to a screen of another resolution; the controls have
    // their new pixel sizes and fonts already, Form_Resize follows.
    virtual void Form_DpiChanged() {}
    // Runs once the form's window exists and before its controls are
    // created: a form that lays its controls out for the client area places
    // them here, so that each is created at its final place.
    virtual void placeBeforeCreation() {}
    // Other messages of the form's window; set handled to answer them.
    virtual LRESULT onMessage(UINT, WPARAM, LPARAM, bool& handled) {
        handled = false;
        return 0;
    }
    // Initial window size in twips (before Form_Load may change it).
    int initialWidth_ = 9000;
    int initialHeight_ = 6000;
    DWORD style_ = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    // Smallest outer size the user can drag the window to, in twips (0: none).
    int minWidth_ = 0;
    int minHeight_ = 0;

  private:
    friend class Control;
    friend class Timer;
    void registerControl(Control* c);
    void unregisterControl(Control* c);
    int allocateId() { return nextId_++; }
    void create();
    // Lets go of the window and the controls' windows; `windowGone` when the
    // system already destroyed them (with the form's owner).
    void destroy(bool windowGone = false);
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT, WPARAM, LPARAM);
    Control* byId(int id) const;

    std::string name_;
    std::string caption_;
    HWND hwnd_ = nullptr;
    bool loading_ = false;
    // The focus cues are hidden (the mouse is in use).
    bool cuesHidden_ = false;
    bool unloading_ = false;
    bool initialized_ = false;
    bool docking_ = false;
    std::vector<Control*> controls_;
    int nextId_ = 100;
    int dpi_ = 0;
};

// Lets waiting window messages be processed (keyboard, paint, timers).
void DoEvents();
// Runs the message loop until every form is unloaded.
int run();
// Unloads every loaded form (each through its own query-unload and unload).
void unloadAllForms(int mode = vbFormCode);
// Number of forms with a window.
int loadedFormCount();
// Unloads every loaded form except `keep`, each through its own Unload (so
// its Form_QueryUnload and Form_Unload run). A form that refuses stays loaded
// and is no longer owned by `keep`.
void unloadOtherForms(Form& keep);

} // namespace forms
