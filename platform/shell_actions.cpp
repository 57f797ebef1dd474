#include "platform/shell_actions.h"

#include <shellapi.h>

namespace platform {

LinkCheck openLink(Services& services, HWND owner, const std::string& link) {
    LinkCheck check = checkLink(link);
    if (check)
        services.shell.execute(owner, "Open", check.target, "", "", SW_SHOWNORMAL);
    return check;
}

void openDocument(Services& services, const std::string& path) {
    HWND desktop = GetDesktopWindow();
    long r = services.shell.execute(desktop, "open", path, "", "", SW_SHOWNORMAL);
    if (r != SE_ERR_NOASSOC)
        return;
    // No program is associated: the Open With dialog, started from the
    // system folder.
    std::string system = services.environment.systemDirectory();
    if (system.size() > 260)
        system.resize(260);
    services.shell.execute(desktop, "", "RUNDLL32.EXE", "shell32.dll,OpenAs_RunDLL " + path, system,
                           SW_SHOWNORMAL);
}

} // namespace platform
