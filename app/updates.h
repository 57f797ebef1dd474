// The update window as the main window uses it: created with the main window
// and kept for its life, read for the catalog version at start-up (which
// loads it hidden), shown from the Home page's picture and the toolbar, the
// one automatic check after start-up, and the restart that reloads the main
// window in the same process.
#pragma once

#include "forms/controls.h"
#include "platform/services.h"
#include "update/frmUpdate.h"

#include <string>

namespace app {

class Updates {
  public:
    // The main-window controls the update window and the status text read.
    struct Controls {
        forms::Form& main;
        forms::CheckBox& chkAutoUpdate;
        forms::TextBox& txtSignatureServer;
        forms::ListBox& lstSignatures;
        forms::Label& lblVersion;
    };
    Updates(platform::Services& services, Controls controls,
            std::string productServer = update::kProductServer);

    update::frmUpdate& window() { return window_; }
    const std::string& productServer() const { return productServer_; }

    // The catalog server's folder that fills txtSignatureServer at start-up.
    std::string DefaultSignatureServer() const;
    // "Fetchlets Version: " + lblVersion + ", Signature Version: " + the
    // update window's catalog version; reading that loads the window hidden.
    std::string StatusText();
    // Shows the update window modeless, owned by the main window; from the
    // tray menu without owner (`owned` false), so that it has a taskbar
    // button of its own while the main window is hidden.
    void Show(bool owned = true);
    // Timer2's tick: with chkAutoUpdate ticked, shows the update window and
    // runs its automatic check. Either way the timer stops: one check per start.
    void automaticCheck(forms::Timer& timer);
    // Part of the main window's shutdown: the update window saves its geometry.
    void Unload();

  private:
    Controls controls_;
    std::string productServer_;
    update::frmUpdate window_;
};

} // namespace app
