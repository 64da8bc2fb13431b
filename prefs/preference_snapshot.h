// The preference values a panel showed when its dialog opened, so that a save
// writes back only the values the panel changed since.
#pragma once

#include <map>
#include <string>

#include "prefs/domain_store.h"

namespace jc {

class PreferenceSnapshot {
 public:
  // Keeps every value of the dictionary `values`, as the panel would save it,
  // unless one was kept for its key already.
  void remember(plist_t values);

  // Copies into `stored` each value of `mine` that differs from the one kept
  // when it was read or that `stored` lacks, leaving the others as another
  // dialog may have stored them. The integer under `maskKey` is merged bit by bit: each bit is a
  // value of its own. A missing value and an empty string, false or zero are
  // the same; a value never read counts as changed.
  void mergeChanges(plist_t mine, plist_t stored, const char* maskKey) const;

 private:
  std::map<std::string, PlistPtr> shown_;
};

}  // namespace jc
