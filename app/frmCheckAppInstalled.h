// The check window: searches the main window's list of installed
// applications for a name, by prefix or (after "*") anywhere in the name.
#pragma once

#include "forms/controls.h"

#include <string>

namespace app {

// What the check window reads of the main window.
struct CheckAppInstalledView {
    const forms::ListBox& lstSoftware;
    std::string settingsFile; // keeps the window's geometry
};

class frmCheckAppInstalled : public forms::Form {
  public:
    static constexpr const char* kSection = "WindowStateCheckAppInstalled";

    explicit frmCheckAppInstalled(CheckAppInstalledView view);

    forms::TextBox txtSearch{*this, "txtSearch"};
    forms::Label Label2{*this, "Label2", "Found:"};
    forms::Label lblCountApps{*this, "lblCountApps", "0"};
    forms::ListBox lstSearch{*this, "lstSearch"};
    forms::Image Image1{*this, "Image1"};
    forms::Timer Timer1{*this, "Timer1", 1};

    // Opens the window for the chosen entry of a catalog list: shown
    // modeless, owned by `owner`, searching for "*" and the first three
    // characters of the entry's name; the caption names the entry.
    void checkEntry(forms::Form& owner, const forms::ListBox& entries);

  protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int& cancel) override;

    void txtSearch_Change();
    void txtSearch_DblClick();
    void Timer1_Timer();

  private:
    void placeFooter();
    CheckAppInstalledView view_;
};

} // namespace app
