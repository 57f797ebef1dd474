// ToolBar: an owner-drawn grid of captioned buttons with optional pictures on
// a plain, gradient or tiled-picture background, with a hover highlight,
// per-button tooltips and latched buttons. A registered window class drawn
// with GDI into an off-screen surface; it knows nothing of its host.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/barsupport.h"
#include "controls/pure/colour.h"
#include "controls/pure/propertybag.h"
#include "controls/subclass.h"
#include "controls/pure/textlines.h"
#include "controls/pure/toolbar_layout.h"

namespace controls {

class ToolBar {
  public:
    static constexpr const char* kClassName = "FetchletsToolBar";
    // Where the host docks the control; the self-resizing rule keeps the
    // height when docked left or right and the width when docked top or bottom.
    enum Dock { DockNone = 0, DockTop = 1, DockBottom = 2, DockLeft = 3, DockRight = 4 };

    ToolBar();
    ~ToolBar();
    ToolBar(const ToolBar&) = delete;
    ToolBar& operator=(const ToolBar&) = delete;

    // Creates the window as a child of `parent`. Without stored settings the
    // new control has one button ("Button 0"); with them it reads them before
    // its first layout. Either way Button_Index is -1 and the hooks are installed.
    bool Create(HWND parent, int x, int y, int width, int height, int id = 0,
                const PropertyBag* settings = nullptr);
    HWND hwnd() const { return hwnd_; }

