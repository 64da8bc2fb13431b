#include "prefs/folder_array_reader.h"

#include <string>
#include <utility>

#include "platform/text.h"

namespace jc {
namespace {

// A position in the text that only moves forward; it stops for good at the
// first thing out of form.
class Cursor {
 public:
  Cursor(std::string_view xml, std::size_t at) : xml_(xml), at_(at) {}

  bool ok() const { return ok_; }
  std::size_t at() const { return at_; }

  void skipBlank() {
    while (at_ < xml_.size()) {
      const char c = xml_[at_];
      if (c != ' ' && c != '\t' && c != '\n' && c != '\r') break;
      ++at_;
    }
  }

  // Steps over `literal` when it comes next, after blank space.
  bool take(std::string_view literal) {
    skipBlank();
    if (!ok_ || xml_.compare(at_, literal.size(), literal) != 0) return false;
    at_ += literal.size();
    return true;
  }

  void expect(std::string_view literal) {
    if (!take(literal)) ok_ = false;
  }

  bool boolean() {
    if (take("<true/>")) return true;
    expect("<false/>");
    return false;
  }

  // The text up to the next '<', entities replaced (kept only when `keep`);
  // the cursor is then where that '<' stands.
  std::string text(bool keep) {
    const std::size_t stop = xml_.find('<', at_);
    if (stop == std::string_view::npos) {
      ok_ = false;
      return {};
    }
    const std::string_view raw = xml_.substr(at_, stop - at_);
    at_ = stop;
    std::string decoded;
    if (keep) decoded.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
      const auto c = static_cast<unsigned char>(raw[i]);
      if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') ok_ = false;
      char plain = raw[i];
      if (c == '&') {
        const std::string_view rest = raw.substr(i);
        const auto entity = rest.starts_with("&amp;")  ? std::pair{'&', 5}
                            : rest.starts_with("&lt;") ? std::pair{'<', 4}
                            : rest.starts_with("&gt;") ? std::pair{'>', 4}
                                                       : std::pair{'&', 0};
        if (entity.second == 0) ok_ = false;
        plain = entity.first;
        i += static_cast<std::size_t>(entity.second > 0 ? entity.second - 1 : 0);
      }
      if (keep) decoded.push_back(plain);
    }
    return decoded;
  }

 private:
  std::string_view xml_;
  std::size_t at_;
  bool ok_ = true;
};

// One entry, the cursor just past its "<dict>".
std::optional<FolderEntry> readEntry(Cursor& in, FolderArrayUse use) {
  FolderEntry folder;
  in.expect("<key>name</key>");
  in.expect("<string>");
  const std::string name = in.text(use == FolderArrayUse::Read);
  if (use == FolderArrayUse::Read) folder.name = fromUtf8(name);
  in.expect("</string>");
  in.expect("<key>password</key>");
  folder.password = in.boolean();
  in.expect("<key>dir</key>");
  folder.dir = in.boolean();
  in.expect("<key>add</key>");
  folder.add = in.boolean();
  in.expect("</dict>");
  if (!in.ok()) return std::nullopt;
  return folder;
}

}  // namespace

std::optional<FolderArray> readFolderArray(std::string_view xml, std::size_t at,
                                           FolderArrayUse use) {
  Cursor in(xml, at);
  FolderArray array;
  if (in.take("<array/>")) {
    array.end = in.at();
    return array;
  }
  in.expect("<array>");
  while (in.ok() && !in.take("</array>")) {
    in.expect("<dict>");
    std::optional<FolderEntry> folder = readEntry(in, use);
    if (!folder) return std::nullopt;
    if (use == FolderArrayUse::Read) array.folders.push_back(std::move(*folder));
  }
  if (!in.ok()) return std::nullopt;
  array.end = in.at();
  return array;
}

}  // namespace jc
