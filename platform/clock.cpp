#include "platform/clock.h"

namespace jc {

std::tm Clock::localTime(std::time_t t) const {
  // localtime_r need not look at TZ again by itself; tzset makes a change count.
  tzset();
  std::tm tm{};
  if (localtime_r(&t, &tm) == nullptr) return std::tm{};
  return tm;
}

std::time_t SystemClock::now() const { return std::time(nullptr); }

const Clock& systemClock() {
  static const SystemClock clock;
  return clock;
}

}  // namespace jc
