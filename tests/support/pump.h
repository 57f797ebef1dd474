// The tests' message loop: window messages are processed as the program's own
// loop does (the form runtime's keyboard handling first), except that a quit
// left over from an earlier test's form is dropped and does not end the loop.
#pragma once

#include <functional>

namespace testsupport {

// Processes window messages until `done` is true or `ms` have passed.
bool pumpUntil(const std::function<bool()>& done, unsigned ms = 2000);

// Processes window messages for about `ms` milliseconds (timers included).
void pumpMessages(unsigned ms);

} // namespace testsupport
