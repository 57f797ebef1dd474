// Telling the user something: a message box owned by a window.
#pragma once

#include "forms/form.h"
#include "platform/services.h"

#include <string>

namespace forms {

// `text` with an OK button and `icon` (MB_ICONINFORMATION, MB_ICONWARNING,
// ...), owned by `owner` while it is loaded; nothing when this build offers
// no message boxes.
inline void tell(platform::Services& services, Form& owner, const std::string& text,
                 unsigned icon = MB_ICONINFORMATION) {
    if (services.messageBoxes)
        services.messageBoxes->show(owner.isLoaded() ? owner.hwnd() : nullptr, text, "",
                                    MB_OK | icon);
}

} // namespace forms
