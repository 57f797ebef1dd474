#include "app/page_state.h"

#include "app/guarded.h"

#include <string>

namespace app {

PageState::PageState(forms::Form& form, forms::PageStack& outer, forms::PageStack& inner)
    : form_(form), outer_(outer), inner_(inner) {}

void PageState::resolve() {
    if (resolved_)
        return;
    resolved_ = true;
    for (const PageCommand& c : kPageCommands)
        if (forms::Control* control = form_.control(c.control))
            commands_.push_back({c.stack, c.page, control});
    for (const CountLabel& c : kCountLabels) {
        auto* label = dynamic_cast<forms::Label*>(form_.control(c.label));
        auto* list = dynamic_cast<forms::ListBox*>(form_.control(c.list));
        if (label && list)
            counts_.push_back({label, list});
    }
}

void PageState::showCommands(PageStackId stack) {
    resolve();
    int page = (stack == PageStackId::Outer ? outer_ : inner_).Tab();
    for (const Command& c : commands_)
        if (c.stack == stack)
            guarded([&] { c.control->setVisible(c.page == page); });
}

void PageState::updateCounts() {
    resolve();
    for (const Count& c : counts_)
        guarded([&] {
            std::string count = std::to_string(c.list->ListCount());
            if (c.label->Caption() != count)
                c.label->setCaption(count);
        });
}

} // namespace app
