#include "forms/change_timer.h"

namespace forms {

void ChangeTimer::watch(Control& control) {
    control.addChangeListener([this] { mark(); });
}

void ChangeTimer::mark() {
    pending_ = true;
    timer_.setSleeping(false);
}

bool ChangeTimer::take() {
    timer_.setSleeping(true);
    if (!pending_)
        return false;
    pending_ = false;
    return true;
}

} // namespace forms
