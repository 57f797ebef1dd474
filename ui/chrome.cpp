#include "ui/chrome.h"

#include "controls/pure/colour.h"
#include "controls/themedbutton.h"
#include "ui/navigation.h"

namespace ui {

using controls::rgb;

const Picture kHomePictures[9] = {
    Picture::GetApps,     Picture::GetPortable,     Picture::GetSlim,
    Picture::StarterKit,  Picture::Recommendations, Picture::Help,
    Picture::LinkManager, Picture::Snapshot,        Picture::Suggestion,
};

namespace {

int scaled(int pixelsAt96, int dpi) {
    return MulDiv(pixelsAt96, dpi, 96);
}

constexpr controls::Colour kDarkGrey = rgb(64, 64, 64);

} // namespace

controls::FontDesc Chrome::toolbarFont(int dpi) {
    controls::FontDesc f;
    f.face = "Tahoma";
    f.height = -MulDiv(9, dpi, 72);
    f.charSet = DEFAULT_CHARSET;
    return f;
}

void Chrome::design(int dpi) {
    controls::PropertyBag& t = v_.toolbar.Settings;
    t.clear();
    t.writeColour("BackColor", rgb(128, 128, 128), 0x8000000F);
    t.writeColour("BackGradientCol", rgb(128, 128, 128), 12632319);
    t.writeColour("ForeColor", rgb(255, 255, 255), 0);
    t.writeColour("HoverColor", 0x80000011, 0x8000000F);
    t.writeInt("ButtonsStyle", 2, 0);
    t.writeBool("WarpSize", false, true);
    t.writeBool("AutoSize", true, true);
    t.writeInt("TooTipStyle", 0, 2);
    t.set("Font", controls::encodeFont(toolbarFont(dpi)));
    // One column as wide as the bar: the buttons' width is the bar's own.
    t.writeInt("ButtonsWidth", scaled(120, dpi), 90);
    t.writeInt("ButtonsHeight", scaled(40, dpi), 40);
    t.writeInt("ButtonsPerRow", 1, 3);
    t.writeInt("Button_Count", 8, 1);
    for (int i = 0; i < 8; ++i) {
        t.writeString(controls::PropertyBag::itemName("ButtonCaption", i),
                      Navigation::kToolbarCaptions[i], "");
        t.writeInt(controls::PropertyBag::itemName("ButtonIconAllignment", i), 2, 0);
    }
    // The olive look.
    v_.statusbar.Settings.writeInt("Theme", 3, 0);

    // The Home buttons' captions in dark grey on the buttons' own face; the
    // feedback button's in white.
    for (forms::CommandButton* b : v_.homeButtons)
        b->setForeColor(kDarkGrey);
    v_.feedback.setForeColor(rgb(255, 255, 255));
}

void Chrome::apply(int dpi) {
    pictures_.clear();
    if (controls::ToolBar* bar = v_.toolbar.bar()) {
        bar->setFont(toolbarFont(dpi));
        bar->setButtonsWidth(scaled(120, dpi));
        bar->setButtonsHeight(scaled(40, dpi));
        for (int i = 0; i < 8; ++i)
            bar->setButtonIcon(
                i, {.bitmap = pictures_.addBitmap(static_cast<Picture>(i), scaled(24, dpi), true),
                    .alpha = true});
    }
    for (int i = 0; i < 9; ++i) {
        forms::CommandButton& b = *v_.homeButtons[i];
        if (controls::ThemedButton* t = b.button()) {
            t->setStyle(4);
            t->setUseCustomColors(true);
            t->setFontColor(kDarkGrey);
            t->setFontHighlightColor(kDarkGrey);
            t->setIconAlign(controls::ThemedButton::AlignTop);
            t->setIconSize(scaled(32, dpi));
        }
        b.setPicture(pictures_.addBitmap(kHomePictures[i], scaled(32, dpi)));
    }
    if (controls::ThemedButton* t = v_.feedback.button()) {
        t->setStyle(2);
        t->setUseCustomColors(true);
        t->setFontColor(rgb(255, 255, 255));
        t->setFontHighlightColor(rgb(255, 255, 255));
        t->setMousePointer(controls::ThemedButton::kHandPointer);
    }
    const int side = scaled(32, dpi);
    v_.updateImage.setAlphaBitmap(pictures_.addBitmap(Picture::UpdateBadge, side));
    v_.twitterImage.setAlphaBitmap(pictures_.addBitmap(Picture::Twitter, side));
    v_.facebookImage.setAlphaBitmap(pictures_.addBitmap(Picture::Facebook, side));
}

} // namespace ui
