// Real input as a user gives it: SendInput for keys, buttons and the wheel. Mouse positions are
// absolute screen pixels (relative moves are accelerated by the system).
#ifndef PEERIX_E2E_INPUT_H
#define PEERIX_E2E_INPUT_H

#include <windows.h>

#include <initializer_list>

namespace input {

void MoveTo(int x, int y);
void LeftDown();
void LeftUp();
void RightDown();
void RightUp();
void MiddleClick();
// Moves to (x, y) and clicks there.
void LeftClick(int x, int y);
void RightClick(int x, int y);
// Presses at from, moves to `to` in steps (each a real move message), releases.
void LeftDrag(POINT from, POINT to, int steps = 8);
void RightDrag(POINT from, POINT to, int steps = 8);
// One wheel notch is 120; negative turns toward the user.
void Wheel(int delta);
void KeyDown(WORD key);
void KeyUp(WORD key);
// Presses the modifiers, taps the key, releases the modifiers in reverse.
void Press(WORD key, std::initializer_list<WORD> modifiers = {});
// Types text as key presses (letters, digits, '-', '.', and what else the keyboard layout has).
void Type(const char* text);
// Makes window the foreground window (clicking its caption if the system refuses); false when it
// does not become foreground.
bool Focus(HWND window);
// Focus, then waits until the window's thread has the keyboard focus on the window or one of its
// children, so that keys pressed next reach it; false when that does not happen.
bool FocusForKeys(HWND window);

}  // namespace input

#endif
