#include "platform/message.h"

#include <charconv>
#include <optional>

namespace jc {
namespace {

// The index of the marker "{N}" at the start of `text`, and its length.
struct Marker {
  std::size_t index = 0;
  std::size_t length = 0;
};

std::optional<Marker> markerAt(std::string_view text) {
  const auto close = text.find('}');
  if (text.size() < 3 || text[0] != '{' || close == std::string_view::npos || close < 2)
    return std::nullopt;
  std::size_t index = 0;
  const char* first = text.data() + 1;
  const char* last = text.data() + close;
  const auto [end, error] = std::from_chars(first, last, index);
  if (error != std::errc() || end != last) return std::nullopt;
  return Marker{index, close + 1};
}

}  // namespace

std::string formatMessage(std::string_view pattern, const std::vector<std::string>& values) {
  std::string out;
  out.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size();) {
    const std::string_view rest = pattern.substr(i);
    if (rest.starts_with("{{") || rest.starts_with("}}")) {
      out += rest[0];
      i += 2;
      continue;
    }
    const std::optional<Marker> marker = rest[0] == '{' ? markerAt(rest) : std::nullopt;
    if (marker && marker->index < values.size()) {
      out += values[marker->index];
      i += marker->length;
      continue;
    }
    out += rest[0];
    ++i;
  }
  return out;
}

}  // namespace jc
