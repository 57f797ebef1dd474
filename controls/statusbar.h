// StatusBar: an owner-drawn status bar docked to the bottom of its form,
// divided into panels with text and an optional 16 x 16 icon, a size grip,
// a look that follows the desktop's visual style, and panels the user can
// edit in place. A registered window class drawn with GDI into a persistent
// off-screen image; it knows nothing of its host.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/barsupport.h"
#include "controls/pure/colour.h"
#include "controls/pure/propertybag.h"
#include "controls/pure/statusbar_layout.h"
#include "controls/subclass.h"

namespace controls {

// An error of a status bar routine: the original number and description with
// the source "StatusBar." followed by the routine's name.
class StatusBarError : public std::runtime_error {
  public:
    StatusBarError(long number, const std::string& description, const std::string& source)
        : std::runtime_error(source + ": " + description), number_(number),
          description_(description), source_(source) {}
    long Number() const { return number_; }
    const std::string& Description() const { return description_; }
    const std::string& Source() const { return source_; }

  private:
    long number_;
    std::string description_;
    std::string source_;
};

// The arguments of AddPanel with their defaults, for callers that name only
// what differs (designated initializers):
//     bar.AddPanel({.sText = "0", .bAutoSize = true, .bEditable = true});
struct PanelOptions {
    std::string sText{};        // shown text
    int uTextAlign = 0;         // 0 left, 1 centre, 2 right
    bool bAutoSize = false;     // width follows the text
    bool bEditable = false;     // a double click edits the text in place
    Picture oIcon{};            // optional 16 x 16 picture
    bool bIconState = true;     // false draws the icon grey
    bool bUseMaskColor = false; // lMaskColor is transparent in the icon
    Colour lMaskColor = rgb(255, 0, 255);
    std::optional<Colour> lForeColor{}; // nothing: the bar's fore colour
    std::optional<FontDesc> oFont{};    // nothing: the bar's font
    std::string sToolTipText{};
    long lWidth = 0; // fixed width in pixels; below 1 gives 40
};

class StatusBar {
  public:
    static constexpr const char* kClassName = "FetchletsStatusBar";
    static constexpr const char* kVersion = "1.2.0";

    StatusBar();
    ~StatusBar();
    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

    // Creates the bar as a child of `parent`, docked to the bottom edge of the
    // parent's client area (full width, `height` pixels high), hooks installed,
    // with the stored settings when given.
    bool Create(HWND parent, int height = 24, int id = 0, const PropertyBag* settings = nullptr);
    HWND hwnd() const { return hwnd_; }

    // --- Panels (indexes from 1; below 1 is the first, above the count the
    // last; with no panels nothing happens) ---
    void AddPanel(const PanelOptions& a);
    void Clear();
    int PanelCount() const { return static_cast<int>(panels_.size()); }

    std::string PanelText(int index) const;
    void setPanelText(int index, const std::string& v);
    int PanelAlignment(int index) const;
    void setPanelAlignment(int index, int v);
    bool PanelAutoSize(int index) const;
    void setPanelAutoSize(int index, bool v);
    bool PanelEditable(int index) const;
    void setPanelEditable(int index, bool v);
    Colour PanelForeColor(int index) const;
    void setPanelForeColor(int index, Colour v);
    FontDesc PanelFont(int index) const;
    void setPanelFont(int index, const FontDesc& v);
    Picture PanelIcon(int index) const;
    void setPanelIcon(int index, const Picture& v);
    bool PanelIconState(int index) const;
    void setPanelIconState(int index, bool enabled);
    std::string PanelToolTipText(int index) const;
    void setPanelToolTipText(int index, std::string v);
    long PanelWidth(int index) const;
    void setPanelWidth(int index, long v);
    // The panel's rectangle as laid out at the last paint.
    RECT PanelRect(int index) const;

    // Panel under the mouse (1-based), 0 when none.
    int GetPanelIndex() const;
    int GetPanelIndex(int x, int y) const;

    // Puts `control` into the bar over panel `index` (remembering its former
    // parent); with no control, gives the panel's bound control back to its
    // former parent. Size methods: 0 fills the panel, 1 keeps the control's
    // size (left and vertically centred), 2 keeps its width and takes the
    // panel's height.
    void BoundControl(int index, HWND control = nullptr, int sizeMethod = 0);

    // --- Control properties (each change repaints) ---
    Colour BackColor() const { return backColor_; }
    void setBackColor(Colour v);
    Colour ForeColor() const { return foreColor_; }
    void setForeColor(Colour v);
    // An empty face is the host's font.
    FontDesc Font() const { return font_; }
    void setFont(const FontDesc& v);
    int GripShape() const { return gripShape_; }
    void setGripShape(int v);
    bool Sizable() const { return sizable_; }
    void setSizable(bool v);
    int Theme() const { return theme_; }
    void setTheme(int v);
    std::string Version() const { return kVersion; }
    void Refresh();

