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

// ---- ToolBar ---------------------------------------------------------------

ToolBar::ToolBar(Form& form, std::string name, ToolBarOptions options)
    : Control(form, std::move(name), Kind::ToolBar) {
    ownInputEvents_ = true;
    dock_ = options.align;
    width_ = 2055;
    height_ = 3000;
}

ToolBar::~ToolBar() = default;

HWND ToolBar::createWindow(HWND parent) {
    bar_ = std::make_unique<controls::ToolBar>();
    controls::ToolBar& b = *bar_;
    b.Click = [this](long i) { raise(Click, static_cast<int>(i)); };
    b.DblClick = [this](long i) { raise(DblClick, static_cast<int>(i)); };
    b.OnButtonHover = [this](long i) { raise(OnButtonHover, static_cast<int>(i)); };
    b.MouseEnter = [this] { raise(MouseEnter); };
    b.MouseLeave = [this] { raise(MouseLeave); };
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
    if (!b.Create(parent, 0, 0, toPixels(width_), toPixels(height_), id_,
                  Settings.size() ? &Settings : nullptr)) {
        bar_.reset();
        return nullptr;
    }
    // The self-resizing rule keeps the docked side's length.
    b.setAlign(dock_);
    onColoursChanged();
    return b.hwnd();
}

void ToolBar::onDestroy() {
    bar_.reset(); // destroys the window, which the form is about to destroy anyway
}

void ToolBar::onColoursChanged() {
    if (!bar_)
        return;
    if (back_)
        bar_->setBackColor(*back_);
    if (fore_)
        bar_->setForeColor(*fore_);
}

int ToolBar::Button_Index() const {
    return bar_ ? static_cast<int>(bar_->Button_Index()) : -1;
}

// ---- StatusBar -------------------------------------------------------------

StatusBar::StatusBar(Form& form, std::string name, StatusBarOptions options)
    : Control(form, std::move(name), Kind::StatusBar) {
    ownInputEvents_ = true;
    dock_ = options.align;
    width_ = 4800;
    height_ = 360;
}

StatusBar::~StatusBar() = default;

HWND StatusBar::createWindow(HWND parent) {
    bar_ = std::make_unique<controls::StatusBar>();
    controls::StatusBar& b = *bar_;
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
    b.MouseEnter = [this] { raise(MouseEnter); };
    b.MouseLeave = [this] { raise(MouseLeave); };
    if (!b.Create(parent, toPixels(height_), id_, Settings.size() ? &Settings : nullptr)) {
        bar_.reset();
        return nullptr;
    }
    onColoursChanged();
    return b.hwnd();
}

void StatusBar::onDestroy() {
    bar_.reset();
}

void StatusBar::onColoursChanged() {
    if (!bar_)
        return;
    if (back_)
        bar_->setBackColor(*back_);
    if (fore_)
        bar_->setForeColor(*fore_);
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
