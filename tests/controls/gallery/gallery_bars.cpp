// Toolbar and status bar part of the gallery: the toolbar with every gradient
// type, button style, border style and picture placement, with hovered,
// pressed, latched and disabled buttons; the status bar in each look with
// several panels, icons (one disabled) and a panel being edited.
#include "tests/controls/gallery/gallery.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/statusbar.h"
#include "controls/toolbar.h"

using namespace controls;

namespace {

std::vector<std::unique_ptr<ToolBar>> toolbars;
std::vector<std::unique_ptr<StatusBar>> statusbars;

void label(HWND parent, int x, int y, int w, const char* text) {
    HWND h = CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE, x, y, w, 14, parent, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
}

ToolBar* addToolBar(HWND parent, int x, int y, int w, int h, const char* caption) {
    label(parent, x, y, w, caption);
    auto tb = std::make_unique<ToolBar>();
    tb->Create(parent, x, y + 16, w, h);
    ToolBar* raw = tb.get();
    toolbars.push_back(std::move(tb));
    return raw;
}

void setButtons(ToolBar* tb, const std::vector<const char*>& captions) {
    tb->setButton_Count(static_cast<long>(captions.size()));
    for (size_t i = 0; i < captions.size(); ++i)
        tb->setButtonCaption(static_cast<long>(i), captions[i]);
}

Picture icon(LPCSTR id) {
    return Picture{LoadIconA(nullptr, id), nullptr};
}

} // namespace

