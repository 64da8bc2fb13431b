#include "hosts/common/ppd_constraints.h"

#include <cups/cups.h>

#include <set>
#include <string>

namespace jc {

bool ppdAcceptsChoice(ppd_file_t* ppd, const char* option, const char* choice) {
  if (!ppd || !option || !choice) return false;
  ppd_option_t* target = ppdFindOption(ppd, option);
  if (!target || !ppdFindChoice(target, choice)) return false;

  // The other options in conflict with the marks as they are.
  ppdConflicts(ppd);
  std::set<std::string> inConflict;
  for (ppd_option_t* o = ppdFirstOption(ppd); o; o = ppdNextOption(ppd))
    if (o->conflicted && o != target) inConflict.insert(o->keyword);

  // The other options in conflict with `choice` standing in for the option's
  // marked choice: libcups tests the constraints without marking anything, so
  // there is nothing to put back (an option without a marked choice has no
  // way back to that state).
  cups_option_t* conflicts = nullptr;
  const int count = cupsGetConflicts(ppd, target->keyword, choice, &conflicts);
  bool accepted = true;
  for (int i = 0; i < count; ++i)
    if (!inConflict.contains(conflicts[i].name)) accepted = false;
  cupsFreeOptions(count, conflicts);
  return accepted;
}

}  // namespace jc
