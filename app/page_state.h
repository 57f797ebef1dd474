// Applies the command-state table to a window: each page's commands visible
// exactly while their page is current, each count label showing its list's
// count, and the search boxes trimmed. Two fast timers do it, one per page
// stack; each sleeps until something it keeps in step changes. Only values
// that differ are written.
#pragma once

#include "app/pure/command_state.h"
#include "forms/change_timer.h"
#include "forms/controls.h"

#include <vector>

namespace app {

// What the page state reads and writes of the window.
struct PageStateView {
    forms::Form& form;
    forms::PageStack& outer;  // SSTab1
    forms::PageStack& inner;  // SSTab2
    forms::Timer& outerTimer; // Timer1
    forms::Timer& innerTimer; // Timer3
    // The search boxes the outer and the inner timer trim.
    std::vector<forms::TextBox*> outerSearch;
    forms::TextBox& innerSearch;
};

class PageState {
  public:
    // What each stack's work depends on wakes its timer: the page stack
    // itself, the search boxes it trims and, for the outer one, the counted
    // lists.
    explicit PageState(PageStateView view);

    // Timer1's tick: the outer stack's commands, the counts, the Apps,
    // Portable and Slim search boxes.
    void outerTick();
    // Timer3's tick: the inner stack's commands, the Special search box.
    void innerTick();

    // Visibility of the commands that belong to one page stack's pages.
    void showCommands(Stack stack);
    // Every count label := its list's count.
    void updateCounts();

  private:
    void resolve();
    void watch();
    PageStateView v_;
    forms::ChangeTimer outerWork_;
    forms::ChangeTimer innerWork_;
    struct Command {
        Stack stack;
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
