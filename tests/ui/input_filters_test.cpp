// The edit checks of the numeric fields, the password and the login name,
// alone and as the panel attaches them to its fields.
#include "ui/input_filters.h"

#include <gtest/gtest.h>

#include <string>

#include "support/panel_fixture.h"

namespace jc::test {
namespace {

// One edit as a text field proposes it: `length` units at `location` of
// `original` replaced by `inserted`, the caret after the inserted text.
struct Edit {
  std::u16string original;
  std::size_t location;
  std::size_t length;
  std::u16string inserted;
};

bool offer(const Formatter& filter, const Edit& e) {
  std::u16string proposed =
      e.original.substr(0, e.location) + e.inserted + e.original.substr(e.location + e.length);
  return filter.isPartialStringValid(proposed, TextRange{e.location + e.inserted.size(), 0},
                                     e.original, TextRange{e.location, e.length});
}

Edit typeAtEnd(const std::u16string& original, std::u16string inserted) {
  return {original, original.size(), 0, std::move(inserted)};
}

struct FilterCase {
  const char* what;
  Edit edit;
  bool accepted;
};

void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.what; }

class IntegerFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(IntegerFilterTest, LetsDigitsThroughUpToTheLimit) {
  MyIntegerNumberFilter filter;
  filter.SetmaxCharactersCount(5);
  EXPECT_EQ(offer(filter, GetParam().edit), GetParam().accepted) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Edits, IntegerFilterTest,
    ::testing::Values(
        FilterCase{"digit into four digits", typeAtEnd(u"1234", u"5"), true},
        FilterCase{"digit into five digits", typeAtEnd(u"12345", u"6"), false},
        FilterCase{"first digit", typeAtEnd(u"", u"0"), true},
        FilterCase{"letter", typeAtEnd(u"12", u"a"), false},
        FilterCase{"space", typeAtEnd(u"12", u" "), false},
        FilterCase{"hyphen", typeAtEnd(u"12", u"-"), false},
        FilterCase{"full-width digit", typeAtEnd(u"12", u"\uFF11"), false},
        FilterCase{"Arabic-Indic digit", typeAtEnd(u"", u"\u0661"), false},
        FilterCase{"digit in the middle", {u"123", 1, 0, u"9"}, true},
        FilterCase{"three digits pasted into two", typeAtEnd(u"12", u"345"), true},
        FilterCase{"four digits pasted into two", typeAtEnd(u"12", u"3456"), false},
        FilterCase{"digit then letter pasted", typeAtEnd(u"", u"1a"), false},
        FilterCase{"letter then digit pasted", typeAtEnd(u"", u"a1"), false},
        FilterCase{"letter pasted after digits", {u"12", 1, 0, u"3x4"}, false},
        FilterCase{"whole text of five replaced by a digit", {u"12345", 0, 5, u"9"}, true},
        FilterCase{"whole text of five replaced by six", {u"12345", 0, 5, u"987654"}, false},
        FilterCase{"two of five replaced by two", {u"12345", 1, 2, u"00"}, true},
        FilterCase{"two of five replaced by three", {u"12345", 1, 2, u"000"}, false},
        FilterCase{"backspace from five", {u"12345", 4, 1, u""}, true},
        FilterCase{"cut from five", {u"12345", 1, 3, u""}, true},
        FilterCase{"deletion from an over-long text", {u"12345678", 0, 1, u""}, true},
        FilterCase{"deletion of a stray letter", {u"1a2", 1, 1, u""}, true}));

TEST(IntegerFilterLimitTest, TheLimitIsTheFiltersOwn) {
  MyIntegerNumberFilter none;  // no limit set: nothing can be typed
  EXPECT_FALSE(offer(none, typeAtEnd(u"", u"1")));
  EXPECT_TRUE(offer(none, {u"1", 0, 1, u""}));
  MyIntegerNumberFilter eight;
  eight.SetmaxCharactersCount(8);
  EXPECT_EQ(eight.maxValue, 8u);
  EXPECT_TRUE(offer(eight, typeAtEnd(u"1234567", u"8")));
  EXPECT_FALSE(offer(eight, typeAtEnd(u"12345678", u"9")));
}

class RomanFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(RomanFilterTest, LetsAnythingThroughUpToTheLimit) {
  MyRomanFilter filter;
  filter.SetmaxCharactersCount(31);
  EXPECT_EQ(offer(filter, GetParam().edit), GetParam().accepted) << GetParam().what;
}

const std::u16string k30(30, u'x');
const std::u16string k31(31, u'x');

INSTANTIATE_TEST_SUITE_P(
    Edits, RomanFilterTest,
    ::testing::Values(FilterCase{"letter into 30", typeAtEnd(k30, u"a"), true},
                      FilterCase{"punctuation into 30", typeAtEnd(k30, u"#"), true},
                      FilterCase{"non-ASCII into 30", typeAtEnd(k30, u"\u00E9"), true},
                      FilterCase{"anything into 31", typeAtEnd(k31, u"a"), false},
                      FilterCase{"two pasted into 30", typeAtEnd(k30, u"ab"), false},
                      FilterCase{"a surrogate pair into 30 counts two",
                                 typeAtEnd(k30, u"\U0001F600"), false},
                      FilterCase{"a surrogate pair into 29 fits",
                                 typeAtEnd(std::u16string(29, u'x'), u"\U0001F600"), true},
                      FilterCase{"replacing one of 31", {k31, 3, 1, u"y"}, true},
                      FilterCase{"deleting from 31", {k31, 30, 1, u""}, true},
                      FilterCase{"deleting from 40", {std::u16string(40, u'x'), 0, 1, u""}, true}));

TEST(LoginnameFilterTest, LetsEveryEditThrough) {
  LoginnameInputFilter filter;
  int context = 0;
  filter.setCallback(&context);
  EXPECT_EQ(filter.m_context, &context);
  const std::u16string longName(1000, u'n');
  EXPECT_TRUE(offer(filter, typeAtEnd(longName, u"\U0001F600 -#")));
  EXPECT_TRUE(offer(filter, {longName, 0, 1000, u""}));
  EXPECT_TRUE(offer(filter, typeAtEnd(u"", u"\uFF11")));
}

TEST(FilterObjectValueTest, TextRoundTripsWithLeadingZeros) {
  MyIntegerNumberFilter integer;
  MyRomanFilter roman;
  LoginnameInputFilter login;
  for (const Formatter* f :
       {static_cast<const Formatter*>(&integer), static_cast<const Formatter*>(&roman),
        static_cast<const Formatter*>(&login)}) {
    std::u16string value;
    ASSERT_TRUE(f->getObjectValue(value, u"00070"));
    EXPECT_EQ(f->stringForObjectValue(value), u"00070");
  }
}

TEST(InsertedTextTest, IsWhatTheEditPutBeforeTheCaret) {
  EXPECT_EQ(insertedText(u"12345", {5, 0}, {2, 0}), u"345");
  EXPECT_EQ(insertedText(u"1x5", {2, 0}, {1, 3}), u"x");
  EXPECT_EQ(insertedText(u"125", {2, 0}, {2, 1}), u"");  // deletion
  EXPECT_EQ(insertedText(u"15", {1, 0}, {2, 0}), u"");   // backspace
  EXPECT_EQ(insertedText(u"1", {9, 0}, {0, 0}), u"1");   // caret beyond the text
  EXPECT_EQ(insertedText(u"1", {0, 0}, {7, 0}), u"");    // selection beyond the text
}

// The panel's fields, typed into as a user types: the limit is the build's
// pass-code maximum on the four numeric fields and 31 on the password.
TEST(PanelFieldFilterTest, NumericFieldsTakeThePassCodeMaximum) {
  PanelFixture f;
  f.env.capabilities.passwordMax = 3;
  f.open();
  f.control("retentionCheckBox").userClick();
  f.control("authenticationMatrix").userSelectRow(1);
  for (const char* name : {"suspendKeyEditText", "userNumberEditText", "accountNumberEditText"}) {
    HeadlessControl& field = f.control(name);
    EXPECT_FALSE(field.userType(u"12a")) << name;
    EXPECT_EQ(field.stringValue(), u"12") << name;
    EXPECT_FALSE(field.userType(u"34")) << name;
    EXPECT_EQ(field.stringValue(), u"123") << name;
    EXPECT_FALSE(field.userPaste(u"9", {0, 0})) << name;
    EXPECT_TRUE(field.userPaste(u"9", {0, 3})) << name;
    EXPECT_EQ(field.stringValue(), u"9") << name;
    EXPECT_TRUE(field.userClear()) << name;
  }
  auto* filter =
      dynamic_cast<const MyIntegerNumberFilter*>(f.control("folderPasswordEditText").formatter());
  ASSERT_NE(filter, nullptr);
  EXPECT_EQ(filter->maxValue, 3u);
}

TEST(PanelFieldFilterTest, PasswordTakes31AndLoginNameAnything) {
  PanelFixture f;
  f.open();
  HeadlessControl& password = f.control("passwordEditText");
  EXPECT_FALSE(password.userType(std::u16string(32, u'p')));
  EXPECT_EQ(password.stringValue(), std::u16string(31, u'p'));
  HeadlessControl& login = f.control("loginNameEditText");
  EXPECT_TRUE(login.userType(std::u16string(300, u'n') + u"#\u00E9"));
  EXPECT_EQ(login.stringValue().size(), 302u);
  EXPECT_EQ(f.control("userNameEditText").formatter(), nullptr);
  EXPECT_EQ(f.control("jobNameEditText").formatter(), nullptr);
  EXPECT_EQ(f.control("printersAddressEditText").formatter(), nullptr);
}

}  // namespace
}  // namespace jc::test
