// Pure rules of the Options dialog: intervals in milliseconds shown as updates per second.
#ifndef PEERIX_DIALOG_RULES_H
#define PEERIX_DIALOG_RULES_H

namespace rules {

constexpr int kMinRate = 1, kMaxRate = 50;

// Updates per second shown for an interval (1000 / ms, truncated); never divides by zero.
int RateForInterval(int milliseconds);
// The interval stored for an accepted rate (1000 / rate, truncated).
int IntervalForRate(int perSecond);
// A field is valid when its text was a number and that number, taken as signed, is 1..50.
bool ValidRate(bool translated, unsigned value);
// Reads a field's whole text as a decimal number: digits only, with spaces or tabs around them
// allowed and nothing else (no sign, point, exponent or trailing letters). A number too large
// for 32 bits gives 0xFFFFFFFF, which no range accepts.
bool ParseDecimal(const char* text, unsigned* value);

}  // namespace rules

#endif
