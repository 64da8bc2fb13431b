#include "prefs/plist_xml_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "prefs/plist_xml_reader.h"
#include "prefs/prefs_test_support.h"

namespace jc {
namespace {

using prefs_test::everyKindOfValue;
using prefs_test::xmlOf;

PlistPtr folderEntry(const std::string& name, bool add) {
  PlistPtr entry(plist_new_dict());
  plist_dict_set_item(entry.get(), "name", plist_new_string(name.c_str()));
  plist_dict_set_item(entry.get(), "add", plist_new_bool(add));
  return entry;
}

PlistPtr nestedIn(const char* key, PlistPtr value) {
  PlistPtr dict(plist_new_dict());
  plist_dict_set_item(dict.get(), key, value.release());
  return dict;
}

TEST(PlistXmlWriterTest, WritesWhatLibplistWritesByteForByte) {
  PlistPtr deep(plist_new_array());
  plist_array_append_item(deep.get(), everyKindOfValue().release());
  plist_array_append_item(deep.get(), plist_new_array());
  const struct {
    const char* name;
    PlistPtr tree;
  } cases[] = {
      {"every kind of value", everyKindOfValue()},
      {"every kind nested three deep", nestedIn("a", nestedIn("b", std::move(deep)))},
      {"empty dictionary", PlistPtr(plist_new_dict())},
      {"empty array", PlistPtr(plist_new_array())},
      {"a string alone", PlistPtr(plist_new_string("a & b < c > d"))},
      {"long data nested",
       nestedIn("a",
                nestedIn("b", PlistPtr(plist_new_data(std::string(300, '\xA5').data(), 300))))},
      {"the largest integer", PlistPtr(plist_new_uint(UINT64_MAX))},
      {"non-ASCII keys", nestedIn("Ordner \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80 <&>",
                                  folderEntry("\t\r\n\x01\x7F", true))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string ours = plistXml(c.tree.get());
    EXPECT_EQ(ours, xmlOf(c.tree.get()));
    const PlistPtr back = parsePlistXml(ours);
    ASSERT_TRUE(back);
    EXPECT_EQ(xmlOf(back.get()), xmlOf(c.tree.get()));
  }
}

TEST(PlistXmlWriterTest, AStreamedValueStandsInForItsPlaceholder) {
  // The tree as libplist would hold it, and the same with the list streamed.
  const char* names[] = {"A & B", "", "<x>", "\xE6\x96\x87\xE6\x9B\xB8"};
  PlistPtr list(plist_new_array());
  for (int i = 0; i < 4; ++i)
    plist_array_append_item(list.get(), folderEntry(names[i], i % 2).release());
  const PlistPtr expected = nestedIn("Job Control", nestedIn("files", std::move(list)));

  PlistPtr placeholder(plist_new_array());
  const StreamedValues streamed = {{placeholder.get(), [&names](PlistXmlWriter& w) {
                                      w.beginArray();
                                      for (int i = 0; i < 4; ++i) {
                                        w.beginDict();
                                        w.key("name");
                                        w.string(names[i]);
                                        w.key("add");
                                        w.boolean(i % 2);
                                        w.endDict();
                                      }
                                      w.endArray();
                                    }}};
  const PlistPtr tree = nestedIn("Job Control", nestedIn("files", std::move(placeholder)));
  EXPECT_EQ(plistXml(tree.get(), streamed), xmlOf(expected.get()));
}

TEST(PlistXmlWriterTest, HandsTheTextOnInPiecesAndCountsTheNesting) {
  PlistPtr list(plist_new_array());
  for (int i = 0; i < 5000; ++i)
    plist_array_append_item(list.get(),
                            folderEntry("Folder " + std::to_string(i), false).release());
  const PlistPtr tree = nestedIn("files", std::move(list));
  std::string text;
  int pieces = 0;
  PlistXmlWriter writer([&](std::string_view piece) {
    text += piece;
    ++pieces;
  });
  ASSERT_TRUE(writer.node(tree.get()));
  writer.finish();
  EXPECT_EQ(text, xmlOf(tree.get()));
  EXPECT_GT(pieces, 3);
  EXPECT_EQ(writer.deepestNesting(), 3);
}

}  // namespace
}  // namespace jc
