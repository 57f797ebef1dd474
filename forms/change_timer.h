// A timer that works only after something it watches changed. Its Tick asks
// take(): true once per batch of changes; when nothing is pending the timer
// sleeps (the system sends it no ticks at all) until the next change wakes
// it, so an idle window costs nothing. Enabled() keeps its value throughout.
//
//   ChangeTimer work{Timer1};
//   work.watch(lstApps);           // list items, text, current page
//   Timer1.Tick = [&] { if (work.take()) refresh(); };
#pragma once

#include "forms/controls.h"

namespace forms {

class ChangeTimer {
  public:
    // Starts with work pending, so that the first tick brings everything in
    // step with whatever the form holds then.
    explicit ChangeTimer(Timer& timer) : timer_(timer) {}
    ChangeTimer(const ChangeTimer&) = delete;
    ChangeTimer& operator=(const ChangeTimer&) = delete;

    // Changes of the control's content wake the timer.
    void watch(Control& control);
    // Something the work depends on changed: wake the timer.
    void mark();
    // For the tick: true when work is pending (it is then taken). Either way
    // the timer goes to sleep; changes made by the work itself wake it again
    // for one more tick.
    bool take();
    bool pending() const { return pending_; }

  private:
    Timer& timer_;
    bool pending_ = true;
};

} // namespace forms
