// A message with its values kept apart from its words, so that a host can say
// it in the user's language: the pattern is the English text with positional
// markers {0}, {1}, ... where the values go (a translation may reorder them).
//
// `Message("...")` also marks the pattern for extraction into a catalogue.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace jc {

// `pattern` with every {N} replaced by values[N]. "{{" and "}}" stand for a
// brace; a marker with no value, or one that is not well formed, stays as it
// is. The values are inserted as given, never read as patterns.
std::string formatMessage(std::string_view pattern, const std::vector<std::string>& values);

struct Message {
  Message() = default;
  Message(std::string pattern, std::vector<std::string> values = {})
      : pattern(std::move(pattern)), values(std::move(values)) {}

  std::string pattern;
  std::vector<std::string> values;

  // The message in English.
  std::string text() const { return formatMessage(pattern, values); }
  bool operator==(const Message&) const = default;
};

}  // namespace jc
