// The shell operations the program's actions use, over the services.
#pragma once

#include "platform/pure/link_scheme.h"
#include "platform/services.h"

#include <string>

namespace platform {

// Opens a web or mail address with its default handler (verb "Open", shown
// normally). A refused link is not handed over; the result says why, and the
// caller tells the user. The shell's own answer is not reported.
LinkCheck openLink(Services& services, HWND owner, const std::string& link);

// Opens a file with the program associated with it, or with the system's
// Open With dialog when none is.
void openDocument(Services& services, const std::string& path);

} // namespace platform
