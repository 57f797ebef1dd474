// "A failing statement is skipped": the start-up, timer, navigation and
// shutdown steps of the main window each run on their own. A step fails when
// it throws (a control that cannot take a value, a file that cannot be read,
// memory that runs out); the step is abandoned without a message and the
// caller goes on with the next one. Steps that report failure by their result
// instead (a profile write returning false) are not failures here: the
// caller decides what to tell the user.
#pragma once

namespace app {

template <typename F> void guarded(F&& step) {
    try {
        step();
    } catch (...) {
    }
}

} // namespace app
