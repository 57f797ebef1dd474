// The link field: the text of the first panel of the main window's status
// bar. Choosing an entry writes its link here, hints and the version text
// write here too, and every command acting on the chosen entry reads it at
// the moment it runs (the user may have edited it in place).
#pragma once

#include "forms/bars.h"

#include <string>

namespace app {

class LinkField {
  public:
    explicit LinkField(forms::StatusBar& bar) : bar_(bar) {}

    // The first panel's text; empty while the bar has no panel.
    std::string Text() const { return bar_.PanelText(kFirstPanel); }
    // Writes the first panel's text; nothing happens while the bar has no panel.
    void setText(const std::string& text) { bar_.setPanelText(kFirstPanel, text); }

  private:
    // The window addresses the panel as 0, which the bar takes as its first.
    static constexpr int kFirstPanel = 0;
    forms::StatusBar& bar_;
};

} // namespace app
