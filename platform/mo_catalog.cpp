#include "platform/mo_catalog.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <system_error>

namespace jc {
namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kMagicSwapped = 0xde120495;

// Reads the 32-bit words of the file in its own byte order.
class Reader {
 public:
  Reader(std::string_view bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

  std::optional<std::uint32_t> word(std::size_t offset) const {
    if (offset > bytes_.size() || bytes_.size() - offset < 4) return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + offset);
    if (bigEndian_) {
      return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) |
             (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
    }
    return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) |
           std::uint32_t(p[0]);
  }

  // The string of table entry `index` of the table at `table`: a length and
  // an offset; the string must lie inside the file.
  std::optional<std::string_view> string(std::size_t table, std::size_t index) const {
    const std::size_t entry = table + index * 8;
    const auto length = word(entry);
    const auto offset = word(entry + 4);
    if (!length || !offset) return std::nullopt;
    if (*offset > bytes_.size() || bytes_.size() - *offset < *length) return std::nullopt;
    return bytes_.substr(*offset, *length);
  }

 private:
  std::string_view bytes_;
  bool bigEndian_;
};

// The singular part of a key or the first of a translation's plural forms.
std::string_view firstPart(std::string_view s) {
  const auto nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
}

}  // namespace

MoCatalog MoCatalog::fromFile(const std::filesystem::path& file) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec || size > kMaxFileSize) return {};
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<std::size_t>(in.gcount()) != bytes.size()) return {};
  return fromBytes(bytes);
}

MoCatalog MoCatalog::fromBytes(std::string_view bytes) {
  if (bytes.size() < 20 || bytes.size() > kMaxFileSize) return {};
  const auto magic = Reader(bytes, false).word(0);
  if (magic != kMagic && magic != kMagicSwapped) return {};
  const Reader reader(bytes, magic == kMagicSwapped);

  // Only major revisions 0 and 1 share this layout.
  const auto revision = reader.word(4);
  const auto count = reader.word(8);
  const auto originals = reader.word(12);
  const auto translations = reader.word(16);
  if (!revision || !count || !originals || !translations) return {};
  if ((*revision >> 16) > 1) return {};
  // Both tables must fit in the file before anything is read from them.
  const std::uint64_t tableBytes = std::uint64_t(*count) * 8;
  if (*originals > bytes.size() || bytes.size() - *originals < tableBytes) return {};
  if (*translations > bytes.size() || bytes.size() - *translations < tableBytes) return {};

  MoCatalog catalog;
  catalog.entries_.reserve(*count);
  for (std::uint32_t i = 0; i < *count; ++i) {
    const auto key = reader.string(*originals, i);
    const auto value = reader.string(*translations, i);
    if (!key || !value) return {};
    const auto singular = firstPart(*key);
    if (singular.empty()) continue;  // the header entry
    catalog.entries_.emplace(std::string(singular), std::string(firstPart(*value)));
  }
  return catalog;
}

const std::string* MoCatalog::find(std::string_view key) const {
  const auto it = entries_.find(key);
  return it == entries_.end() ? nullptr : &it->second;
}

}  // namespace jc
