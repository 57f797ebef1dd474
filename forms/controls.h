// Standard controls of the form runtime. Each wraps one of the system's own
// control classes (LISTBOX, EDIT, BUTTON, COMBOBOX, STATIC, the tab control),
// so keyboard use, screen readers and UI automation work as everywhere else.
// Properties may be set before the window exists; they are applied when it is
// created. A property write that does not change the value touches nothing.
#pragma once

#include "forms/form.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace controls {
class ThemedButton;
}

namespace forms {

enum class Kind {
    ListBox,
    TextBox,
    Label,
    CheckBox,
    ComboBox,
    Image,
    CommandButton,
    PageStack,
    Timer,
    Menu,
    ToolBar,
    StatusBar,
    Custom
};
const char* kindName(Kind k);

class PageStack;

// Mouse button values of the mouse events.
enum MouseButton { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };

// Edges of the form a control can be docked to.
enum AlignConstant {
    vbAlignNone = 0,
    vbAlignTop = 1,
    vbAlignBottom = 2,
    vbAlignLeft = 3,
    vbAlignRight = 4
};

class Control {
  public:
    Control(Form& form, std::string name, Kind kind);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    Kind kind() const { return kind_; }
    Form& form() const { return form_; }
    HWND hwnd() const { return hwnd_; }
    int id() const { return id_; }

    // Geometry in twips, relative to the container (the page stack the
    // control is placed on, or the form's client area).
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void setLeft(int v) { Move(v, top_, width_, height_); }
    void setTop(int v) { Move(left_, v, width_, height_); }
    void setWidth(int v) { Move(left_, top_, v, height_); }
    void setHeight(int v) { Move(left_, top_, width_, v); }
    virtual void Move(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    void setVisible(bool v);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool v);
    // Whether the window is shown now: visible and on the current page.
    bool shown() const;

    // Docking to an edge of the form (AlignConstant): a docked control spans
    // that edge and follows the form's size; top and bottom controls are
    // placed first, left and right ones fill the height between them. The
    // docked side's thickness is the control's Height (top, bottom) or Width.
    int Align() const { return dock_; }
    void setAlign(int edge);

    std::string Tag;

    // Colours as 0x00BBGGRR; nullopt keeps the system's colours.
    std::optional<unsigned long> ForeColor() const { return fore_; }
    std::optional<unsigned long> BackColor() const { return back_; }
    void setForeColor(unsigned long c);
    void setBackColor(unsigned long c);

    // Places the control on a page of a page stack: it is shown only while
    // that page is current, and its position is relative to the stack.
    void placeOn(PageStack& stack, int page);
    PageStack* container() const { return stack_; }

    void SetFocus();

    // Mouse and key events common to the window controls.
    std::function<void(int button, int shift, int x, int y)> MouseDown;
    std::function<void(int button, int shift, int x, int y)> MouseUp;
    std::function<void(int button, int shift, int x, int y)> MouseMove;
    std::function<void(int& keyCode, int shift)> KeyDown;

    // Runs `listener` after every change of the control's content: a list's
    // items, a text box's text, a page stack's current page. Any number of
    // listeners may watch one control, apart from its own event handlers.
    void addChangeListener(std::function<void()> listener);

