#include <gtest/gtest.h>

#include "app/rules.h"
#include "dialogs/rules.h"

using namespace rules;

namespace {

struct RoundTrip {
    int entered, stored, shownAgain;
};

}  // namespace

TEST(RateConversion, EnteredRatesAreStoredAsTruncatedIntervals) {
    // Entries that come back unchanged and entries that do not: the interval is truncated, so
    // the rate shown next time can be higher than the one typed.
    const RoundTrip cases[] = {
        {1, 1000, 1}, {3, 333, 3},  {10, 100, 10}, {20, 50, 20}, {36, 27, 37}, {39, 25, 40},
        {42, 23, 43}, {44, 22, 45}, {46, 21, 47},  {48, 20, 50}, {49, 20, 50}, {50, 20, 50},
    };
    for (const RoundTrip& c : cases) {
        EXPECT_EQ(IntervalForRate(c.entered), c.stored) << c.entered;
        EXPECT_EQ(RateForInterval(c.stored), c.shownAgain) << c.entered;
    }
}

TEST(RateConversion, OkWithoutEditsRewritesIntervalsThroughTheShownRate) {
    // The defaults show as 1, 10 and 20; OK rewrites 1000 / (1000 / ms).
    EXPECT_EQ(RateForInterval(1000), 1);
    EXPECT_EQ(RateForInterval(100), 10);
    EXPECT_EQ(RateForInterval(50), 20);
    const struct {
        int before, after;
    } cases[] = {{30, 30}, {142, 142}, {36, 37}, {999, 1000}, {1000, 1000}, {20, 20}, {21, 21}, {501, 1000}};
    for (const auto& c : cases) EXPECT_EQ(IntervalForRate(RateForInterval(c.before)), c.after) << c.before;
}

TEST(RateConversion, EveryLoadableIntervalShowsARateTheDialogAccepts) {
    // The settings load keeps intervals in 20..1000, so pressing OK on an untouched dialog never
    // meets its own error box, and one more round changes nothing.
    for (int ms = rules::kMinInterval; ms <= rules::kMaxInterval; ++ms) {
        const int shown = RateForInterval(ms);
        ASSERT_TRUE(ValidRate(true, static_cast<unsigned>(shown))) << ms;
        const int stored = IntervalForRate(shown);
        // Truncation can only lengthen an interval (36 ms becomes 37), never beyond the range.
        ASSERT_GE(stored, ms) << ms;
        ASSERT_LE(stored, rules::kMaxInterval) << ms;
        ASSERT_EQ(IntervalForRate(RateForInterval(stored)), stored) << ms;
    }
    // Every valid entry stores an interval inside the loadable range.
    for (int rate = kMinRate; rate <= kMaxRate; ++rate) {
        EXPECT_GE(IntervalForRate(rate), rules::kMinInterval) << rate;
        EXPECT_LE(IntervalForRate(rate), rules::kMaxInterval) << rate;
        EXPECT_GE(RateForInterval(IntervalForRate(rate)), rate) << rate;
    }
}

TEST(RateConversion, ZeroAndNegativeValuesNeverDivideByZero) {
    // Only a hand-edited registry could give these, and the load clamps them; the conversions
    // still answer with something the dialog can show and store.
    EXPECT_EQ(RateForInterval(0), kMaxRate);
    EXPECT_EQ(RateForInterval(-5), kMaxRate);
    EXPECT_EQ(IntervalForRate(0), 1000);
    EXPECT_EQ(IntervalForRate(-1), 1000);
    EXPECT_EQ(rules::Clamp(0, rules::kMinInterval, rules::kMaxInterval), 20);
}

TEST(RateValidation, OnlyTranslatedNumbersFromOneToFifty) {
    EXPECT_TRUE(ValidRate(true, 1));
    EXPECT_TRUE(ValidRate(true, 25));
    EXPECT_TRUE(ValidRate(true, 50));
    EXPECT_FALSE(ValidRate(true, 0));
    EXPECT_FALSE(ValidRate(true, 51));
    EXPECT_FALSE(ValidRate(true, 1000));
    // Text that is no number (letters, an empty field) is never valid, whatever value came back.
    EXPECT_FALSE(ValidRate(false, 0));
    EXPECT_FALSE(ValidRate(false, 10));
    // "-5" read as unsigned wraps to 0xFFFFFFFB; compared as signed it is below 1. Huge unsigned
    // values must not pass by wrapping into range either.
    EXPECT_FALSE(ValidRate(true, static_cast<unsigned>(-5)));
    EXPECT_FALSE(ValidRate(true, 0xFFFFFFFFu));
    EXPECT_FALSE(ValidRate(true, 0x80000000u));
    EXPECT_FALSE(ValidRate(true, 0x80000001u));
    EXPECT_FALSE(ValidRate(true, 0x7FFFFFFFu));
}

TEST(RateValidation, TheWholeTextMustBeADecimalNumber) {
    // Junk after, before or inside the digits is no number; spaces around them are fine. Numbers
    // too large for 32 bits come back as 0xFFFFFFFF, which no range takes.
    for (const char* junk : {"1e3", "3.5", "12abc", "+5", "-5", "1 2", "", "   ", "0x10"}) {
        unsigned value = 0;
        EXPECT_FALSE(ParseDecimal(junk, &value)) << '"' << junk << '"';
    }
    const struct {
        const char* text;
        unsigned value;
    } numbers[] = {{"5", 5}, {" 12 ", 12}, {"\t7\t", 7}, {"007", 7}, {"4294967296", 0xFFFFFFFFu}};
    for (const auto& n : numbers) {
        unsigned value = 0;
        EXPECT_TRUE(ParseDecimal(n.text, &value) && value == n.value) << '"' << n.text << '"';
    }
}
