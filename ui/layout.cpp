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

namespace {

// The property write of each field, in the order of Field.
using Setter = void (forms::Control::*)(int);
constexpr Setter kSetters[] = {&forms::Control::setLeft, &forms::Control::setTop,
                               &forms::Control::setWidth, &forms::Control::setHeight};
static_assert(static_cast<int>(Field::Height) == 3);

} // namespace

void applyResizeRule(forms::Form& form, int pagesTop) {
    for (const Assignment& a : resizeRule(form.Width(), form.Height(), pagesTop))
        if (forms::Control* c = form.control(a.control))
            platform::guarded([&] { (c->*kSetters[static_cast<int>(a.field)])(a.value); });
}

} // namespace ui
