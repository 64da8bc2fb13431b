// The spool time text of a save: "%s, %d %s %04d %02d:%02d:%02d %+05ld".
#pragma once

#include <cstddef>

#include "platform/clock.h"

namespace jc {

// Writes the spool time text of the clock's current moment in the system time
// zone and a NUL into `out` (at least 32 bytes); answers its length (30 or 31).
int GetSpoolTime(char* out, const Clock& clock = systemClock());

}  // namespace jc
