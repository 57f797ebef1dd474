// The link field over a status bar on a real form.
#include "app/link_field.h"

#include <gtest/gtest.h>

namespace {

class LinkForm : public forms::Form {
  public:
    LinkForm() : Form("frmLinkFieldTest", "Link field") {}
    forms::StatusBar StatusBar1{*this, "StatusBar1"};
    bool withPanel = true;

  protected:
    void Form_Load() override {
        if (withPanel)
            StatusBar1.AddPanel({.sText = "0", .bAutoSize = true, .bEditable = true});
    }
};

} // namespace

TEST(LinkField, ReadsAndWritesTheFirstPanelOnly) {
    LinkForm f;
    f.Load();
    f.StatusBar1.AddPanel({.sText = "other panel"});
    app::LinkField link{f.StatusBar1};
    EXPECT_EQ(link.Text(), "0");
    link.setText("http://example.org/setup.exe");
    EXPECT_EQ(link.Text(), "http://example.org/setup.exe");
    EXPECT_EQ(f.StatusBar1.PanelText(1), "http://example.org/setup.exe");
    EXPECT_EQ(f.StatusBar1.PanelText(2), "other panel");
    // What the user typed into the panel is what the field holds.
    f.StatusBar1.bar()->BeginEdit(1);
    SetWindowTextA(f.StatusBar1.bar()->EditWindow(), "edited by hand");
    f.StatusBar1.SetFocus(); // leaving the box stores its text
    EXPECT_EQ(link.Text(), "edited by hand");
    f.Unload();
}

TEST(LinkField, IsEmptyAndIgnoresWritesWithoutAPanel) {
    LinkForm f;
    f.withPanel = false;
    f.Load();
    app::LinkField link{f.StatusBar1};
    link.setText("lost");
    EXPECT_EQ(link.Text(), "");
    EXPECT_EQ(f.StatusBar1.PanelCount(), 0);
    f.Unload();
    EXPECT_EQ(link.Text(), ""); // nor without a window
}
