#include "app/search_sort.h"

#include "app/pure/text_rules.h"

namespace app {

void trimSearchBox(forms::TextBox& box) {
    std::string text = box.Text();
    if (trimParenthesis(text))
        box.setText(text);
}

} // namespace app
