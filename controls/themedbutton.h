// ThemedButton: an owner-drawn push or toggle button with eleven looks, an
// optional icon, hover tracking and its own tooltip window. A registered
// window class ("ThemedButton"), painted with GDI into an off-screen bitmap.
//
// The window owns the object: it is deleted when the window is destroyed.
// Colour values follow colour.h (red in the low byte, 0x80000000 + n for
// system colour n).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/pure/colour.h"
#include "controls/pure/propertybag.h"
#include "controls/subclass.h"
#include "platform/handles.h"
#include "platform/shell.h"

namespace controls {

class ThemedButton {
  public:
    static constexpr const char* kClassName = "ThemedButton";

    enum DrawState { StateNormal = 1, StateHot = 2, StatePressed = 3, StateDisabled = 4 };
    enum Align { AlignCentre = 0, AlignLeft = 1, AlignRight = 2, AlignTop = 3, AlignBottom = 4 };
    static constexpr int kHandPointer = 99;

    // Registers the window class once (also readies the common controls for
    // the tooltip window).
    static bool registerClass();

    // A button newly placed on `parent`: style 0, caption = name, icon size 16
    // on the left, enabled, system colours, balloon tooltips.
    static ThemedButton* create(HWND parent, const std::string& name, int x, int y, int width,
                                int height, int id = 0, DWORD style = WS_TABSTOP | WS_VISIBLE);
    // The button behind a window of this class, or nothing.
    static ThemedButton* fromHandle(HWND hwnd);

    HWND hwnd() const { return hwnd_; }
    const std::string& name() const { return name_; }

