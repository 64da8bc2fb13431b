// The capability query's answer, read as bytes before any parser sees it: the
// HTTP framing and the IPP message's nesting, each a table of answers.
#include <gtest/gtest.h>

#include <string>

#include "hosts/common/http_answer_framing.h"
#include "hosts/common/ipp_message_shape.h"
#include "support/case_names.h"

namespace jc {
namespace {

using State = HttpAnswerFraming::State;

struct FramingCase {
  const char* what;
  std::string bytes;
  bool closed;
  State state;
  int status;
  std::string body;
};
void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.what; }

class HttpAnswerFramingTest : public testing::TestWithParam<FramingCase> {};

// Whole, and byte by byte: the framing comes to the same end.
TEST_P(HttpAnswerFramingTest, ComesToTheSameEndHoweverTheBytesArrive) {
  const FramingCase& c = GetParam();
  HttpAnswerFraming drip(64, 32);
  for (char byte : c.bytes) drip.feed(std::string(1, byte));
  if (c.closed) drip.close();
  for (const HttpAnswerFraming& framing : {frameHttpAnswer(c.bytes, c.closed, 64, 32), drip}) {
    EXPECT_EQ(framing.state(), c.state);
    if (c.state != State::Complete) continue;
    EXPECT_EQ(framing.status(), c.status);
    EXPECT_EQ(framing.body(), c.body);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, HttpAnswerFramingTest,
    testing::Values(
        FramingCase{"content length", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcdef", false,
                    State::Complete, 200, "abc"},
        FramingCase{"chunks with extension and trailer",
                    "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2;x=y\r\nab\r\n1\r\nc\r\n"
                    "0\r\nT: 1\r\n\r\n",
                    false, State::Complete, 200, "abc"},
        FramingCase{"interim answers passed over",
                    "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 401 No\r\nContent-Length: 0\r\n\r\n",
                    false, State::Complete, 401, ""},
        FramingCase{"up to the end, bare line feeds", "HTTP/1.0 200 OK\n\nabc", true,
                    State::Complete, 200, "abc"},
        FramingCase{"up to an end that has not come", "HTTP/1.0 200 OK\n\nabc", false,
                    State::NeedMore, 0, ""},
        FramingCase{"cut short", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nabc", true,
                    State::Malformed, 0, ""},
        FramingCase{"lengths that disagree",
                    "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", false,
                    State::Malformed, 0, ""},
        FramingCase{"switching protocols", "HTTP/1.1 101 Switching\r\n\r\n", false,
                    State::Malformed, 0, ""},
        FramingCase{"not http", "IPP/2.0 200 OK\r\n\r\n", false, State::Malformed, 0, ""},
        FramingCase{"head over its limit", "HTTP/1.1 200 OK\r\nX: " + std::string(64, 'a'), false,
                    State::TooLarge, 0, ""},
        FramingCase{"interim answers over the head's limit",
                    "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\n\r\n"
                    "HTTP/1.1 100 Continue\r\n\r\n",
                    false, State::TooLarge, 0, ""},
        FramingCase{"length over the body's limit", "HTTP/1.1 200 OK\r\nContent-Length: 33\r\n\r\n",
                    false, State::TooLarge, 0, ""},
        FramingCase{"chunks over the body's limit",
                    "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\n" +
                        std::string(16, 'a') + "\r\n11\r\n",
                    false, State::TooLarge, 0, ""}),
    test::NameFromWhat{});

std::string value(char tag, const std::string& name, const std::string& text) {
  return std::string(1, tag) + char(name.size() >> 8) + char(name.size()) + name +
         char(text.size() >> 8) + char(text.size()) + text;
}

// `levels` collections each holding the next, all closed.
std::string nested(int levels, const std::string& begin = std::string(1, '\x34')) {
  std::string out("\x02\x00\x00\x00\x00\x00\x00\x01\x04", 9);
  out += begin == "\x34" ? value('\x34', "c", "") : begin;
  for (int i = 1; i < levels; ++i) out += value('\x4A', "", "m") + value('\x34', "", "");
  for (int i = 0; i < levels; ++i) out += value('\x37', "", "");
  return out + '\x03';
}

TEST(IppMessageShapeTest, CountsEveryCollectionLevelBeforeAnyParserDoes) {
  EXPECT_EQ(ippMessageShape(nested(8), 8), IppMessageShape::Fits);
  EXPECT_EQ(ippMessageShape(nested(9), 8), IppMessageShape::TooDeep);
  // The extension tag hides a begCollection in its four bytes; libcups reads it as one.
  const std::string extended =
      std::string("\x7F\x00\x00\x00\x34", 5) + value('\x00', "c", "").substr(1);
  EXPECT_EQ(ippMessageShape(nested(9, extended), 8), IppMessageShape::TooDeep);
  EXPECT_EQ(ippMessageShape(nested(8).substr(0, 40), 8), IppMessageShape::Malformed);
  EXPECT_EQ(ippMessageShape(nested(1).insert(9, value('\x37', "", "")), 8),
            IppMessageShape::Malformed);
  EXPECT_EQ(ippMessageShape(std::string("\x02\x00\x00\x00\x00\x00\x00\x01\x03", 9), 8),
            IppMessageShape::Fits);
}

}  // namespace
}  // namespace jc
