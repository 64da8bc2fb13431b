// The PPD's own constraint check, for hosts that offer one to the panel.
#pragma once

#include <cups/ppd.h>

namespace jc {

// Whether `choice` of `option` may be chosen: true when the option and the
// choice exist and choosing it would put no option in conflict that is not in
// conflict now. No choice is marked or unmarked; libcups only refreshes each
// option's conflict flag from the marks as they are.
bool ppdAcceptsChoice(ppd_file_t* ppd, const char* option, const char* choice);

}  // namespace jc
