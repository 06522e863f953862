#include "rules.h"

namespace rules {

int RateForInterval(int ms) {
    return ms > 0 ? 1000 / ms : kMaxRate;
}

int IntervalForRate(int perSecond) {
    return perSecond > 0 ? 1000 / perSecond : 1000;
}

bool ValidRate(bool translated, unsigned value) {
    const int v = static_cast<int>(value);
    return translated && v >= kMinRate && v <= kMaxRate;
}

bool ParseDecimal(const char* text, unsigned* value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (blank(*text)) ++text;
    unsigned long long v = 0;
    const char* digits = text;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (v <= 0xFFFFFFFFull) v = v * 10 + static_cast<unsigned>(*text - '0');
    if (text == digits) return false;
    while (blank(*text)) ++text;
    if (*text != '\0') return false;
    *value = v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<unsigned>(v);
    return true;
}

}  // namespace rules
