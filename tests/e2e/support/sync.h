// Proofs that Peerix has handled what a test did, for the checks that something did not happen:
// instead of waiting a while and hoping, the test waits for a later effect that Peerix can only
// show once it has handled everything before it.
#ifndef PEERIX_E2E_SYNC_H
#define PEERIX_E2E_SYNC_H

#include <windows.h>

namespace e2e {

// Presses Ctrl+T twice and waits until the Always on Top button has been checked and cleared
// again. Input is handled in the order given, so every key, click and wheel turn before them has
// been handled too; then whatever that left to paint is painted and on the screen. False when the
// button never changed.
bool InputHandled(HWND peerix);

// Moves the pointer to `to` and waits until the status bar shows its coordinates: a tick of the
// 100 ms timer has run since the move, and what it painted is on the screen. False when none did,
// and always with the status bar hidden: then its texts are not kept up to date.
bool TickSeenAt(HWND peerix, POINT to);

}  // namespace e2e

#endif
