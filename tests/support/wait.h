// Waiting for a condition with a deadline instead of sleeping and hoping.
#ifndef PEERIX_TEST_WAIT_H
#define PEERIX_TEST_WAIT_H

#include <functional>

namespace waiting {

// Polls condition (pumping this thread's messages between polls) until it holds or timeoutMs
// passes; returns whether it held.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000, int pollMs = 10);

// Handles this thread's pending messages for about ms milliseconds (for windows the test owns).
void PumpFor(int ms);

}  // namespace waiting

#endif
