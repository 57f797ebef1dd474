// Steps that run on their own, the two failure policies of the program.
//
// guarded(step): "a failing statement is skipped". The start-up, timer,
// navigation and shutdown steps of the windows each run on their own: a step
// fails when it throws (a control that cannot take a value, a file that
// cannot be read, memory that runs out); it is abandoned without a message
// and the caller goes on with the next one. Steps that report failure by
// their result instead (a profile write returning false) are not failures
// here: the caller decides what to tell the user.
//
// guarded(raise, step): the failure is the caller's own error. Any exception
// the step throws is handed to `raise`, which throws it again in the caller's
// terms (a control's error with its routine named); otherwise the step's
// value is returned.
#pragma once

#include <exception>

namespace platform {

template <typename F> void guarded(F&& step) {
    try {
        step();
    } catch (...) {
    }
}

template <typename R, typename F> auto guarded(R&& raise, F&& step) -> decltype(step()) {
    try {
        return step();
    } catch (...) {
        raise(std::current_exception());
        throw;
    }
}

} // namespace platform
