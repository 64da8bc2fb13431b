#include "settings/spool_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>

namespace jc {
namespace {

// Sets TZ for one test and puts the previous value back.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* tz) {
    if (const char* old = std::getenv("TZ")) saved_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  std::optional<std::string> saved_;
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(std::time_t t) : t_(t) {}
  std::time_t now() const override { return t_; }

 private:
  std::time_t t_;
};

// A clock whose broken-down time is given outright.
class BrokenDownClock : public FixedClock {
 public:
  explicit BrokenDownClock(std::tm tm) : FixedClock(0), tm_(tm) {}
  std::tm localTime(std::time_t) const override { return tm_; }

 private:
  std::tm tm_;
};

std::string spoolTime(const Clock& clock) {
  char out[40];
  std::memset(out, '#', sizeof out);
  const int length = GetSpoolTime(out, clock);
  EXPECT_EQ(out[32], '#');
  EXPECT_EQ(static_cast<std::size_t>(length), std::strlen(out));
  return out;
}

constexpr std::time_t kSunday6Dec2026At062644Utc = 1796538404;
constexpr std::time_t kWednesday1Jul2026AtNoonUtc = 1782907200;
constexpr std::time_t kFriday1Jan2027At000509Utc = 1798761909;

struct ZoneCase {
  const char* tz;
  std::time_t t;
  const char* expected;
};

void PrintTo(const ZoneCase& c, std::ostream* os) { *os << c.tz << " " << c.expected; }

class SpoolTimeZoneTest : public testing::TestWithParam<ZoneCase> {};

TEST_P(SpoolTimeZoneTest, WritesLocalTimeAndZoneOffset) {
  const ZoneCase& c = GetParam();
  ScopedTimeZone zone(c.tz);
  EXPECT_EQ(spoolTime(FixedClock(c.t)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, SpoolTimeZoneTest,
    testing::Values(
        ZoneCase{"Asia/Tokyo", kSunday6Dec2026At062644Utc, "Sun, 6 Dec 2026 15:26:44 +0900"},
        ZoneCase{"Asia/Kolkata", kSunday6Dec2026At062644Utc, "Sun, 6 Dec 2026 11:56:44 +0530"},
        ZoneCase{"America/St_Johns", kSunday6Dec2026At062644Utc, "Sun, 6 Dec 2026 02:56:44 -0330"},
        ZoneCase{"America/St_Johns", kWednesday1Jul2026AtNoonUtc, "Wed, 1 Jul 2026 09:30:00 -0230"},
        ZoneCase{"UTC", kSunday6Dec2026At062644Utc, "Sun, 6 Dec 2026 06:26:44 +0000"},
        ZoneCase{"UTC", kFriday1Jan2027At000509Utc, "Fri, 1 Jan 2027 00:05:09 +0000"},
        // A two-digit day makes the 31-character form.
        ZoneCase{"Asia/Tokyo", kSunday6Dec2026At062644Utc + 10 * 86400,
                 "Wed, 16 Dec 2026 15:26:44 +0900"}));

TEST(SpoolTimeTest, OutOfRangeFieldsFallBackAndNeverOverflow) {
  std::tm tm{};
  tm.tm_wday = 9;
  tm.tm_mon = 12;
  tm.tm_mday = 1;
  tm.tm_year = 2026 - 1900;
  tm.tm_gmtoff = -1800;
  EXPECT_EQ(spoolTime(BrokenDownClock(tm)), "Mon, 1 Jan 2026 00:00:00 -0030");

  // A year past four digits cannot fit: the text is cut to 31 characters.
  tm.tm_mday = 30;
  tm.tm_year = 12345 - 1900;
  tm.tm_gmtoff = 50400;
  EXPECT_EQ(spoolTime(BrokenDownClock(tm)), "Mon, 30 Jan 12345 00:00:00 +140");
}

}  // namespace
}  // namespace jc
