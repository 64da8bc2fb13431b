// Helpers shared by the preference store tests.
#pragma once

#include <string>

#include "prefs/domain_store.h"

namespace jc::prefs_test {

// libplist's XML text of a node: a plain way to compare two trees.
inline std::string xmlOf(plist_t node) {
  if (!node) return "<null>";
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(node, &xml, &length);
  std::string text(xml ? xml : "", xml ? length : 0);
  if (xml) plist_to_xml_free(xml);
  return text;
}

}  // namespace jc::prefs_test
