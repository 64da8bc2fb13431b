#include "prefs/plist_xml_reader.h"

#include <algorithm>
#include <cstdint>

#include "prefs/plist_whole_strings.h"

namespace jc {
namespace {

// Element nesting of a document whose values nest kMaxPlistNesting deep: the
// <plist> element and a scalar value add one level each.
constexpr int kMaxElementDepth = kMaxPlistNesting + 2;

// Where `marker` ends after `from`, or npos.
std::size_t endOf(std::string_view xml, std::size_t from, std::string_view marker) {
  const std::size_t at = xml.find(marker, from);
  return at == std::string_view::npos ? at : at + marker.size();
}

// The end of the markup that starts at `at` (a '<'), skipping declarations,
// comments, a DOCTYPE and CDATA whole, as libplist does; `depthChange` tells
// whether it opens (+1) or closes (-1) an element.
std::size_t endOfMarkup(std::string_view xml, std::size_t at, int& depthChange) {
  const std::string_view rest = xml.substr(at);
  depthChange = 0;
  if (rest.starts_with("<?")) return endOf(xml, at, "?>");
  if (rest.starts_with("<!--")) return endOf(xml, at + 4, "-->");
  if (rest.starts_with("<![CDATA[")) return endOf(xml, at, "]]>");
  if (rest.starts_with("<!")) {
    const std::size_t stop = xml.find_first_of("[>", at);
    if (stop == std::string_view::npos || xml[stop] == '>') return endOf(xml, at, ">");
    return endOf(xml, stop, "]>");
  }
  const std::size_t end = endOf(xml, at, ">");
  if (end == std::string_view::npos) return end;
  if (rest.starts_with("</")) {
    depthChange = -1;
  } else if (xml[end - 2] != '/') {
    depthChange = 1;
  }
  return end;
}

// Whether no element of `xml` lies deeper than kMaxElementDepth. A document
// cut short counts as deep as it got.
bool nestsWithinLimit(std::string_view xml) {
  int depth = 0;
  for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at)) {
    int change = 0;
    const std::size_t end = endOfMarkup(xml, at, change);
    depth = std::max(0, depth + change);
    if (depth > kMaxElementDepth) return false;
    if (end == std::string_view::npos) break;
    at = end;
  }
  return true;
}

}  // namespace

PlistPtr parsePlistXml(std::string_view xml) {
  if (xml.empty() || xml.size() > kMaxDomainBytes || !nestsWithinLimit(xml)) return nullptr;
  plist_t root = nullptr;
  plist_from_xml(xml.data(), static_cast<std::uint32_t>(xml.size()), &root);
  PlistPtr owned(root);
  if (owned && plistNestingDepth(owned.get()) > kMaxPlistNesting) return nullptr;
  if (owned && !plistStringsAreWhole(owned.get())) return nullptr;
  return owned;
}

}  // namespace jc
