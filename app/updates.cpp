#include "app/updates.h"

#include "platform/guarded.h"

namespace app {

using platform::guarded;

Updates::Updates(platform::Services& services, Controls controls, std::string productServer)
    : controls_(controls), productServer_(std::move(productServer)),
      window_(services,
              {.chkAutoUpdate = controls.chkAutoUpdate,
               .txtSignatureServer = controls.txtSignatureServer,
               .lstSignatures = controls.lstSignatures,
               .restart = [this] { update::restartWindow(controls_.main); },
               .owner = [this] { return controls_.main.hwnd(); }},
              productServer_) {}

std::string Updates::DefaultSignatureServer() const {
    return update::defaultSignatureServer(productServer_);
}

std::string Updates::StatusText() {
    return "Fetchlets Version: " + controls_.lblVersion.Caption() +
           ", Signature Version: " + window_.SignatureVersion();
}

void Updates::Show(bool owned) {
    window_.Show(owned ? &controls_.main : nullptr);
}

void Updates::automaticCheck(forms::Timer& timer) {
    timer.setEnabled(false);
    if (controls_.chkAutoUpdate.Value() != 1)
        return;
    guarded([&] { Show(); });
    guarded([&] { window_.CheckForSignatureUpdates(); });
}

void Updates::Unload() {
    window_.Unload();
}

} // namespace app
