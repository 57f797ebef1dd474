// The system clipboard.
#pragma once

#include <string>

namespace platform {

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Empties the clipboard, then places `text` (ANSI) in the standard text
    // format. False when the clipboard could not be opened.
    virtual bool setText(const std::string& text) = 0;
};

} // namespace platform