  protected:
    friend class Form;
    friend class PageStack;
    // Creates the window as a child of the form; returns it.
    virtual HWND createWindow(HWND parent) = 0;
    virtual void afterCreate() {}
    virtual void onDestroy() {}
    virtual void onCommand(int /*code*/) {}
    // The fore or back colour changed.
    virtual void onColoursChanged() {}
    virtual LRESULT onNotify(NMHDR*, bool& handled) {
        handled = false;
        return 0;
    }
    // Items of a control that draws them itself; false leaves the message alone.
    virtual bool onMeasureItem(MEASUREITEMSTRUCT*) { return false; }
    virtual bool onDrawItem(DRAWITEMSTRUCT*) { return false; }
    // Messages of the control's own window; set handled to answer them.
    virtual LRESULT onOwnMessage(UINT, WPARAM, LPARAM, bool& handled) {
        handled = false;
        return 0;
    }
    // WM_CTLCOLOR*: the brush to paint with, or nullptr for the default.
    HBRUSH ctlColor(HDC dc);
    void notifyChanged();
    // Position of the window in pixels of the form's client area.
    RECT pixelRect() const;
    void applyGeometry();
    void applyVisibility();
    void subclass();
    // Born at `place` (pixels of the form's client area) when given, else at
    // the control's own place.
    HWND makeWindow(HWND parent, const char* cls, const char* text, DWORD style, DWORD exStyle = 0,
                    const RECT* place = nullptr);
    // The window procedure every control window gets: finds the control in a
    // table of its own (no window property, which costs a window-server round
    // trip per message under Wine) and passes on to the class's procedure.
    static LRESULT CALLBACK hookProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT hooked(HWND, UINT, WPARAM, LPARAM);
    // The class's own procedure, for messages the control passes on.
    LRESULT callOriginal(UINT, WPARAM, LPARAM);
    void unhook();

    Form& form_;
    std::string name_;
    Kind kind_;
    HWND hwnd_ = nullptr;
    int id_ = 0;
    int left_ = 0, top_ = 0, width_ = 1200, height_ = 375;
    bool visible_ = true;
    bool enabled_ = true;
    PageStack* stack_ = nullptr;
    int page_ = 0;
    int dock_ = vbAlignNone;
    // Set by controls that raise MouseDown, MouseUp, MouseMove and KeyDown
    // themselves (from their own control's events) instead of from the raw
    // window messages.
    bool ownInputEvents_ = false;
    std::optional<unsigned long> fore_, back_;
    platform::Brush brush_;
    WNDPROC original_ = nullptr;
    // makeWindow created the window at its place and visibility already.
    bool placedAtCreation_ = false;
    std::vector<std::function<void()>> changeListeners_;
};

// Creation arguments of a list box.
struct ListBoxOptions {
    bool sorted = false;
    // Extended selection: Shift-click selects a range, Ctrl-click adds or
    // removes one item; ListIndex is then the item last clicked.
    bool multiSelect = false;
    // One item tall (whatever the height asked for) with up and down arrows
    // beside the item instead of a scroll bar: a list that shows only its
    // chosen item, readable at every resolution.
    bool oneItem = false;
};

class ListBox : public Control {
  public:
    ListBox(Form& form, std::string name, ListBoxOptions options = {});
    void AddItem(const std::string& item, int index = -1);
    // Appends many items at once, drawing the list once at the end.
    void AddItems(const std::vector<std::string>& items);
    // Replaces every item at once, with the list's redrawing suspended while
    // it is refilled (a sorted list orders them itself). The selection goes.
    void setItems(const std::vector<std::string>& items);
    const std::vector<std::string>& items() const { return items_; }
    void RemoveItem(int index);
    void Clear();
    int ListCount() const;
    std::string List(int index) const;
    void setList(int index, const std::string& text);
    int ListIndex() const;
    // Selecting from code runs Click as a user's choice does.
    void setListIndex(int index);
    std::string Text() const { return List(ListIndex()); }
    int TopIndex() const;
    void setTopIndex(int index);
    // The first item from the top whose text begins with `prefix`, ignoring
    // letter case (the list's own prefix search), or -1.
    int findPrefix(const std::string& prefix) const;
    // Selection state of an item of a multiple-selection list.
    bool Selected(int index) const;
    void setSelected(int index, bool selected);
    int SelCount() const;
    // Counts every change of the items (added, removed, replaced, cleared),
    // not of the selection: a caller that remembers it knows, without
    // reading the list, whether the items may have changed since.
    unsigned long long ItemChanges() const { return itemChanges_; }
    // Index of the item at a point in pixels of the list, or -1.
    int itemAt(int x, int y) const;

    std::function<void()> Click;
    std::function<void()> DblClick;

    // A note drawn in grey after an item's text, not part of it (searches,
    // sorting and List() see the text alone): given the item's text, returns
    // the note, empty for none. Set before the window is created: the list
    // then draws its items itself. Call refreshNotes() when the answers change.
    std::function<std::string(const std::string& item)> ItemNote;
    void refreshNotes();