    // --- Control properties (each write stores, marks changed, redraws) ---
    int Appearance() const { return appearance_; }
    void setAppearance(int v);
    Colour BackColor() const { return backColor_; }
    void setBackColor(Colour v);
    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int v);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool v);
    Colour ForeColor() const { return foreColor_; }
    void setForeColor(Colour v);
    // An empty face is the host's font.
    FontDesc Font() const { return font_; }
    void setFont(const FontDesc& v);
    long Button_Count() const { return static_cast<long>(buttons_.size()); }
    void setButton_Count(long v);
    long Button_Index() const { return buttonIndex_; }
    // The button the keyboard is on (arrows move it, Enter and Space press it).
    long FocusedButton() const { return focusIndex_; }
    void setButton_Index(long v);
    long ButtonsWidth() const { return buttonsWidth_; }
    void setButtonsWidth(long v);
    long ButtonsHeight() const { return buttonsHeight_; }
    void setButtonsHeight(long v);
    long ButtonsPerRow() const { return buttonsPerRow_; }
    void setButtonsPerRow(long v);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool v);
    Colour HoverColor() const { return hoverColor_; }
    void setHoverColor(Colour v);
    bool WarpSize() const { return warpSize_; }
    void setWarpSize(bool v);
    long TooTipStyle() const { return tooTipStyle_; }
    void setTooTipStyle(long v);
    Colour ToolTipBackCol() const { return toolTipBackCol_; }
    void setToolTipBackCol(Colour v);
    Colour ToolTipForeCol() const { return toolTipForeCol_; }
    void setToolTipForeCol(Colour v);
    long BackGradient() const { return backGradient_; }
    void setBackGradient(long v);
    Colour BackGradientCol() const { return backGradientCol_; }
    void setBackGradientCol(Colour v);
    long ButtonsStyle() const { return buttonsStyle_; }
    void setButtonsStyle(long v);
    Colour BorderColor() const { return borderColor_; }
    void setBorderColor(Colour v);
    bool HoverIconShadow() const { return hoverIconShadow_; }
    void setHoverIconShadow(bool v);
    Picture BackGround() const { return background_; }
    void setBackGround(const Picture& v);
    int Align() const { return dock_; }
    void setAlign(int v);

    // --- Per-button properties; an index outside 0..Button_Count-1 reads the
    // default and writes nothing ---
    std::string ButtonCaption(long i) const;
    void setButtonCaption(long i, const std::string& v);
    Picture ButtonIcon(long i) const;
    void setButtonIcon(long i, const Picture& v);
    std::string ButtonToolTip(long i) const;
    void setButtonToolTip(long i, const std::string& v);
    long ButtonToolTipIcon(long i) const;
    void setButtonToolTipIcon(long i, long v);
    bool ButtonEnabled(long i) const;
    void setButtonEnabled(long i, bool v);
    bool ButtonPressed(long i) const;
    void setButtonPressed(long i, bool v);
    long ButtonIconAllignment(long i) const;
    void setButtonIconAllignment(long i, long v);

    // Removes the button at Button_Index (never the last one left).
    void ButtonRemove();
    // Moves the button at Button_Index to position `pos`.
    void ButtonMoveTo(long pos);

    // --- Methods ---
    void RedrawControl();
    // Lines of `text` that fit `width` pixels in the control's font.
    std::vector<std::string> SplitToLines(const std::string& text, int width, bool filter);
    static bool IsDelim(char c) { return controls::IsDelim(c); }
    // Mix of two colours (system colours translated first); alpha 255 = `from`.
    static Colour BlendColor(Colour from, Colour to, long alpha);
    static Colour TranslateColor(Colour c);
    // Tiles the picture over the rectangle of `dc`.
    static void TileBitmap(HDC dc, const RECT& r, const Picture& pic);

    // --- Stored state ---
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;
    // True after any property write since the last ClearChanged().
    bool PropertyChanged() const { return changed_; }
    void ClearChanged() { changed_ = false; }

    // --- Events, in declaration order ---
    std::function<void()> MouseEnter;
    std::function<void()> MouseLeave;
    std::function<void(long index)> Click;
    std::function<void(long index)> DblClick;
    std::function<void(long index)> OnRedrawing;
    std::function<void(long index)> OnButtonHover;
    std::function<void(long index, int keyCode, int shift)> KeyDown;
    std::function<void(long index, int keyCode, int shift)> KeyUp;
    std::function<void(long index, int button, int shift, int x, int y)> MouseUp;
    std::function<void(long index, int button, int shift, int x, int y)> MouseDown;
    std::function<void(long index, int button, int shift, int x, int y)> MouseMove;

    // --- Run-time state, for hosts and tests ---
    bool Hovering() const { return hover_; }
    bool MouseIsDown() const { return mouseDown_; }
    HWND ToolTipWindow() const { return tooltip_; }
    const ToolbarGrid& Grid() const { return grid_; }
    // The drawn surface (what the window shows).
    // The surface as the next paint shows it (drawn now if it was put off).
    const Surface& DrawnSurface();
    // Draws the hover look of a button without the mouse (for previews):
    // sets Button_Index and the mouse-button-down flag, then redraws.
    void ShowHoverState(long index, bool mouseDown);

  private:
    struct Button {
        std::string caption;
        Picture picture;
        std::string toolTipText;
        long toolTipIcon = 0;
        bool enabled = true;
        bool pressed = false;
        long iconAlignment = 0;
    };

    friend LRESULT CALLBACK controlWindowProc<ToolBar>(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
    // One handler per message of handle(); those that may leave the message to
    // the system take it whole.
    LRESULT onPaint();
    LRESULT onSetCursor(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onGetDlgCode(const MSG* m) const;
    LRESULT onFocusChange(bool losing);
    LRESULT onUpdateUiState(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onGetObject(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onAccessibleClick(long index);
    LRESULT onMouseMove(WPARAM buttons, int x, int y);
    LRESULT onButtonDown(UINT msg, int x, int y);
    LRESULT onDoubleClick(int x, int y);
    LRESULT onButtonUp(UINT msg, WPARAM buttons, int x, int y);
    LRESULT onCaptureChanged(HWND gaining);
    LRESULT onKeyDown(WPARAM key, LPARAM lParam);
    LRESULT onKeyUp(WPARAM key);
    LRESULT onDestroy(UINT msg, WPARAM wParam, LPARAM lParam);
    void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hwnd, UINT uMsg,
                        WPARAM wParam, LPARAM& lParam);
    void changed();
    Button* button(long i);
    const Button* button(long i) const;
    static Button newButton(long index);
    void computeGrid();
    // A redraw: raises OnRedrawing, lays the buttons out and draws the
    // surface; a control that cannot be seen puts the drawing off until it
    // is painted (a hidden window's start-up sets many properties).
    void paint();
    void drawSurface();
    void paintButton(HDC dc, long i, int frameUnit, bool keyboardFocus);
    // The keyboard: the arrows move the focused button, Space (released)
    // and Enter press it.
    void keyboardKey(int vk, bool repeat);
    void pressFocused();
    bool focusCueShown() const;
    void hitTest(int x, int y);
    void showToolTip();
    void removeToolTip();
    HFONT currentFont() const;

    HWND hwnd_ = nullptr;
    HWND parent_ = nullptr;
    HMODULE shell32_ = nullptr;
    bool isNT_ = true;
    WindowWatcher watcher_;
    Surface surface_;
    BarFont barFont_;

    int appearance_ = 0;
    Colour backColor_ = systemColour(SysButtonFace);
    int borderStyle_ = 0;
    bool enabled_ = true;
    Colour foreColor_ = 0;
    FontDesc font_;
    long buttonIndex_ = 0;
    long buttonsWidth_ = 90;
    long buttonsHeight_ = 40;
    long buttonsPerRow_ = 3;
    bool autoSize_ = true;
    Colour hoverColor_ = systemColour(SysButtonFace);
    bool warpSize_ = true;
    long tooTipStyle_ = 2;
    Colour toolTipBackCol_ = 15138301;
    Colour toolTipForeCol_ = 0;
    long backGradient_ = 0;
    Colour backGradientCol_ = 12632319;
    long buttonsStyle_ = 0;
    Colour borderColor_ = systemColour(10);
    bool hoverIconShadow_ = true;
    Picture background_;
    int dock_ = DockNone;
    std::vector<Button> buttons_;

    ToolbarGrid grid_;
    bool changed_ = false;
    bool hover_ = false;
    bool mouseDown_ = false;
    bool pressedInside_ = false;
    // The button the keyboard is on, and Space held on it.
    long focusIndex_ = 0;
    bool keyPressed_ = false;
    int ticks_ = 0;
    POINT lastMouse_{-1, -1};
    HWND tooltip_ = nullptr;
    bool resizing_ = false;
    bool painting_ = false;
    bool repaintPending_ = false;
    bool drawingPutOff_ = false;
};

} // namespace controls
