#include "hosts/common/ipp_message_shape.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace jc {
namespace {

constexpr std::uint32_t kEndOfAttributes = 0x03;
constexpr std::uint32_t kFirstValueTag = 0x10;
constexpr std::uint32_t kBeginCollection = 0x34;
constexpr std::uint32_t kEndCollection = 0x37;
constexpr std::uint32_t kExtension = 0x7F;
// version-number (2), operation-id or status-code (2), request-id (4)
constexpr std::size_t kHeaderBytes = 8;

// Reads big-endian numbers from the message, failing past its end.
class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : bytes_(bytes) {}
  std::optional<std::uint32_t> number(std::size_t width) {
    if (bytes_.size() - at_ < width) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
      value = (value << 8) | static_cast<unsigned char>(bytes_[at_ + i]);
    at_ += width;
    return value;
  }
  bool skip(std::size_t count) {
    if (bytes_.size() - at_ < count) return false;
    at_ += count;
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

// The tag of the next attribute or group: one byte, or for the extension
// tag the four that follow it, as libcups reads them.
std::optional<std::uint32_t> nextTag(Cursor& cursor) {
  const auto tag = cursor.number(1);
  if (!tag || *tag != kExtension) return tag;
  return cursor.number(4);
}

// Skips a value's name and value, both prefixed with a two-byte length.
bool skipNameAndValue(Cursor& cursor) {
  const auto nameLength = cursor.number(2);
  if (!nameLength || !cursor.skip(*nameLength)) return false;
  const auto valueLength = cursor.number(2);
  return valueLength && cursor.skip(*valueLength);
}

}  // namespace

IppMessageShape ippMessageShape(std::string_view message, int maxCollectionDepth) {
  Cursor cursor(message);
  if (!cursor.skip(kHeaderBytes)) return IppMessageShape::Malformed;
  int depth = 0;
  while (true) {
    const auto tag = nextTag(cursor);
    if (!tag) return IppMessageShape::Malformed;
    if (*tag == kEndOfAttributes)
      return depth == 0 ? IppMessageShape::Fits : IppMessageShape::Malformed;
    if (*tag < kFirstValueTag) continue;  // the start of an attribute group
    if (!skipNameAndValue(cursor)) return IppMessageShape::Malformed;
    if (*tag == kBeginCollection && ++depth > maxCollectionDepth) return IppMessageShape::TooDeep;
    if (*tag == kEndCollection && --depth < 0) return IppMessageShape::Malformed;
  }
}

}  // namespace jc
