#include "settings/spool_time.h"

#include <cstdio>

namespace jc {

namespace {

constexpr std::size_t kSpoolTimeBufferSize = 32;

// Indexed by tm_wday (0 = Sunday) and tm_mon (0 = January).
constexpr const char* kDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* dayName(int wday) { return wday >= 0 && wday < 7 ? kDayNames[wday] : "Mon"; }
const char* monthName(int mon) { return mon >= 0 && mon < 12 ? kMonthNames[mon] : "Jan"; }

// The offset from GMT as signed hhmm: 32400 s gives 900, -12600 s gives -330.
long zoneHoursMinutes(long offsetSeconds) {
  // Unsigned, so that no offset a clock may report overflows on negation.
  const unsigned long magnitude = offsetSeconds < 0
                                      ? 0ul - static_cast<unsigned long>(offsetSeconds)
                                      : static_cast<unsigned long>(offsetSeconds);
  const long hhmm = static_cast<long>(magnitude / 3600 * 100 + magnitude % 3600 / 60);
  return offsetSeconds < 0 ? -hhmm : hhmm;
}

}  // namespace

int GetSpoolTime(char* out, const Clock& clock) {
  if (out == nullptr) return 0;
  const std::tm tm = clock.localTime(clock.now());
  // The year goes out as a long so that no tm_year overflows; the text is the same.
  const int written = std::snprintf(
      out, kSpoolTimeBufferSize, "%s, %d %s %04ld %02d:%02d:%02d %+05ld", dayName(tm.tm_wday),
      tm.tm_mday, monthName(tm.tm_mon), static_cast<long>(tm.tm_year) + 1900, tm.tm_hour, tm.tm_min,
      tm.tm_sec, zoneHoursMinutes(tm.tm_gmtoff));
  if (written < 0) {
    out[0] = '\0';
    return 0;
  }
  // A year beyond four digits would not fit; the text is then cut at 31 characters.
  return written < static_cast<int>(kSpoolTimeBufferSize)
             ? written
             : static_cast<int>(kSpoolTimeBufferSize) - 1;
}

}  // namespace jc
