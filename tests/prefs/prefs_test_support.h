// Helpers shared by the preference store tests.
#pragma once

#include <cstdint>
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

// A dictionary holding every kind of value, awkward strings and nesting.
inline PlistPtr everyKindOfValue() {
  std::string allBytes;
  for (int c = 1; c < 256; ++c) allBytes.push_back(static_cast<char>(c));
  PlistPtr root(plist_new_dict());
  plist_t r = root.get();
  plist_dict_set_item(r, "all bytes", plist_new_string(allBytes.c_str()));
  plist_dict_set_item(r, "k<&>\"' ]]>", plist_new_string("]]> &amp; <![CDATA[x]]>"));
  plist_dict_set_item(r, "", plist_new_string(""));
  plist_dict_set_item(r, "negative", plist_new_uint(static_cast<uint64_t>(-2147483648LL)));
  plist_dict_set_item(r, "large", plist_new_uint(9007199254740993ULL));
  plist_dict_set_item(r, "real", plist_new_real(-0.0625));
  plist_dict_set_item(r, "yes", plist_new_bool(1));
  plist_dict_set_item(r, "no", plist_new_bool(0));
  plist_dict_set_item(r, "date", plist_new_date(-86400 * 365, 0));
  plist_dict_set_item(r, "data", plist_new_data("\0\1\2\xFFxyz", 7));
  plist_dict_set_item(r, "empty data", plist_new_data("", 0));
  plist_dict_set_item(r, "empty array", plist_new_array());
  plist_dict_set_item(r, "empty dict", plist_new_dict());
  plist_t files = plist_new_array();
  for (int i = 0; i < 3; ++i) {
    plist_t entry = plist_new_dict();
    plist_dict_set_item(entry, "name", plist_new_string(("Folder " + std::to_string(i)).c_str()));
    plist_dict_set_item(entry, "add", plist_new_bool(i % 2));
    plist_array_append_item(files, entry);
  }
  plist_t nested = plist_new_dict();
  plist_dict_set_item(nested, "files", files);
  plist_dict_set_item(r, "Job Control", nested);
  return root;
}

}  // namespace jc::prefs_test
