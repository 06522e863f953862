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

}  // namespace rules
