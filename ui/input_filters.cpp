#include "ui/input_filters.h"

#include <algorithm>

namespace jc {

std::u16string insertedText(const std::u16string& proposed, TextRange proposedSelection,
                            TextRange originalSelection) {
  const std::size_t from = originalSelection.location;
  const std::size_t to = std::min(proposedSelection.location, proposed.size());
  if (to <= from) return {};
  return proposed.substr(from, to - from);
}

// Both numeric fields check every inserted unit and the length after the edit,
// so a paste can neither bring letters in nor run past the limit (a pass code
// longer than the limit would not read back and would be lost). A deletion is
// always let through.
bool MyIntegerNumberFilter::isPartialStringValid(const std::u16string& proposed,
                                                 TextRange proposedSelection,
                                                 const std::u16string& /*original*/,
                                                 TextRange originalSelection) const {
  const std::u16string inserted = insertedText(proposed, proposedSelection, originalSelection);
  if (inserted.empty()) return true;
  if (!std::all_of(inserted.begin(), inserted.end(),
                   [](char16_t c) { return c >= u'0' && c <= u'9'; }))
    return false;
  return proposed.size() <= maxValue;
}

bool MyRomanFilter::isPartialStringValid(const std::u16string& proposed,
                                         TextRange proposedSelection,
                                         const std::u16string& /*original*/,
                                         TextRange originalSelection) const {
  if (insertedText(proposed, proposedSelection, originalSelection).empty()) return true;
  return proposed.size() <= maxValue;
}

}  // namespace jc
