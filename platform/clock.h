// The wall clock and the system time zone, behind a seam so tests fix the moment.
#pragma once

#include <ctime>

namespace jc {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since the Unix epoch, truncated to whole seconds.
  virtual std::time_t now() const = 0;
  // The local broken-down time of `t` in the system time zone, with tm_gmtoff
  // set to the zone's offset from GMT in seconds. TZ is read once per
  // process, at the first call.
  virtual std::tm localTime(std::time_t t) const;
};

// The real clock.
class SystemClock final : public Clock {
 public:
  std::time_t now() const override;
};

const Clock& systemClock();

}  // namespace jc
