#include "reports/value_format.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(FormatVolume, SwitchesUnitAtAThousandOfTheSmallerOne) {
  EXPECT_EQ(FormatVolume(0, true), "0 B");
  EXPECT_EQ(FormatVolume(999, true), "999 B");
  EXPECT_EQ(FormatVolume(1000, true), "1.0 KB");
  EXPECT_EQ(FormatVolume(1023999, true), "1000.0 KB");
  EXPECT_EQ(FormatVolume(1024000, true), "0.98 MB");
  EXPECT_EQ(FormatVolume(1048575999, true), "1000.00 MB");
  EXPECT_EQ(FormatVolume(1048576000, true), "0.98 GB");
  EXPECT_EQ(FormatVolume(1073741824000, true), "0.98 TB");
}

TEST(FormatVolume, CountsBitsInDecimalUnits) {
  EXPECT_EQ(FormatVolume(124, false), "992 b");
  EXPECT_EQ(FormatVolume(125, false), "1.0 kb");
  EXPECT_EQ(FormatVolume(125000, false), "1.00 mb");
  EXPECT_EQ(FormatVolume(125000000000, false), "1.00 tb");
}

TEST(FormatVolumeShort, UsesOneLetterWithoutSpace) {
  EXPECT_EQ(FormatVolumeShort(1536, true), "1.5K");
  EXPECT_EQ(FormatVolumeShort(1536, false), "12.3K");
  EXPECT_EQ(FormatVolumeShort(999, true), "999");
  EXPECT_EQ(FormatVolumeShort(3LL << 30, true), "3.00G");
}

TEST(FormatRate, KeepsTwoDecimalsBelowTenWholeUnitsAndNeverShowsAThousand) {
  EXPECT_EQ(FormatRate(999, true), "999 B/s");
  EXPECT_EQ(FormatRate(1000, true), "0.98 KB/s");
  EXPECT_EQ(FormatRate(10239, true), "10.00 KB/s");
  EXPECT_EQ(FormatRate(10240, true), "10.0 KB/s");
  EXPECT_EQ(FormatRate(1023947, true), "999.9 KB/s");
  EXPECT_EQ(FormatRate(1023948, true), "0.98 MB/s");
  EXPECT_EQ(FormatRate(1048523570, true), "999.9 MB/s");
  EXPECT_EQ(FormatRate(1048523571, true), "0.98 GB/s");
}

TEST(FormatRate, CountsBitsPerSecondInDecimalUnits) {
  EXPECT_EQ(FormatRate(124, false), "992 bps");
  EXPECT_EQ(FormatRate(125, false), "1.00 kbps");
  EXPECT_EQ(FormatRate(1250, false), "10.0 kbps");
  EXPECT_EQ(FormatRate(124993, false), "999.9 kbps");
  EXPECT_EQ(FormatRate(124994, false), "1.00 mbps");
  EXPECT_EQ(FormatRate(125000000, false), "1.00 gbps");
}

TEST(FormatRate, PrintsRatesWhoseBitCountPassesThirtyTwoBits) {
  EXPECT_EQ(FormatRate(536870911, false), "4.29 gbps");
  EXPECT_EQ(FormatRate(536870912, false), "4.29 gbps");
  EXPECT_EQ(FormatRate(1250000000, false), "10.0 gbps");
  EXPECT_EQ(FormatRate(0xFFFFFFFFu, false), "34.4 gbps");
  EXPECT_EQ(FormatRate(0xFFFFFFFFu, true), "4.00 GB/s");
}

TEST(FormatDate, PrintsEveryStyleAndFallsBackToMonthFirst) {
  EXPECT_EQ(FormatDate(17, 2008, 3, 2), "03/02/2008");
  EXPECT_EQ(FormatDate(119, 2008, 3, 2), "03.02.2008");
  EXPECT_EQ(FormatDate(34, 2008, 3, 2), "02/03/2008");
  EXPECT_EQ(FormatDate(102, 2008, 3, 2), "02.03.2008");
  EXPECT_EQ(FormatDate(51, 2008, 3, 2), "2008/03/02");
  EXPECT_EQ(FormatDate(68, 2008, 3, 2), "2008-03-02");
  EXPECT_EQ(FormatDate(85, 2008, 3, 2), "2008.03.02");
  EXPECT_EQ(FormatDate(0, 2008, 3, 2), "03/02/2008");
}

TEST(WeekdayName, IsFixedEnglishFromSunday) {
  EXPECT_EQ(WeekdayName(0), "Sunday");
  EXPECT_EQ(WeekdayName(6), "Saturday");
  EXPECT_EQ(WeekdayName(7), "");
}

}  // namespace
}  // namespace veltrano
