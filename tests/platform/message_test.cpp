#include "platform/message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace jc {
namespace {

struct FormatCase {
  const char* pattern;
  std::vector<std::string> values;
  const char* expected;
};

TEST(MessageTest, FormatFillsPositionalMarkers) {
  const std::vector<FormatCase> cases = {
      {"no PPD file at {0}", {"/tmp/a.ppd"}, "no PPD file at /tmp/a.ppd"},
      // A translation may put the values in another order, or use one twice.
      {"{2} の{0} ({1})", {"A", "B", "C"}, "C のA (B)"},
      {"{0}{0}", {"x"}, "xx"},
      {"{10}", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "ten"}, "ten"},
      // Values are inserted as they are, never read as patterns.
      {"{0} and {1}", {"{1}", "b"}, "{1} and b"},
      // Doubled braces stand for one.
      {"{{0}} is {0}", {"v"}, "{0} is v"},
      // Markers without a value, or not well formed, stay.
      {"{1} {0}", {"only"}, "{1} only"},
      {"{} {x} {-1} { 0} {0", {"v"}, "{} {x} {-1} { 0} {0"},
      {"100% {", {}, "100% {"},
      {"", {"unused"}, ""},
  };
  for (const FormatCase& c : cases)
    EXPECT_EQ(formatMessage(c.pattern, c.values), c.expected) << c.pattern;
}

TEST(MessageTest, TextIsTheEnglishSentence) {
  const Message message("CUPS gives no PPD for \"{0}\": {1}", {"office", "Not found"});
  EXPECT_EQ(message.text(), "CUPS gives no PPD for \"office\": Not found");
  EXPECT_EQ(Message("plain").text(), "plain");
}

}  // namespace
}  // namespace jc
