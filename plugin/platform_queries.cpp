// The operating system's version, the PPD's text encoding and label translation.
#include <plist/plist.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "plugin/panel.h"
#include "prefs/domain_store.h"
#include "prefs/plist_xml_reader.h"

namespace jc {
namespace {

// The leading decimal number of a version component; 0 when it has none.
int leadingNumber(const std::string& s) {
  long value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > 1000000) break;
  }
  return static_cast<int>(value);
}

std::optional<std::string> productVersion(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (data.empty() || data.size() > (1u << 20)) return std::nullopt;
  // Our own bounded reader: libplist's gives out on deeply nested input.
  PlistPtr owned = parsePlistXml(data);
  plist_t root = owned.get();
  if (!root || plist_get_node_type(root) != PLIST_DICT) return std::nullopt;
  plist_t node = plist_dict_get_item(root, "ProductVersion");
  if (!node || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
  char* text = nullptr;
  plist_get_string_val(node, &text);
  if (!text) return std::nullopt;
  std::string version(text);
  std::free(text);
  return version;
}

}  // namespace

void get_system_version(int* major, int* minor, int* revision, const std::filesystem::path& file) {
  const auto version = productVersion(file);
  if (!version) return;
  std::vector<std::string> parts;
  std::string part;
  std::istringstream split(*version);
  while (std::getline(split, part, '.')) parts.push_back(part);
  // A trailing or lone separator leaves an empty last component, as does an empty text.
  if (version->empty() || version->back() == '.') parts.emplace_back();
  if (parts.size() >= 1 && major) *major = leadingNumber(parts[0]);
  if (parts.size() >= 2 && minor) *minor = leadingNumber(parts[1]);
  if (parts.size() >= 3 && revision) *revision = leadingNumber(parts[2]);
}

bool runningOnLeopardOrLater(const std::filesystem::path& file) {
  int major = 10, minor = 4, revision = 0;
  get_system_version(&major, &minor, &revision, file);
  return major > 10 || (major == 10 && minor > 4);
}

NSStringEncoding getEncodingFromPPD(ppd_file_t* ppd) {
  if (!ppd) return NSMacOSRomanStringEncoding;
  // libcups rewrites the record's lang_encoding to "UTF-8" whatever the file
  // says; the keyword's own value stays in its attribute.
  ppd_attr_t* attr = ppdFindAttr(ppd, "LanguageEncoding", nullptr);
  if (!attr || !attr->value) return NSMacOSRomanStringEncoding;
  const std::string_view value = attr->value;
  if (value == "ISOLatin1") return NSISOLatin1StringEncoding;
  if (value == "WindowsANSI") return NSWindowsCP1252StringEncoding;
  if (value == "JIS83-RKSJ") return NSShiftJISStringEncoding;
  if (value == "UTF-8") return NSUTF8StringEncoding;
  if (value == "UTF8") return NSUTF8StringEncoding;
  return NSMacOSRomanStringEncoding;
}

std::u16string KorvelPrintPdeVx418JC::localizedString(std::u16string_view key) const {
  if (!pdeBundle) return std::u16string(key);
  return pdeBundle->localizedString(key);
}

std::optional<std::u16string> KorvelPrintPdeVx418JC::localizedStringValue(
    const std::optional<std::u16string>& text) const {
  if (!text) return std::nullopt;
  const std::u16string& source = *text;
  std::size_t start = 0;
  // White space (tab and the space separators, among them the ideographic
  // space of Japanese labels) and line breaks.
  auto blank = [](char16_t c) {
    return (c >= u'\t' && c <= u'\r') || c == u' ' || c == u'\u0085' || c == u'\u00A0' ||
           c == u'\u1680' || (c >= u'\u2000' && c <= u'\u200A') || c == u'\u2028' ||
           c == u'\u2029' || c == u'\u202F' || c == u'\u205F' || c == u'\u3000';
  };
  while (start < source.size() && blank(source[start])) ++start;
  const std::size_t colon = source.find(u':', start);
  const std::size_t end = colon == std::u16string::npos ? source.size() : colon;
  if (end == start) return source;  // nothing before the colon: the text as it was
  std::u16string translated =
      localizedString(std::u16string_view(source).substr(start, end - start));
  if (colon != std::u16string::npos) translated += u':';
  return translated;
}

std::optional<std::u16string> KorvelPrintPdeVx418JC::localizedStringValue(
    ControlRef control) const {
  Control* c = control.get();
  if (!c) return std::nullopt;
  switch (c->kind()) {
    case ControlKind::Label:
    case ControlKind::EditField:
      return localizedStringValue(std::optional<std::u16string>(c->stringValue()));
    case ControlKind::Box:
    case ControlKind::CheckBox:
    case ControlKind::PushButton:
    case ControlKind::RadioCell:
      return localizedStringValue(std::optional<std::u16string>(c->title()));
    default:
      return std::nullopt;
  }
}

}  // namespace jc
