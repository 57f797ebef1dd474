#include "forms/bars.h"

namespace forms {

namespace {

// Calls a handler through a copy: the handler may replace itself.
template <class F, class... A> void raise(const F& handler, A... args) {
    if (!handler)
        return;
    F copy = handler;
    copy(args...);
}

} // namespace

// ---- DockedBar -------------------------------------------------------------

template <class Bar>
DockedBar<Bar>::DockedBar(Form& form, std::string name, Kind kind, int align, int width, int height)
    : Control(form, std::move(name), kind) {
    ownInputEvents_ = true;
    dock_ = align;
    width_ = width;
    height_ = height;
}

template <class Bar> Bar& DockedBar<Bar>::newBar() {
    bar_ = std::make_unique<Bar>();
    Bar& b = *bar_;
    b.MouseEnter = [this] { raise(MouseEnter); };
    b.MouseLeave = [this] { raise(MouseLeave); };
    return b;
}

template <class Bar> HWND DockedBar<Bar>::created(bool ok) {
    if (!ok) {
        bar_.reset();
        return nullptr;
    }
    onColoursChanged();
    return bar_->hwnd();
}

template <class Bar> void DockedBar<Bar>::onDestroy() {
    bar_.reset(); // destroys the window, which the form is about to destroy anyway
}

template <class Bar> void DockedBar<Bar>::onColoursChanged() {
    if (!bar_)
        return;
    if (back_)
        bar_->setBackColor(*back_);
    if (fore_)
        bar_->setForeColor(*fore_);
}

template class DockedBar<controls::ToolBar>;
template class DockedBar<controls::StatusBar>;

// ---- ToolBar ---------------------------------------------------------------

ToolBar::ToolBar(Form& form, std::string name, ToolBarOptions options)
    : DockedBar(form, std::move(name), Kind::ToolBar, options.align, 2055, 3000) {}

HWND ToolBar::createWindow(HWND parent) {
    controls::ToolBar& b = newBar();
    b.Click = [this](long i) { raise(Click, static_cast<int>(i)); };
    b.DblClick = [this](long i) { raise(DblClick, static_cast<int>(i)); };
    b.OnButtonHover = [this](long i) { raise(OnButtonHover, static_cast<int>(i)); };
    b.MouseDown = [this](long, int button, int shift, int x, int y) {
        raise(MouseDown, button, shift, x, y);
    };
    b.MouseUp = [this](long, int button, int shift, int x, int y) {
        raise(MouseUp, button, shift, x, y);
    };
    b.MouseMove = [this](long, int button, int shift, int x, int y) {
        raise(MouseMove, button, shift, x, y);
    };
    b.KeyDown = [this](long, int key, int shift) {
        if (auto handler = KeyDown)
            handler(key, shift);
    };
    const bool ok = b.Create(parent, 0, 0, toPixels(width_), toPixels(height_), id_, settings());
    // The self-resizing rule keeps the docked side's length.
    if (ok)
        b.setAlign(dock_);
    return created(ok);
}

int ToolBar::Button_Index() const {
    return bar_ ? static_cast<int>(bar_->Button_Index()) : -1;
}

// ---- StatusBar -------------------------------------------------------------

StatusBar::StatusBar(Form& form, std::string name, StatusBarOptions options)
    : DockedBar(form, std::move(name), Kind::StatusBar, options.align, 4800, 360) {}

HWND StatusBar::createWindow(HWND parent) {
    controls::StatusBar& b = newBar();
    b.Click = [this] { raise(Click); };
    b.DblClick = [this] { raise(DblClick); };
    b.PanelClick = [this](int p) { raise(PanelClick, p); };
    b.PanelDblClick = [this](int p) { raise(PanelDblClick, p); };
    b.PanelMouseDown = [this](int p, int button, int shift, int x, int y) {
        raise(PanelMouseDown, p, button, shift, x, y);
    };
    b.PanelMouseMove = [this](int p, int button, int shift, int x, int y) {
        raise(PanelMouseMove, p, button, shift, x, y);
    };
    b.PanelMouseUp = [this](int p, int button, int shift, int x, int y) {
        raise(PanelMouseUp, p, button, shift, x, y);
    };
    b.MouseDown = [this](int button, int shift, int x, int y) {
        raise(MouseDown, button, shift, x, y);
    };
    b.MouseMove = [this](int button, int shift, int x, int y) {
        raise(MouseMove, button, shift, x, y);
    };
    b.MouseUp = [this](int button, int shift, int x, int y) {
        raise(MouseUp, button, shift, x, y);
    };
    b.KeyDown = [this](int key, int shift) {
        if (auto handler = KeyDown)
            handler(key, shift);
    };
    return created(b.Create(parent, toPixels(height_), id_, settings()));
}

void StatusBar::AddPanel(const PanelOptions& args) {
    if (bar_)
        bar_->AddPanel(args);
}

int StatusBar::PanelCount() const {
    return bar_ ? bar_->PanelCount() : 0;
}

void StatusBar::Clear() {
    if (bar_)
        bar_->Clear();
}

std::string StatusBar::PanelText(int index) const {
    return bar_ ? bar_->PanelText(index) : std::string();
}

void StatusBar::setPanelText(int index, const std::string& text) {
    if (bar_)
        bar_->setPanelText(index, text);
}

} // namespace forms
