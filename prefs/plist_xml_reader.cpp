#include "prefs/plist_xml_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace jc {
namespace {

bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isXmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isXmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

void appendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// Decimal, or hexadecimal after "0x"; a leading "-" gives the two's
// complement, as libplist keeps signed integers.
std::optional<std::uint64_t> parseInteger(std::string_view text) {
  text = trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!negative) return magnitude;
  if (magnitude > (std::uint64_t{1} << 63)) return std::nullopt;
  return std::uint64_t{0} - magnitude;
}

std::optional<double> parseReal(std::string_view text) {
  text = trimmed(text);
  if (text.starts_with('+')) {
    text.remove_prefix(1);
    if (text.starts_with('+') || text.starts_with('-')) return std::nullopt;
  }
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

struct PlistDate {
  std::int32_t seconds;  // since 2001-01-01T00:00:00Z
  std::int32_t microseconds;
};

// "YYYY-MM-DDTHH:MM:SS[.fraction]Z".
std::optional<PlistDate> parseDate(std::string_view text) {
  text = trimmed(text);
  auto number = [&](std::size_t at, std::size_t length) -> int {
    if (at + length > text.size()) return -1;
    int value = 0;
    for (std::size_t i = at; i < at + length; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  auto isAt = [&](std::size_t at, char c) { return at < text.size() && text[at] == c; };
  const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
  const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
  if (year < 0 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || second < 0 || second > 59 || !isAt(4, '-') || !isAt(7, '-') ||
      !isAt(10, 'T') || !isAt(13, ':') || !isAt(16, ':')) {
    return std::nullopt;
  }
  static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDaysInMonth[month - 1] + (month == 2 && leap ? 1 : 0)) return std::nullopt;

  std::size_t at = 19;
  std::int32_t microseconds = 0;
  if (isAt(at, '.')) {
    ++at;
    int digits = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
      if (digits < 6) microseconds = microseconds * 10 + (text[at] - '0');
      ++digits;
      ++at;
    }
    if (digits == 0) return std::nullopt;
    for (; digits < 6; ++digits) microseconds *= 10;
  }
  if (!isAt(at, 'Z') || at + 1 != text.size()) return std::nullopt;

  constexpr std::int64_t kUnixSecondsAt2001 = 978307200;
  const std::int64_t seconds =
      daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
      hour * 3600 + minute * 60 + second - kUnixSecondsAt2001;
  if (seconds < std::numeric_limits<std::int32_t>::min() ||
      seconds > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return PlistDate{static_cast<std::int32_t>(seconds), microseconds};
}

int base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

// Base64 with any white space between the characters (libplist wraps and
// indents <data>); padding may be left out.
std::optional<std::string> decodeBase64(std::string_view text) {
  std::string out;
  std::uint32_t bits = 0;
  int bitCount = 0;
  bool padded = false;
  for (const char c : text) {
    if (isXmlSpace(c)) continue;
    if (c == '=') {
      padded = true;
      continue;
    }
    const int value = base64Value(c);
    if (value < 0 || padded) return std::nullopt;
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      out.push_back(static_cast<char>((bits >> bitCount) & 0xFF));
      bits &= (1u << bitCount) - 1;
    }
  }
  // One character alone cannot end a group: it carries only six bits.
  if (bitCount >= 6) return std::nullopt;
  return out;
}

bool isContainer(plist_t node) {
  const plist_type type = plist_get_node_type(node);
  return type == PLIST_DICT || type == PLIST_ARRAY;
}

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) {}

  PlistPtr read() {
    PlistPtr root;
    std::vector<Frame> open;
    bool wrapper = false;
    bool wrapperClosed = false;
    bool rootDone = false;
    for (;;) {
      if (!skipMarkupBetweenElements(!root && !wrapper)) return nullptr;
      if (pos_ >= in_.size()) break;
      if (in_[pos_] != '<') return nullptr;  // text outside any value
      const std::optional<Tag> tag = readTag();
      if (!tag) return nullptr;

      if (tag->closing) {
        if (!open.empty()) {
          const Frame& top = open.back();
          if (tag->name != (top.dict ? "dict" : "array") || top.key) return nullptr;
          open.pop_back();
          rootDone = open.empty();
        } else if (tag->name == "plist" && wrapper && rootDone && !wrapperClosed) {
          wrapperClosed = true;
        } else {
          return nullptr;
        }
        continue;
      }

      if (rootDone) return nullptr;  // a second value
      if (tag->name == "plist") {
        if (wrapper || root || tag->empty) return nullptr;
        wrapper = true;
        continue;
      }
      if (!open.empty() && open.back().dict) {
        Frame& top = open.back();
        if (tag->name == "key") {
          if (top.key) return nullptr;  // two keys in a row
          std::optional<std::string> key = tag->empty ? std::string() : readText("key");
          if (!key) return nullptr;
          top.key = std::move(key);
          continue;
        }
        if (!top.key) return nullptr;  // a value without its key
      }

      PlistPtr node = readValue(*tag);
      if (!node) return nullptr;
      plist_t added = node.get();
      const bool opensContainer = isContainer(added) && !tag->empty;
      // The node joins the tree before anything else can fail, so that the
      // tree (never deeper than the limit) owns and frees it.
      if (open.empty()) {
        root = std::move(node);
      } else if (open.back().dict) {
        plist_dict_set_item(open.back().node, open.back().key->c_str(), node.release());
        open.back().key.reset();
      } else {
        plist_array_append_item(open.back().node, node.release());
      }
      if (opensContainer) {
        if (open.size() >= static_cast<std::size_t>(kMaxPlistNesting)) return nullptr;
        open.push_back(Frame{added, plist_get_node_type(added) == PLIST_DICT, std::nullopt});
      } else if (open.empty()) {
        rootDone = true;
      }
    }
    if (!rootDone || wrapper != wrapperClosed) return nullptr;
    return root;
  }

 private:
  struct Frame {
    plist_t node;
    bool dict;
    std::optional<std::string> key;  // read, its value still to come
  };
  struct Tag {
    std::string_view name;
    bool closing = false;
    bool empty = false;  // <name/>
  };

  bool at(std::string_view text) const { return in_.substr(pos_).starts_with(text); }

  bool skipPast(std::string_view text) {
    const std::size_t found = in_.find(text, pos_);
    if (found == std::string_view::npos) return false;
    pos_ = found + text.size();
    return true;
  }

  // White space, processing instructions (the XML declaration), comments and,
  // before the first value, a DOCTYPE.
  bool skipMarkupBetweenElements(bool doctypeAllowed) {
    for (;;) {
      while (pos_ < in_.size() && isXmlSpace(in_[pos_])) ++pos_;
      if (at("<?")) {
        pos_ += 2;
        if (!skipPast("?>")) return false;
      } else if (at("<!--")) {
        pos_ += 4;
        if (!skipPast("-->")) return false;
      } else if (at("<!DOCTYPE")) {
        if (!doctypeAllowed || !skipDoctype()) return false;
      } else {
        return true;
      }
    }
  }

  // Declarations of an internal subset are skipped, not used: an entity
  // they declare is an unknown entity in the text.
  bool skipDoctype() {
    pos_ += std::string_view("<!DOCTYPE").size();
    int brackets = 0;
    char quote = 0;
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (brackets > 0 && at("<!--")) {
        pos_ += 4;
        if (!skipPast("-->")) return false;
        continue;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '[') {
        ++brackets;
      } else if (c == ']') {
        if (brackets == 0) return false;
        --brackets;
      } else if (c == '>' && brackets == 0) {
        ++pos_;
        return true;
      }
      ++pos_;
    }
    return false;
  }

  // At "<": a start, end or empty-element tag. Attributes are skipped.
  std::optional<Tag> readTag() {
    Tag tag;
    ++pos_;
    if (pos_ < in_.size() && in_[pos_] == '/') {
      tag.closing = true;
      ++pos_;
    }
    const std::size_t start = pos_;
    while (pos_ < in_.size() && !isXmlSpace(in_[pos_]) && in_[pos_] != '>' && in_[pos_] != '/' &&
           in_[pos_] != '<') {
      ++pos_;
    }
    tag.name = in_.substr(start, pos_ - start);
    if (tag.name.empty()) return std::nullopt;
    if (tag.closing) {
      while (pos_ < in_.size() && isXmlSpace(in_[pos_])) ++pos_;
      if (pos_ >= in_.size() || in_[pos_] != '>') return std::nullopt;
      ++pos_;
      return tag;
    }
    char quote = 0;
    bool slash = false;
    for (; pos_ < in_.size(); ++pos_) {
      const char c = in_[pos_];
      if (quote) {
        if (c == quote) quote = 0;
        continue;
      }
      if (c == '"' || c == '\'') {
        quote = c;
        slash = false;
      } else if (c == '<') {
        return std::nullopt;
      } else if (c == '>') {
        ++pos_;
        tag.empty = slash;
        return tag;
      } else {
        slash = c == '/';
      }
    }
    return std::nullopt;
  }

  // At "&": one entity or character reference, decoded onto `out`.
  bool readEntity(std::string& out) {
    const std::size_t semicolon = in_.find(';', pos_);
    if (semicolon == std::string_view::npos || semicolon - pos_ > 12) return false;
    const std::string_view name = in_.substr(pos_ + 1, semicolon - pos_ - 1);
    pos_ = semicolon + 1;
    if (name == "lt") return out.push_back('<'), true;
    if (name == "gt") return out.push_back('>'), true;
    if (name == "amp") return out.push_back('&'), true;
    if (name == "quot") return out.push_back('"'), true;
    if (name == "apos") return out.push_back('\''), true;
    if (!name.starts_with('#')) return false;
    std::string_view digits = name.substr(1);
    int base = 10;
    if (digits.starts_with('x')) {
      base = 16;
      digits.remove_prefix(1);
    }
    std::uint32_t code = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), code, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
      return false;
    }
    // No NUL (values are C strings), nothing past Unicode, no lone surrogate.
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    appendUtf8(out, code);
    return true;
  }

  // After the start tag of `name`: its text up to and past its end tag.
  std::optional<std::string> readText(std::string_view name) {
    static constexpr std::string_view kStops("<&\0", 3);
    std::string text;
    for (;;) {
      const std::size_t stop = in_.find_first_of(kStops, pos_);
      if (stop == std::string_view::npos) return std::nullopt;
      text.append(in_.substr(pos_, stop - pos_));
      pos_ = stop;
      if (in_[pos_] == '\0') return std::nullopt;
      if (in_[pos_] == '&') {
        if (!readEntity(text)) return std::nullopt;
      } else if (at("<![CDATA[")) {
        pos_ += 9;
        const std::size_t end = in_.find("]]>", pos_);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view raw = in_.substr(pos_, end - pos_);
        if (raw.find('\0') != std::string_view::npos) return std::nullopt;
        text.append(raw);
        pos_ = end + 3;
      } else if (at("<!--")) {
        pos_ += 4;
        if (!skipPast("-->")) return std::nullopt;
      } else if (at("</")) {
        const std::optional<Tag> tag = readTag();
        if (!tag || tag->name != name) return std::nullopt;
        return text;
      } else {
        return std::nullopt;  // an element inside a scalar value
      }
    }
  }

  PlistPtr readValue(const Tag& tag) {
    const std::string_view name = tag.name;
    if (name == "dict") return PlistPtr(plist_new_dict());
    if (name == "array") return PlistPtr(plist_new_array());
    if (name == "true" || name == "false") {
      if (!tag.empty) {
        const std::optional<std::string> text = readText(name);
        if (!text || !trimmed(*text).empty()) return nullptr;
      }
      return PlistPtr(plist_new_bool(name == "true" ? 1 : 0));
    }
    if (name != "string" && name != "integer" && name != "real" && name != "date" &&
        name != "data") {
      return nullptr;
    }
    std::optional<std::string> text = tag.empty ? std::string() : readText(name);
    if (!text) return nullptr;
    if (name == "string") return PlistPtr(plist_new_string(text->c_str()));
    if (name == "integer") {
      const std::optional<std::uint64_t> value = parseInteger(*text);
      return value ? PlistPtr(plist_new_uint(*value)) : nullptr;
    }
    if (name == "real") {
      const std::optional<double> value = parseReal(*text);
      return value ? PlistPtr(plist_new_real(*value)) : nullptr;
    }
    if (name == "date") {
      const std::optional<PlistDate> value = parseDate(*text);
      return value ? PlistPtr(plist_new_date(value->seconds, value->microseconds)) : nullptr;
    }
    const std::optional<std::string> bytes = decodeBase64(*text);
    return bytes ? PlistPtr(plist_new_data(bytes->data(), bytes->size())) : nullptr;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
};

}  // namespace

PlistPtr parsePlistXml(std::string_view xml) { return Reader(xml).read(); }

int plistNestingDepth(plist_t node) {
  int deepest = 0;
  std::vector<std::pair<plist_t, int>> pending;
  if (node && isContainer(node)) pending.emplace_back(node, 1);
  while (!pending.empty()) {
    const auto [container, depth] = pending.back();
    pending.pop_back();
    deepest = std::max(deepest, depth);
    const bool array = plist_get_node_type(container) == PLIST_ARRAY;
    void* iter = nullptr;
    if (array) {
      plist_array_new_iter(container, &iter);
    } else {
      plist_dict_new_iter(container, &iter);
    }
    if (!iter) continue;
    for (;;) {
      plist_t item = nullptr;
      if (array) {
        plist_array_next_item(container, iter, &item);
      } else {
        plist_dict_next_item(container, iter, nullptr, &item);
      }
      if (!item) break;
      if (isContainer(item)) pending.emplace_back(item, depth + 1);
    }
    std::free(iter);
  }
  return deepest;
}

}  // namespace jc
