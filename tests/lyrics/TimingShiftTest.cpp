// The live shift a user makes with "[" and "]", its reset and save, and the output's delay.
#include "lyrics/TimingShift.h"

#include <gtest/gtest.h>

TEST(TimingShift, StepsResetAndSavesAsTheUserSeesThem) {
    const int32_t loadedOffset = 250;  // the file's [offset:+250]
    LiveShift shift;
    for (int i = 0; i < 3; ++i) stepShift(shift, kShiftStepMs);  // "[" three times: earlier
    EXPECT_EQ(shiftNote(unsavedShiftMs(shift)), "+0.3 s");
    // 0.3 s earlier: at 10 s into the song, the lyrics stand where they would at 10.3 s.
    EXPECT_EQ(lyricsPositionMs(10000, shift, 0), 10300);
    // A speaker 0.2 s late shows them 0.2 s later on top of that.
    EXPECT_EQ(lyricsPositionMs(10000, shift, 200), 10100);

    EXPECT_EQ(savedOffsetMs(loadedOffset, shift), 550);
    markSaved(shift);
    EXPECT_EQ(unsavedShiftMs(shift), 0);
    EXPECT_EQ(savedOffsetMs(loadedOffset, shift), 550);  // saving again writes the same
    stepShift(shift, -kLargeShiftStepMs);                // Shift+"]": a second later
    EXPECT_EQ(shiftNote(unsavedShiftMs(shift)), "-1.0 s");
    resetShift(shift);  // back to the timing saved, not the one loaded
    EXPECT_EQ(lyricsPositionMs(10000, shift, 0), 10300);
    EXPECT_EQ(shiftNote(unsavedShiftMs(shift)), "0.0 s");
}

TEST(TimingShift, HoldsEveryValueWithinItsRange) {
    LiveShift shift;
    for (int i = 0; i < 700; ++i) stepShift(shift, kLargeShiftStepMs);
    EXPECT_EQ(shift.shiftMs, kMaxShiftMs);
    stepShift(shift, -kShiftStepMs);
    EXPECT_EQ(shift.shiftMs, kMaxShiftMs - kShiftStepMs);
    EXPECT_EQ(clampGlobalOffset(9000), kMaxGlobalOffset);
    EXPECT_EQ(clampGlobalOffset(-9000), kMinGlobalOffset);
    // An out-of-range setting counts as its limit; sums stay within 32 bits.
    EXPECT_EQ(lyricsPositionMs(1000, LiveShift{}, -9000), 6000);
    EXPECT_EQ(lyricsPositionMs(INT32_MAX, shift, -5000), INT32_MAX);
    EXPECT_EQ(savedOffsetMs(INT32_MIN, LiveShift{-kMaxShiftMs, 0}), INT32_MIN);
}
