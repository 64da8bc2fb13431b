#include "prefs/plist_xml_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "prefs/prefs_test_support.h"

namespace jc {
namespace {

using prefs_test::everyKindOfValue;
using prefs_test::xmlOf;

TEST(PlistXmlReaderTest, ReadsBackWhatLibplistWrites) {
  const PlistPtr original = everyKindOfValue();
  const std::string xml = xmlOf(original.get());
  const PlistPtr ours = parsePlistXml(xml);
  ASSERT_TRUE(ours);
  EXPECT_EQ(xmlOf(ours.get()), xml);

  // libplist's own reader agrees on the documents its writer makes.
  plist_t theirs = nullptr;
  plist_from_xml(xml.data(), static_cast<uint32_t>(xml.size()), &theirs);
  const PlistPtr owned(theirs);
  EXPECT_EQ(xmlOf(theirs), xml);
}

TEST(PlistXmlReaderTest, AcceptsOtherSpellingsOfTheSameValues) {
  const struct {
    const char* xml;
    const char* same_as;
  } cases[] = {
      {"<dict><key>a</key><integer>1</integer></dict>",
       "<plist version=\"1.0\"><dict><key>a</key><integer>1</integer></dict></plist>"},
      {"<?xml version='1.0'?><!-- note --><!DOCTYPE plist [ <!-- ] --> ]><plist><dict>"
       "<!-- between --><key>a</key><string>x<!-- inside -->y</string></dict></plist><!-- end -->",
       "<plist><dict><key>a</key><string>xy</string></dict></plist>"},
      {"<plist><dict><key>a</key><string><![CDATA[<b>&amp;]]></string></dict></plist>",
       "<plist><dict><key>a</key><string>&lt;b&gt;&amp;amp;</string></dict></plist>"},
      {"<plist><dict><key>a</key><string>&#65;&#x42;&#x1F600;&quot;&apos;</string></dict></plist>",
       "<plist><dict><key>a</key><string>AB\xF0\x9F\x98\x80\"'</string></dict></plist>"},
      {"<plist><dict><key>t</key><true></true><key>f</key><false> </false></dict></plist>",
       "<plist><dict><key>t</key><true/><key>f</key><false/></dict></plist>"},
      {"<plist><dict><key>a</key><integer>1</integer><key>a</key><integer>2</integer></dict>"
       "</plist>",
       "<plist><dict><key>a</key><integer>2</integer></dict></plist>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.xml);
    const PlistPtr read = parsePlistXml(c.xml);
    const PlistPtr expected = parsePlistXml(c.same_as);
    ASSERT_TRUE(read);
    ASSERT_TRUE(expected);
    EXPECT_EQ(xmlOf(read.get()), xmlOf(expected.get()));
  }
}

TEST(PlistXmlReaderTest, DecodesScalarValues) {
  const PlistPtr read = parsePlistXml(
      "<plist><dict><key>min</key><integer>-9223372036854775808</integer>"
      "<key>max</key><integer>18446744073709551615</integer>"
      "<key>real</key><real>2.5e3</real><key>inf</key><real>+infinity</real>"
      "<key>date</key><date>2024-02-29T12:34:56Z</date></dict></plist>");
  ASSERT_TRUE(read);
  uint64_t value = 0;
  plist_get_uint_val(plist_dict_get_item(read.get(), "min"), &value);
  EXPECT_EQ(static_cast<int64_t>(value), INT64_MIN);
  plist_get_uint_val(plist_dict_get_item(read.get(), "max"), &value);
  EXPECT_EQ(value, UINT64_MAX);
  double real = 0;
  plist_get_real_val(plist_dict_get_item(read.get(), "real"), &real);
  EXPECT_EQ(real, 2500.0);
  plist_get_real_val(plist_dict_get_item(read.get(), "inf"), &real);
  EXPECT_TRUE(std::isinf(real));
  int32_t seconds = 0, microseconds = 0;
  plist_get_date_val(plist_dict_get_item(read.get(), "date"), &seconds, &microseconds);
  // 2024-02-29T12:34:56Z is 1709210096 s after 1970; 2001 began at 978307200.
  EXPECT_EQ(seconds, 1709210096 - 978307200);
}

TEST(PlistXmlReaderTest, RefusesMalformedDocuments) {
  const char* cases[] = {
      "",
      "garbage",
      "<plist></plist>",
      "<plist><dict></plist>",
      "<plist><dict><key>a</key><key>b</key><true/></dict></plist>",
      "<plist><dict><true/></dict></plist>",
      "<plist><dict/></plist>trailing",
      "<plist><unknown/></plist>",
      "<plist><string>a<b/>c</string></plist>",
      "<plist><string>&unknown;</string></plist>",
      "<plist><string>&#0;</string></plist>",
      "<plist><string>a & b</string></plist>",
      "<!DOCTYPE plist [ <!ENTITY e \"boom\"> ]><plist><string>&e;</string></plist>",
      "<!-- unterminated <plist><dict/></plist>",
      "<plist><dict attr=\"unterminated></dict></plist>",
  };
  for (const char* xml : cases) {
    SCOPED_TRACE(xml);
    EXPECT_FALSE(parsePlistXml(xml));
  }
}

std::string nested(int depth) {
  std::string xml = "<plist>";
  for (int i = 0; i < depth; ++i) xml += "<array>";
  for (int i = 0; i < depth; ++i) xml += "</array>";
  return xml + "</plist>";
}

TEST(PlistXmlReaderTest, BoundsNesting) {
  const PlistPtr deepest = parsePlistXml(nested(kMaxPlistNesting));
  ASSERT_TRUE(deepest);
  EXPECT_EQ(plistNestingDepth(deepest.get()), kMaxPlistNesting);
  EXPECT_FALSE(parsePlistXml(nested(kMaxPlistNesting + 1)));

  // Millions of unclosed containers: libplist's reader overflows the stack on
  // this when it frees its partial tree; the nesting is refused first, also
  // where comments, a DOCTYPE or declarations stand between the containers.
  std::string unclosed = "<plist>";
  for (int i = 0; i < 3'000'000; ++i) unclosed += "<array>";
  EXPECT_FALSE(parsePlistXml(unclosed));
  std::string interleaved = "<!DOCTYPE plist [ <!-- ]> --> ]><plist>";
  for (int i = 0; i < 200'000; ++i) interleaved += "<dict><key>k</key><!-- </dict> --><?x?>";
  EXPECT_FALSE(parsePlistXml(interleaved));
}

}  // namespace
}  // namespace jc
