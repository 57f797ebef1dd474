#include "ui/layout.h"

#include "ui/pure/layout.h"

namespace ui {

void placeControls(forms::Form& form, forms::PageStack& outer, forms::PageStack& inner) {
    for (const PagePlace& p : kPagePlaces)
        if (forms::Control* c = form.control(p.control))
            c->placeOn(p.stack == Stack::Outer ? outer : inner, p.page);
    for (const Placement& p : designLayout())
        if (forms::Control* c = form.control(p.control))
            c->Move(p.rect.left, p.rect.top, p.rect.width, p.rect.height);
}

} // namespace ui
