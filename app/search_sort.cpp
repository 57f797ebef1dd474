#include "app/search_sort.h"

#include "app/pure/search_sort.h"
#include "app/pure/text_rules.h"
#include "platform/guarded.h"

namespace app {

using platform::guarded;

void trimSearchBox(forms::TextBox& box) {
    std::string text = box.Text();
    if (trimParenthesis(text))
        box.setText(text);
}

void searchBoxClicked(forms::TextBox& box) {
    guarded([&] { box.Tag = "-1"; });
    guarded([&] { box.setText(""); });
}

void searchBoxKeyPress(forms::TextBox& box, forms::ListBox& entries) {
    SearchOutcome step;
    guarded([&] { step = searchStep(entries.items(), box.Text(), box.Tag); });
    // A hit on the entry already selected runs the entry-chosen handling
    // too (the list itself reports no change): the link field may hold a
    // hint by now.
    if (step.select >= 0)
        guarded([&] {
            if (entries.ListIndex() == step.select && entries.Click)
                entries.Click();
            else
                entries.setListIndex(step.select);
        });
    guarded([&] { box.Tag = step.position; });
    if (step.wrapped) {
        guarded([&] { box.SetFocus(); });
        guarded([&] { box.setSelStart(static_cast<int>(box.Text().size())); });
    }
}

void Liste_Sortieren(forms::ListBox& list) {
    std::vector<std::string> items = list.items();
    sortAZ(items);
    list.setItems(items);
}

void wireSearchBoxes(const Kinds& kinds) {
    for (const KindControls& k : kinds) {
        if (!k.search)
            continue;
        forms::TextBox* box = k.search;
        forms::ListBox* entries = &k.entries;
        box->Click = [box] { searchBoxClicked(*box); };
        box->KeyPress = [box, entries](int&) { searchBoxKeyPress(*box, *entries); };
    }
}

} // namespace app
