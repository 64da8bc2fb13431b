// The preference values a panel showed when its dialog opened, so that a save
// writes back only the values the panel changed since.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "prefs/domain_store.h"
#include "prefs/plist_xml_writer.h"

namespace jc {

// Values as a panel would save them: small ones as the items of the
// dictionary `nodes`, large ones (the folder list) written straight from the
// panel's own data under their key, after the items of `nodes`.
struct PreferenceValues {
  PlistPtr nodes{plist_new_dict()};
  std::vector<std::pair<std::string, StreamedValue>> streamed;
};

class PreferenceSnapshot {
 public:
  // Keeps a digest of every value of `values`, unless one was kept for its
  // key already.
  void remember(const PreferenceValues& values);

  // Puts into `stored` each value of `mine` that differs from the one kept
  // when it was read or that `stored` lacks, leaving the others as another
  // dialog may have stored them. A streamed value goes in as a placeholder
  // node listed in `streamed`, to be written in its place. The integer under
  // `maskKey` is merged bit by bit: each bit is a value of its own. A value
  // never read counts as changed. A value already stored as it is stays
  // untouched. `streamed` holds the stored values that are written from
  // elsewhere, too. Answers whether `stored` changed.
  bool mergeChanges(const PreferenceValues& mine, plist_t stored, const char* maskKey,
                    StreamedValues& streamed) const;

  // Whether `write` gives another value than the one kept for `key`, or none
  // was kept.
  bool changedSinceRead(const std::string& key, const StreamedValue& write) const;

 private:
  struct Shown {
    std::array<unsigned char, 32> digest{};  // of the value's XML text
    std::uint64_t integer = 0;               // the value when it is an integer
  };
  std::map<std::string, Shown> shown_;
};

}  // namespace jc
