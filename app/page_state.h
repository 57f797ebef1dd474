// Applies the command-state table to a window: each page's commands visible
// exactly while their page is current, each count label showing its list's
// count. Only values that differ are written.
#pragma once

#include "app/pure/command_state.h"
#include "forms/controls.h"

#include <vector>

namespace app {

class PageState {
  public:
    PageState(forms::Form& form, forms::PageStack& outer, forms::PageStack& inner);

    // Visibility of the commands that belong to one page stack's pages.
    void showCommands(PageStackId stack);
    // Every count label := its list's count.
    void updateCounts();

  private:
    void resolve();
    forms::Form& form_;
    forms::PageStack& outer_;
    forms::PageStack& inner_;
    struct Command {
        PageStackId stack;
        int page;
        forms::Control* control;
    };
    struct Count {
        forms::Label* label;
        forms::ListBox* list;
    };
    std::vector<Command> commands_;
    std::vector<Count> counts_;
    bool resolved_ = false;
};

} // namespace app