void galleryAddBars(HWND parent, int x, int y) {
    // Row 1: the background gradients 0-6 (from the pink gradient colour to a blue back colour).
    for (int type = 0; type <= 6; ++type) {
        static const char* names[] = {
            "Gradient 0 (none)", "1 horizontal",        "2 horizontal mirrored",
            "3 vertical",        "4 vertical mirrored", "5 diagonal",
            "6 diagonal"};
        ToolBar* tb = addToolBar(parent, x + type * 176, y, 168, 80, names[type]);
        tb->setAutoSize(false); // the control wraps itself around its grid
        tb->setButtonsPerRow(2);
        tb->setButtonsWidth(84);
        setButtons(tb, {"Home", "Get Apps", "Options", "About"});
        tb->setBackColor(rgb(70, 110, 190));
        tb->setBackGradientCol(rgb(255, 192, 192));
        tb->setBackGradient(type);
        tb->setForeColor(rgb(255, 255, 255));
    }
    y += 16 + 80 + 10;

    // Row 2: button styles 0-2 with a hovered, a latched and a disabled button,
    // the pressed look, border styles and picture placements.
    const char* styleNames[] = {"Style 0: flat, 1 hovered, 2 latched",
                                "Style 1: raised, 1 hovered, 3 disabled",
                                "Style 2: filled hover, 0 hovered"};
    for (int style = 0; style <= 2; ++style) {
        ToolBar* tb = addToolBar(parent, x + style * 236, y, 228, 100, styleNames[style]);
        tb->setAutoSize(false); // the control wraps itself around its grid
        tb->setButtonsPerRow(2);
        tb->setButtonsWidth(112);
        tb->setButtonsHeight(48);
        setButtons(tb, {"Get Portable", "Get Slim", "Latched", "Disabled"});
        tb->setButtonsStyle(style);
        tb->setHoverColor(style == 2 ? systemColour(SysGrayText) : rgb(255, 230, 160));
        tb->setButtonPressed(2, true);
        tb->setButtonEnabled(3, false);
        tb->setButtonIcon(0, icon(IDI_INFORMATION));
        tb->setButtonIconAllignment(0, 2);
        tb->ShowHoverState(style == 2 ? 0 : 1, false);
    }
    {
        ToolBar* tb =
            addToolBar(parent, x + 3 * 236, y, 228, 100, "Pressed (mouse down), raised border 3-D");
        tb->setAutoSize(false); // the control wraps itself around its grid
        tb->setButtonsPerRow(2);
        tb->setButtonsWidth(110);
        tb->setButtonsHeight(47);
        tb->setBorderStyle(1);
        tb->setAppearance(1);
        setButtons(tb, {"Pressed", "Update", "Exit", "Button 3"});
        tb->setHoverColor(rgb(200, 220, 255));
        tb->ShowHoverState(0, true);
    }
    {
        ToolBar* tb = addToolBar(parent, x + 4 * 236, y, 300, 100,
                                 "Pictures: above, below, left, right; sunken flat");
        tb->setAutoSize(false); // the control wraps itself around its grid
        tb->setButtonsPerRow(4);
        tb->setButtonsWidth(74);
        tb->setButtonsHeight(96);
        tb->setBorderStyle(2);
        setButtons(tb, {"Above", "Below", "Left", "Right"});
        const LPCSTR ids[] = {IDI_INFORMATION, IDI_WARNING, IDI_ERROR, IDI_QUESTION};
        for (long i = 0; i < 4; ++i) {
            tb->setButtonIcon(i, icon(ids[i]));
            tb->setButtonIconAllignment(i, i);
        }
        tb->setHoverColor(rgb(255, 240, 200));
        tb->ShowHoverState(1, false); // with HoverIconShadow
    }
    y += 16 + 100 + 10;

    // Row 3: the main window's navigation bar look, from stored settings
    // (grey, style 2, pictures left, grid following the control's size).
    {
        PropertyBag bag;
        bag.writeColour("BackColor", rgb(128, 128, 128), 0);
        bag.writeColour("BackGradientCol", rgb(128, 128, 128), 0);
        bag.writeColour("ForeColor", rgb(255, 255, 255), 0);
        bag.writeColour("HoverColor", systemColour(SysGrayText), 0);
        bag.writeInt("ButtonsStyle", 2, 0);
        bag.writeBool("WarpSize", false, true);
        bag.writeInt("TooTipStyle", 0, 2);
        bag.set("Font", encodeFont(FontDesc{"Tahoma", -11, 400, false, false, false, 1}));
        const char* captions[] = {"Home", "Get Apps", "Get Portable", "Get Slim", "Exit"};
        bag.writeInt("Button_Count", 5, 1);
        for (int i = 0; i < 5; ++i) {
            bag.set(PropertyBag::itemName("ButtonCaption", i), captions[i]);
            bag.writeInt(PropertyBag::itemName("ButtonIconAllignment", i), 2, 0);
            bag.set(PropertyBag::itemName("ButtonToolTipText", i), captions[i]);
        }
        label(parent, x, y, 150, "Navigation bar look");
        auto tb = std::make_unique<ToolBar>();
        tb->Create(parent, x, y + 16, 137, 200, 0, &bag);
        tb->setAlign(ToolBar::DockLeft);
        for (long i = 0; i < 5; ++i)
            tb->setButtonIcon(i, icon(i % 2 ? IDI_WINLOGO : IDI_APPLICATION));
        tb->ShowHoverState(2, false);
        toolbars.push_back(std::move(tb));
    }

    // Status bars in the four looks, each in its own frame so it docks there,
    // in two columns beside the navigation bar.
    struct LookSample {
        const char* name;
        int theme;
        Colour back;
    };
    const LookSample looks[] = {
        {"Status bar, classic look (Theme 1)", 1, systemColour(SysButtonFace)},
        {"Blue look (Theme 2)", 2, rgb(214, 223, 247)},
        {"Olive look (Theme 3)", 3, rgb(236, 233, 216)},
        {"Silver look (Theme 4), panel 2 being edited", 4, rgb(229, 229, 234)},
        {"Olive look in the main window's dark theme colour", 3, rgb(103, 103, 103)},
    };
    for (int k = 0; k < 5; ++k) {
        const int sx = x + 160 + (k % 2) * 550;
        const int sy = y + (k / 2) * 48;
        label(parent, sx, sy, 500, looks[k].name);
        HWND frame = CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "",
                                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, sx, sy + 16, 540, 28,
                                     parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        auto sb = std::make_unique<StatusBar>();
        sb->Create(frame, 24);
        sb->setTheme(looks[k].theme);
        sb->setBackColor(looks[k].back);
        if (k == 4) {
            // As the main window adds its link field.
            sb->AddPanel({.sText = "http://example.com/files/setup.exe",
                          .bAutoSize = true,
                          .bEditable = true,
                          .bIconState = false,
                          .lForeColor = rgb(224, 224, 224),
                          .sToolTipText = "0"});
        } else {
            sb->AddPanel({.sText = "example.com/setup.exe", .bAutoSize = true, .bEditable = true});
            sb->AddPanel({.sText = "Editable panel",
                          .bEditable = true,
                          .lForeColor = rgb(0, 0, 160),
                          .sToolTipText = "Double-click to edit",
                          .lWidth = 110});
            sb->AddPanel({.sText = "Icon",
                          .uTextAlign = 1,
                          .bAutoSize = true,
                          .oIcon = icon(IDI_INFORMATION)});
            sb->AddPanel({.sText = "Disabled icon",
                          .bAutoSize = true,
                          .oIcon = icon(IDI_WARNING),
                          .bIconState = false});
            sb->AddPanel({.sText = "Right", .uTextAlign = 2, .lMaskColor = 0, .lWidth = 60});
        }
        if (k == 3)
            sb->BeginEdit(2);
        statusbars.push_back(std::move(sb));
    }

    // A tiled background picture (gradient off) with a raised flat border.
    {
        static HBITMAP tile = nullptr;
        if (!tile) {
            std::uint32_t px[8 * 8];
            for (int i = 0; i < 64; ++i)
                px[i] = ((i / 8 + i % 8) / 4) % 2 ? 0x00D8E4F0 : 0x00F4F8FC;
            BITMAPINFO bi{};
            bi.bmiHeader.biSize = sizeof bi.bmiHeader;
            bi.bmiHeader.biWidth = 8;
            bi.bmiHeader.biHeight = -8;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = 32;
            bi.bmiHeader.biCompression = BI_RGB;
            void* bits = nullptr;
            tile = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (tile && bits)
                std::copy(px, px + 64, static_cast<std::uint32_t*>(bits));
        }
        ToolBar* tb = addToolBar(parent, x + 160 + 550, y + 2 * 48, 540, 40,
                                 "Tiled background picture, raised border");
        tb->setAutoSize(false);
        tb->setButtonsPerRow(4);
        tb->setButtonsWidth(132);
        tb->setBorderStyle(1);
        setButtons(tb, {"Update", "About", "Exit", "Help"});
        tb->setBackGround(Picture{nullptr, tile});
    }
}
