#include "app/page_state.h"

#include "app/search_sort.h"
#include "platform/guarded.h"

#include <string>
#include <utility>

namespace app {

using platform::guarded;

PageState::PageState(PageStateView view)
    : v_(std::move(view)), outerWork_(v_.outerTimer), innerWork_(v_.innerTimer) {
    watch();
}

void PageState::watch() {
    resolve();
    outerWork_.watch(v_.outer);
    innerWork_.watch(v_.inner);
    for (const Count& c : counts_)
        outerWork_.watch(*c.list);
    for (forms::TextBox* box : v_.outerSearch)
        outerWork_.watch(*box);
    innerWork_.watch(v_.innerSearch);
}

void PageState::resolve() {
    if (resolved_)
        return;
    resolved_ = true;
    for (const PageCommand& c : kPageCommands)
        if (forms::Control* control = v_.form.control(c.control))
            commands_.push_back({c.stack, c.page, control});
    for (const CountLabel& c : kCountLabels) {
        auto* label = dynamic_cast<forms::Label*>(v_.form.control(c.label));
        auto* list = dynamic_cast<forms::ListBox*>(v_.form.control(c.list));
        if (label && list)
            counts_.push_back({label, list});
    }
}

void PageState::outerTick() {
    if (!outerWork_.take())
        return;
    showCommands(Stack::Outer);
    updateCounts();
    for (forms::TextBox* box : v_.outerSearch)
        guarded([&] { trimSearchBox(*box); });
}

void PageState::innerTick() {
    if (!innerWork_.take())
        return;
    showCommands(Stack::Inner);
    guarded([&] { trimSearchBox(v_.innerSearch); });
}

void PageState::showCommands(Stack stack) {
    resolve();
    int page = (stack == Stack::Outer ? v_.outer : v_.inner).Tab();
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
