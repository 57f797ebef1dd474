#include "ui/layout.h"

#include "platform/guarded.h"
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

void applyResizeRule(forms::Form& form, int pagesTop) {
    for (const Assignment& a : resizeRule(form.Width(), form.Height(), pagesTop))
        if (forms::Control* c = form.control(a.control))
            platform::guarded([&] {
                switch (a.field) {
                case Field::Left:
                    c->setLeft(a.value);
                    break;
                case Field::Top:
                    c->setTop(a.value);
                    break;
                case Field::Width:
                    c->setWidth(a.value);
                    break;
                case Field::Height:
                    c->setHeight(a.value);
                    break;
                }
            });
}

} // namespace ui