    // --- Painting helpers ---
    static Colour ShiftColor(Colour c, int amount) { return controls::ShiftColor(c, amount); }
    static Colour TranslateColor(Colour c);
    static void APILine(HDC dc, int x1, int y1, int x2, int y2, COLORREF c);
    // A picture drawn grey (the disabled look).
    static void GrayBlt(HDC dc, const Picture& pic, int x, int y, int cx, int cy,
                        bool useMask = false, COLORREF mask = 0);
    // A picture drawn with `mask` transparent.
    static void TransBltEx(HDC dc, const Picture& pic, int x, int y, int cx, int cy, COLORREF mask);
    static bool PtInRect(const RECT& r, int x, int y);
    static bool IsWinXP();
    // Colour-scheme name of the current visual style ("None", "UxTheme_Error").
    static std::string GetThemeInfo();
    // The look drawn at the last paint (1 classic, 2 blue, 3 olive, 4 silver).
    int CurrentLook() const { return look_; }

    // --- Stored state ---
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // --- Events, in declaration order ---
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(int keyCode, int shift)> KeyDown;
    std::function<void(int keyAscii)> KeyPress;
    std::function<void(int keyCode, int shift)> KeyUp;
    std::function<void(int button, int shift, int x, int y)> MouseDown;
    std::function<void(int button, int shift, int x, int y)> MouseMove;
    std::function<void(int button, int shift, int x, int y)> MouseUp;
    std::function<void(int panel)> PanelClick;
    std::function<void(int panel)> PanelDblClick;
    std::function<void(int panel, int button, int shift, int x, int y)> PanelMouseDown;
    std::function<void(int panel, int button, int shift, int x, int y)> PanelMouseMove;
    std::function<void(int panel, int button, int shift, int x, int y)> PanelMouseUp;
    std::function<void()> MouseEnter;
    std::function<void()> MouseLeave;

    // --- Editing and run-time state, for hosts and tests ---
    // Starts editing panel `index` as a double click on it does (editable
    // panels only); the panel's text is selected in the edit box.
    void BeginEdit(int index);
    bool Editing() const { return editPanel_ >= 0; }
    HWND EditWindow() const { return edit_; }
    // The bar's picture, drawn now if its drawing was put off while hidden.
    const Surface& DrawnSurface();
    // The panels' tooltip window: made when the pointer first comes over the bar.
    HWND ToolTipWindow() const { return tooltip_; }
    RECT GripRect() const;
    // Moves the bar to the bottom of its parent's client area, full width.
    void Dock();

  private:
    struct Panel {
        int textFormat = 0;
        bool autoSize = false;
        bool editable = false;
        std::optional<FontDesc> font;
        platform::Font fontHandle;
        std::optional<Colour> foreColor;
        Picture icon;
        bool iconEnabled = true;
        bool useMaskColor = false;
        Colour maskColor = rgb(255, 0, 255);
        std::string text;
        std::string toolTipText;
        long width = 40;
        RECT rect{};
        HWND bound = nullptr;
        HWND boundFormerParent = nullptr;
        int sizeMethod = 0;
    };

    friend LRESULT CALLBACK controlWindowProc<StatusBar>(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
    // One handler per message of handle(); those that may leave the message to
    // the system take it whole.
    LRESULT onGetObject(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onPaint();
    LRESULT onSetCursor(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT onButtonDown(UINT msg, int x, int y);
    LRESULT onButtonUp(UINT msg, WPARAM buttons, int x, int y);
    LRESULT onDoubleClick(int x, int y);
    LRESULT onMouseMove(WPARAM buttons, int x, int y);
    void zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND hwnd, UINT uMsg,
                        WPARAM wParam, LPARAM& lParam);
    Panel* panel(int index);
    const Panel* panel(int index) const;
    void repaint();
    void paint();
    void layOut(HDC dc, int w, int h);
    void drawSurface();
    void paintPanel(HDC dc, Panel& p, int look, bool last);
    void drawGrip(HDC dc, int shape, int look);
    void placeBoundControls();
    void endEdit(bool keep);
    HFONT currentFont() const;
    HFONT panelFont(const Panel& p) const;
    void updateToolTips();

    HWND hwnd_ = nullptr;
    HWND parent_ = nullptr;
    HWND edit_ = nullptr;
    HWND tooltip_ = nullptr;
    WindowWatcher watcher_;
    Surface surface_;
    BarFont barFont_;

    Colour backColor_ = systemColour(SysButtonFace);
    Colour foreColor_ = systemColour(SysButtonText);
    FontDesc font_;
    int gripShape_ = 1;
    bool sizable_ = true;
    int theme_ = 0;
    std::vector<Panel> panels_;

    int look_ = kLookClassic;
    int drawnGrip_ = 0;
    bool hover_ = false;
    int editPanel_ = -1;
    bool painting_ = false;
    bool drawingPutOff_ = false;
    bool pointerCame_ = false;
};

} // namespace controls