  protected:
    HWND createWindow(HWND parent) override;
    void afterCreate() override;
    void onDestroy() override;
    void onCommand(int code) override;
    bool onMeasureItem(MEASUREITEMSTRUCT* m) override;
    bool onDrawItem(DRAWITEMSTRUCT* d) override;
    LRESULT onOwnMessage(UINT, WPARAM, LPARAM, bool& handled) override;
    LRESULT onNotify(NMHDR*, bool& handled) override;

  private:
    // A oneItem list's arrows: placed, shown and hidden with the list.
    void placeArrows();
    // A oneItem list's own place within the control's (pixels).
    RECT oneItemRect(RECT r, int itemHeight) const;
    ListBoxOptions options_;
    HWND arrows_ = nullptr;
    unsigned long long itemChanges_ = 0;
    bool ownerDrawn_ = false;
    std::vector<std::string> items_;
};

// Creation arguments of a text box.
struct TextBoxOptions {
    bool multiLine = false;
    bool readOnly = false;
    // A multi-line box shows its vertical scroll bar only while its text is
    // longer than the box (else always).
    bool scrollBarWhenNeeded = false;
};

class TextBox : public Control {
  public:
    TextBox(Form& form, std::string name, TextBoxOptions options = {});
    std::string Text() const;
    void setText(const std::string& text);
    int SelStart() const;
    void setSelStart(int pos);

    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void()> Change;
    // Runs before the key takes effect; setting keyAscii to 0 discards it.
    std::function<void(int& keyAscii)> KeyPress;

  protected:
    HWND createWindow(HWND parent) override;
    void afterCreate() override { fitScrollBar(); }
    void onCommand(int code) override;
    LRESULT onOwnMessage(UINT, WPARAM, LPARAM, bool& handled) override;

  private:
    // Shows or hides the scroll bar of a box that has one only when needed.
    void fitScrollBar();
    TextBoxOptions options_;
    std::string text_;
    bool mouseDown_ = false;
};

class Label : public Control {
  public:
    Label(Form& form, std::string name, std::string caption = {});
    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& text);
    void setAlignment(int align); // 0 left, 1 right, 2 centre
    // A label that acts as a link: underlined, in link blue unless it has a
    // colour of its own, a hand over it, a tab stop with a focus rectangle
    // while the keyboard is in use; Enter and Space click it.
    void setLink(bool on);
    bool isLink() const { return link_; }

    std::function<void()> Click;

  protected:
    HWND createWindow(HWND parent) override;
    void onCommand(int code) override;
    void afterCreate() override;
    void onDestroy() override;
    LRESULT onOwnMessage(UINT, WPARAM, LPARAM, bool& handled) override;

  private:
    void applyLinkFont(HFONT base);
    std::string caption_;
    int align_ = 0;
    bool link_ = false;
    platform::Font linkFont_;
};

class CheckBox : public Control {
  public:
    CheckBox(Form& form, std::string name, std::string caption = {});
    int Value() const;
    void setValue(int v);
    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& text);

    std::function<void()> Click;

  protected:
    HWND createWindow(HWND parent) override;
    void onCommand(int code) override;

  private:
    std::string caption_;
    int value_ = 0;
};

// Creation arguments of a combo box.
struct ComboBoxOptions {
    bool dropDownList = true; // the text can only be one of the items
};

class ComboBox : public Control {
  public:
    ComboBox(Form& form, std::string name, ComboBoxOptions options = {});
    void AddItem(const std::string& item);
    void Clear();
    int ListCount() const;
    std::string List(int index) const;
    int ListIndex() const;
    void setListIndex(int index);
    std::string Text() const;
    void setText(const std::string& text);

    std::function<void()> Click;

  protected:
    HWND createWindow(HWND parent) override;
    void afterCreate() override;
    void onCommand(int code) override;

  private:
    ComboBoxOptions options_;
    std::vector<std::string> pending_;
    std::string pendingText_;
    int pendingIndex_ = -1;
};