    // Stored settings: read applies every property (names as stored) with the
    // reload defaults; write stores those that differ from them.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // Properties; every write repaints.
    int Style() const { return style_; }
    void setStyle(int v);
    std::string Caption() const;
    void setCaption(const std::string& v);
    HICON Icon() const { return icon_.get(); }
    void setIcon(HICON v); // the button keeps its own copy
    // A 32-bit premultiplied alpha bitmap in place of the icon (cheaper to
    // make than an icon); the button keeps its own copy.
    HBITMAP Picture() const { return picture_.get(); }
    void setPicture(HBITMAP v);
    int IconSize() const { return iconSize_; }
    void setIconSize(int v);
    int IconAlign() const { return iconAlign_; }
    void setIconAlign(int v);
    int CaptionAlign() const { return captionAlign_; }
    void setCaptionAlign(int v);
    int iNonThemeStyle() const { return nonThemeStyle_; }
    void setiNonThemeStyle(int v);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool v);
    bool ShowFocus() const { return showFocus_; }
    void setShowFocus(bool v);
    bool UseCustomColors() const { return useCustomColors_; }
    void setUseCustomColors(bool v);
    Colour BackColor() const { return backColor_; }
    void setBackColor(Colour v);
    Colour HighlightColor() const { return highlightColor_; }
    void setHighlightColor(Colour v);
    Colour FontColor() const { return fontColor_; }
    void setFontColor(Colour v);
    Colour FontHighlightColor() const { return fontHighlightColor_; }
    void setFontHighlightColor(Colour v);
    const std::string& ToolTipText() const { return toolTipText_; }
    void setToolTipText(const std::string& v);
    const std::string& ToolTipTitle() const { return toolTipTitle_; }
    void setToolTipTitle(const std::string& v);
    int ToolTipIcon() const { return toolTipIcon_; }
    void setToolTipIcon(int v);
    int ToolTipType() const { return toolTipType_; }
    void setToolTipType(int v);
    Colour ttBackColor() const { return ttBackColor_; }
    void setttBackColor(Colour v);
    Colour ttForeColor() const { return ttForeColor_; }
    void setttForeColor(Colour v);
    HFONT Font() const { return font_.get(); }
    void setFont(HFONT v); // the button keeps its own copy
    int ButtonType() const { return buttonType_; }
    void setButtonType(int v);
    bool Value() const { return value_; }
    void setValue(bool v);
    bool UseMaskColor() const { return useMaskColor_; }
    void setUseMaskColor(bool v);
    Colour MaskColor() const { return maskColor_; }
    void setMaskColor(Colour v);
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int v);
    bool RoundedBordersByTheme() const { return roundedBorders_; }
    void setRoundedBordersByTheme(bool v);
    bool bRTLText() const { return rtlText_; }
    void setbRTLText(bool v);

    // Methods.
    void Refresh();
    static std::string Version() { return "3.7.2"; }
    // The about box's text, and the box itself.
    static std::string aboutText();
    void About();
    // Hands a web or mail address to the shell's "open" verb, shown normally.
    // Only what the program's link rule lets leave (platform::checkLink: http,
    // https, mailto, a scheme-less web address taken as http://) is handed
    // over; anything else is refused. False when refused or when the shell
    // declined. The button has no services of its own: the first form uses
    // the system's shell, the second the one given.
    static bool OpenLink(const std::string& link);
    static bool OpenLink(const std::string& link, platform::Shell& shell);
    // Draws an icon in grey, its transparency kept (the disabled look).
    static void PaintIconGrayscale(HDC dc, HICON icon, int x, int y, int size);

    // Events, in declaration order.
    std::function<void()> Click;
    std::function<void()> MouseEnter;
    std::function<void()> MouseLeave;

    // The host's own tooltip text: taken over (and cleared on the host) while
    // the mouse is inside, given back when it leaves. Optional.
    std::function<std::string()> getHostToolTipText;
    std::function<void(const std::string&)> setHostToolTipText;

    // Run-time state.
    int drawState() const; // the state the next paint uses (1..4)
    bool mouseInside() const { return inside_; }
    HWND toolTipWindow() const { return toolTip_; }

    // Draws the button as it looks now into dc at (0, 0).
    void render(HDC dc);
    // Shows the button in a fixed state (1..4; 0 follows the mouse again), for
    // galleries and pictures of the looks.
    void forceState(int state);
    // Draws the focus rectangle as if focused (galleries).
    void forceFocus(bool on);

  private:
    explicit ThemedButton(std::string name);
    ~ThemedButton();
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
    // One handler per message of handle(); those that may leave the message to
    // the system take it whole.
    LRESULT onCreate();
    LRESULT onPaint();
    LRESULT onSize();
    LRESULT onWindowPosChanging(WINDOWPOS& wp) const;
    LRESULT onWindowPosChanged(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT repaintAfterDefault(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onEnable(bool enabled);
    LRESULT onCaptureChanged(HWND gaining);
    LRESULT onSetCursor(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onGetDlgCode(const MSG* m) const;
    LRESULT onGetObject(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onKeyDown(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onKeyUp(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onFocusChange(bool losing);
    LRESULT onDestroy();
    void hookProc(bool before, bool& handled, LRESULT& ret, HWND hwnd, UINT msg, WPARAM wParam,
                  LPARAM& lParam);
    void installHooks();

    void mouseEntered();
    void mouseLeft();
    void buttonDown();
    void buttonUp(POINT pt);
    void performClick();
    void raise(const std::function<void()>& handler);
    // Focused, with the window's keyboard cues shown (the mouse hides them,
    // the keyboard shows them, as everywhere in the system).
    bool focusCueShown() const;
    // The keyboard moves the focus: the cues of `top` and its controls show.
    static void showKeyboardCues(HWND top);
    void createToolTip();
    void destroyToolTip();
    void refreshToolTip();
    void trackLeave();
    void repaint();
    void updateRegion();
    void enforceMinimumSize(int& cx, int& cy) const;
    bool isRoundedStyle(int style) const;
    HFONT hostFont() const;
    FontDesc fontDesc(HFONT f) const;
    void setFontFromDesc(const FontDesc& d);

    // Painting.
    struct Palette;
    Palette palette(int state) const;
    void paintFace(HDC dc, const RECT& rc, int style, int state, const Palette& p);
    void paintContent(HDC dc, const RECT& rc, int state, const Palette& p);
    void paintRounded(HDC dc, const RECT& rc, int style, int state, const Palette& p);
    int lunaScheme() const;

    HWND hwnd_ = nullptr;
    std::string name_;
    Subclasser subclass_;
    bool hooked_ = false;

    int style_ = 0;
    platform::Icon icon_;
    platform::Bitmap picture_;
    int iconSize_ = 16;
    int iconAlign_ = AlignLeft;
    int captionAlign_ = AlignCentre;
    int nonThemeStyle_ = 5;
    bool enabled_ = true;
    bool showFocus_ = false;
    bool useCustomColors_ = false;
    Colour backColor_ = systemColour(SysButtonFace);
    Colour highlightColor_ = systemColour(SysHighlight);
    Colour fontColor_ = systemColour(SysButtonText);
    Colour fontHighlightColor_ = systemColour(SysButtonText);
    std::string toolTipText_;
    std::string toolTipTitle_;
    int toolTipIcon_ = 0;
    int toolTipType_ = 1;
    Colour ttBackColor_ = systemColour(SysInfoBackground);
    Colour ttForeColor_ = systemColour(SysInfoText);
    platform::Font font_;
    int buttonType_ = 0;
    bool value_ = false;
    bool useMaskColor_ = false;
    Colour maskColor_ = 12632256;
    int mousePointer_ = 0;
    bool roundedBorders_ = true;
    // A rounded window region is in place (a square button has none).
    bool hasRegion_ = false;
    bool rtlText_ = false;

    int state_ = StateNormal;
    bool inside_ = false;
    int lastButton_ = 0;
    bool spaceDown_ = false;
    int forcedState_ = 0;
    bool forcedFocus_ = false;
    HWND toolTip_ = nullptr;
    std::string borrowedToolTip_;
    bool borrowed_ = false;
    // Expires with the object: lets code after an event see whether the
    // host's handler destroyed the button.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace controls
