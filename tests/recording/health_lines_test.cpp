// What the page's short status and health lines say of a recording in
// trouble: a silence before the counts, lost data beside the percentage.
#include <gtest/gtest.h>

#include "recording/recording_health.h"

namespace {

TEST(HealthLines, TroubleTakesThePlaceOfWhatItMakesMeaningless) {
  RecordingHealth fine;
  fine.bytesWritten = 188 * 10;
  RecordingHealth lossy = fine;
  lossy.sourceReported = true;
  lossy.source.overflows = 1;
  lossy.source.ringOverflows = 2;
  struct Case {
    const RecordingHealth& health;
    std::uint32_t silent;
    const char* status;
    const char* healthStart;
  };
  const Case cases[] = {
      {fine, 0, "Recording... 45%", "Packets: 10   Bytes: 1880"},
      {fine, 4, "No data for 4 s", "No data from the card for 4 s   Packets: 10"},
      {lossy, 0, "Data lost! 45%", "Packets: 10   Bytes: 1880   CC errors: -   Sync losses: -   Overflows: 3"},
      {lossy, 3, "No data for 3 s", "No data from the card for 3 s   Packets: 10"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RecordingStatusLine(45, c.health, c.silent), c.status);
    EXPECT_EQ(RecordingHealthLine(c.health, c.silent).rfind(c.healthStart, 0), 0u) << RecordingHealthLine(c.health, c.silent);
  }
}

TEST(HealthLines, ASilenceIsNamedOnlyAfterThreeSecondsWithoutNewBytes) {
  SilenceWatch watch;
  watch.Restart(1000);
  EXPECT_EQ(watch.Observe(0, 3999), 0u);
  EXPECT_EQ(watch.Observe(0, 4000), 3u);
  EXPECT_EQ(watch.Observe(188, 9000), 0u) << "new bytes end it";
  EXPECT_EQ(watch.Observe(188, 13500), 4u);
}

}  // namespace