class Image : public Control {
  public:
    Image(Form& form, std::string name);
    // The picture: a bitmap or an icon handle (owned by the caller).
    void setBitmap(HBITMAP bmp);
    void setIcon(HICON icon);
    // A 32-bit premultiplied alpha bitmap (owned by the caller), drawn
    // centred and blended over the image's background as an icon is.
    void setAlphaBitmap(HBITMAP bmp);
    HBITMAP AlphaBitmap() const { return alpha_; }

    std::function<void()> Click;

  protected:
    HWND createWindow(HWND parent) override;
    void afterCreate() override;
    void onCommand(int code) override;
    LRESULT onOwnMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

  private:
    void paintAlpha(HDC dc);

    HBITMAP bmp_ = nullptr;
    HICON icon_ = nullptr;
    HBITMAP alpha_ = nullptr;
};

// A push button: a themed button drawn by the custom control, reachable by
// keyboard and answering screen readers as a push button. It is created in
// the program's button look (kCommandButtonStyle, a kCommandButtonCaption
// caption, the focus rectangle while the keyboard is in use); setForeColor
// gives it another caption colour.
class CommandButton : public Control {
  public:
    static constexpr int kCommandButtonStyle = 4;
    static constexpr unsigned long kCommandButtonCaption = 0x404040; // 64,64,64

    CommandButton(Form& form, std::string name, std::string caption = {});
    const std::string& Caption() const { return caption_; }
    void setCaption(const std::string& text);
    // A picture beside the caption: an icon, or a 32-bit premultiplied alpha
    // bitmap (the button keeps its own copy).
    void setPicture(HICON icon);
    void setPicture(HBITMAP bitmap);
    // The themed button while the window exists, for its other properties.
    controls::ThemedButton* button() const { return button_; }

    std::function<void()> Click;
    // The pointer entered or left the button.
    std::function<void()> MouseEnter;
    std::function<void()> MouseLeave;

  protected:
    HWND createWindow(HWND parent) override;
    void onDestroy() override { button_ = nullptr; }
    void onColoursChanged() override;

  private:
    std::string caption_;
    HICON picture_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    controls::ThemedButton* button_ = nullptr;
};

// A stack of pages with a tab strip (the system tab control). Controls placed
// on a page are shown only while it is the current page.
class PageStack : public Control {
  public:
    PageStack(Form& form, std::string name, std::vector<std::string> captions);
    int Tab() const { return tab_; }
    // Makes a page current from code; runs Click(previous page).
    void setTab(int index);
    int Tabs() const { return static_cast<int>(captions_.size()); }
    void setTabCaption(int index, const std::string& text);
    void Move(int left, int top, int width, int height) override;

    std::function<void(int previousTab)> Click;

    // A brush of the colour of the pages' body, for controls drawn on it.
    HBRUSH bodyBrush();
    // Drops the brush so that the next use samples the colour again.
    void forgetBodyBrush();

  protected:
    HWND createWindow(HWND parent) override;
    void onDestroy() override { forgetBodyBrush(); }
    LRESULT onNotify(NMHDR*, bool& handled) override;

  private:
    friend class Control;
    void addChild(Control* c) { children_.push_back(c); }
    void removeChild(Control* c);
    void refreshChildren();
    std::vector<std::string> captions_;
    std::vector<Control*> children_;
    int tab_ = 0;
    platform::Brush body_;
};

// A window timer of the form. Interval 0 or Enabled false stops it.
class Timer : public Control {
  public:
    Timer(Form& form, std::string name, unsigned interval, bool enabled = true);
    unsigned Interval() const { return interval_; }
    void setInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool v);
    void Move(int, int, int, int) override {}

    std::function<void()> Tick;
    void fire();

  protected:
    HWND createWindow(HWND parent) override;
    void afterCreate() override { arm(); }
    void onDestroy() override;

  private:
    friend class ChangeTimer;
    // A sleeping timer keeps its Enabled value but gets no ticks.
    void setSleeping(bool v);
    bool sleeping() const { return sleeping_; }
    void arm();
    HWND owner_ = nullptr;
    unsigned interval_;
    bool enabled_;
    bool sleeping_ = false;
};

} // namespace forms
