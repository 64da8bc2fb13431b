#include "platform/clock.h"

namespace jc {

std::tm Clock::localTime(std::time_t t) const {
  // localtime_r need not read the time zone by itself: it is read once per
  // process (a later change of TZ counts after the program's own tzset).
  static const bool zoneRead = (tzset(), true);
  (void)zoneRead;
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
