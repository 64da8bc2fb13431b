// Controls that stand for PPD options, on PPDs parsed by libcups: choice
// wrappers and their titles, lists and pop-ups made from an option, the
// marked choice's index, and selections checked with the host's real
// constraint check.
#include "plugin/ppd_choice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "hosts/common/ppd_constraints.h"
#include "support/panel_fixture.h"

namespace jc::test {
namespace {

ppd_option_t* findOption(ppd_file_t* ppd, const char* keyword) {
  ppd_option_t* option = ppd ? ppdFindOption(ppd, keyword) : nullptr;
  EXPECT_NE(option, nullptr) << keyword;
  return option;
}

std::vector<std::u16string> keywordsOf(const PDEChoiceList& list) {
  std::vector<std::u16string> out;
  for (const PDEChoicePtr& choice : list) out.push_back(choice->ppdTitle().value_or(u"(none)"));
  return out;
}

// A choice record outside any PPD, with the given bytes as keyword and text.
ppd_choice_t choiceRecord(const char* keyword, const char* text) {
  ppd_choice_t choice{};
  std::strncpy(choice.choice, keyword, sizeof choice.choice - 1);
  std::strncpy(choice.text, text, sizeof choice.text - 1);
  return choice;
}

// A two-state button whose state the test sets directly, the mixed state included.
class StateButton final : public Control {
 public:
  ControlKind kind() const override { return ControlKind::CheckBox; }
  const std::string& name() const override { return name_; }
  int state() const override { return state_; }
  void setState(int state) override { state_ = state; }

 private:
  std::string name_ = "stateButton";
  int state_ = 0;
};

const char* const kShiftJisNihon = "\x93\xFA\x96\x7B";  // "日本" in Shift JIS, not UTF-8

TEST(PpdChoiceTitleTest, UserTitleKeepsTheFirstEncodingItWasMadeIn) {
  ppd_choice_t record = choiceRecord("Nihon", kShiftJisNihon);
  KorvelPrintPdeVx418JCPDEChoice first(&record);
  EXPECT_EQ(first.userTitle(NSShiftJISStringEncoding), u"日本");
  EXPECT_EQ(first.userTitle(NSUTF8StringEncoding), u"日本");

  // A text that cannot be made is not kept: the next request tries again.
  KorvelPrintPdeVx418JCPDEChoice second(&record);
  EXPECT_EQ(second.userTitle(NSUTF8StringEncoding), std::nullopt);
  EXPECT_EQ(second.userTitle(NSShiftJISStringEncoding), u"日本");
  EXPECT_EQ(second.userTitle(NSUTF8StringEncoding), u"日本");

  KorvelPrintPdeVx418JCPDEChoice none(nullptr);
  EXPECT_EQ(none.userTitle(NSUTF8StringEncoding), std::nullopt);
  EXPECT_EQ(none.ppdTitle(), std::nullopt);
  EXPECT_EQ(none.choice(), nullptr);
}

// libcups hands choice texts over in UTF-8: the first encoding asked for
// decides the title even when it reads those bytes differently.
TEST(PpdChoiceTitleTest, UserTitleOfAConvertedPpdText) {
  PpdPtr ppd = openPpd(testDataPath("ppd/choices.ppd"));
  ASSERT_TRUE(ppd);
  ppd_option_t* weight = findOption(ppd.get(), "Weight");
  ASSERT_EQ(weight->num_choices, 3);
  ppd_choice_t* heavy = &weight->choices[1];
  ASSERT_STREQ(heavy->text, "Schwer (\xC3\x9C)");

  KorvelPrintPdeVx418JCPDEChoice asUtf8(heavy);
  EXPECT_EQ(asUtf8.userTitle(NSUTF8StringEncoding), u"Schwer (Ü)");
  EXPECT_EQ(asUtf8.userTitle(NSMacOSRomanStringEncoding), u"Schwer (Ü)");

  KorvelPrintPdeVx418JCPDEChoice asMacRoman(heavy);
  // Mac Roman reads 0xC3 0x9C as U+221A U+00FA.
  EXPECT_EQ(asMacRoman.userTitle(NSMacOSRomanStringEncoding), u"Schwer (\u221A\u00FA)");
  EXPECT_EQ(asMacRoman.userTitle(NSUTF8StringEncoding), u"Schwer (\u221A\u00FA)");
}

TEST(PpdChoiceTitleTest, PpdTitleIsTheAsciiKeywordMadeOnce) {
  ppd_choice_t record = choiceRecord("Face-Up", "Seitlich");
  KorvelPrintPdeVx418JCPDEChoice wrapper(&record);
  EXPECT_EQ(wrapper.choice(), &record);
  EXPECT_EQ(wrapper.ppdTitle(), u"Face-Up");
  std::strcpy(record.choice, "Changed");
  EXPECT_EQ(wrapper.ppdTitle(), u"Face-Up");  // kept

  ppd_choice_t accented = choiceRecord("\xE9t\xE9", "Sommer");
  KorvelPrintPdeVx418JCPDEChoice notAscii(&accented);
  EXPECT_EQ(notAscii.ppdTitle(), std::nullopt);
  std::strcpy(accented.choice, "ete");
  EXPECT_EQ(notAscii.ppdTitle(), u"ete");  // tried again
}

TEST(PpdChoiceListTest, ArrayFromPPDOptionWrapsEveryChoiceInOrder) {
  PpdPtr ppd = openPpd(samplePpdPath());
  ASSERT_TRUE(ppd);
  ppd_option_t* mediaType = findOption(ppd.get(), "MediaType");
  const auto list = ArrayFromPPDOption(mediaType);
  ASSERT_TRUE(list);
  EXPECT_EQ(keywordsOf(*list), (std::vector<std::u16string>{u"Plain", u"Transparency", u"Labels"}));
  for (std::size_t i = 0; i < list->size(); ++i) {
    EXPECT_EQ((*list)[i]->choice(), &mediaType->choices[i]);
  }
  EXPECT_EQ((*list)[0]->userTitle(NSUTF8StringEncoding), u"Plain Paper");

  EXPECT_EQ(ArrayFromPPDOption(nullptr), std::nullopt);
  for (int count : {0, -1}) {
    ppd_option_t empty{};
    empty.num_choices = count;
    const auto none = ArrayFromPPDOption(&empty);
    ASSERT_TRUE(none) << count;
    EXPECT_TRUE(none->empty()) << count;
  }
}

TEST(PpdChoiceListTest, FindChoiceForStringMatchesTheKeywordExactly) {
  PpdPtr ppd = openPpd(samplePpdPath());
  ASSERT_TRUE(ppd);
  const PDEChoiceList list = *ArrayFromPPDOption(findOption(ppd.get(), "MediaType"));
  struct Case {
    std::optional<std::u16string> keyword;
    int index;  // -1: none
  };
  const Case cases[] = {{u"Labels", 2}, {u"Plain", 0},     {u"labels", -1},
                        {u"Label", -1}, {u"Labels ", -1},  {u"Plain Paper", -1},
                        {u"", -1},      {std::nullopt, -1}};
  for (const Case& c : cases) {
    const PDEChoicePtr found = FindChoiceForString(c.keyword, list);
    if (c.index < 0) {
      EXPECT_EQ(found, nullptr) << (c.keyword ? toUtf8(*c.keyword) : "(none)");
    } else {
      EXPECT_EQ(found, list[std::size_t(c.index)]) << toUtf8(*c.keyword);
    }
  }
  EXPECT_EQ(FindChoiceForString(u"Labels", {}), nullptr);
}

TEST(PpdChoicePopUpTest, InitPopUpFromArrayReplacesTheItemsInOptionOrder) {
  PpdPtr ppd = openPpd(testDataPath("ppd/choices.ppd"));
  ASSERT_TRUE(ppd);
  const PDEChoiceList list = *ArrayFromPPDOption(findOption(ppd.get(), "Weight"));
  HeadlessControl popUp(ControlKind::PopUp, "weightPopUp", "QComboBox");
  popUp.addItem(MenuItem{u"Old", false, nullptr, {}});
  popUp.addItem(MenuItem{u"", true, nullptr, {}});

  InitPopUpFromArray(&popUp, list, NSUTF8StringEncoding);
  const std::vector<std::u16string> titles = {u"Leicht", u"Schwer (Ü)", u"Karton Größe"};
  ASSERT_EQ(popUp.numberOfItems(), 3);
  for (int i = 0; i < 3; ++i) {
    const MenuItem* item = popUp.itemAtIndex(i);
    EXPECT_EQ(item->title, titles[std::size_t(i)]);
    EXPECT_FALSE(item->separator);
    const auto* wrapper = std::any_cast<PDEChoicePtr>(&item->representedObject);
    ASSERT_NE(wrapper, nullptr) << i;
    EXPECT_EQ(*wrapper, list[std::size_t(i)]);
  }

  InitPopUpFromArray(&popUp, {}, NSUTF8StringEncoding);
  EXPECT_EQ(popUp.numberOfItems(), 0);
  InitPopUpFromArray(ControlRef(), list, NSUTF8StringEncoding);  // an absent pop-up
}

// The choice test printer: Finish defaults to its third choice, OutputBin has
// no default at all.
TEST(PpdChoiceIndexTest, MarkedChoiceElseDefaultElseMinusOne) {
  PanelFixture f;
  f.host.ppd = PpdPtr(ppdOpenFile(testDataPath("ppd/choices.ppd").c_str()));  // nothing marked
  ASSERT_TRUE(f.host.ppd);
  KorvelPrintPdeVx418JC& panel = f.make();
  ppd_file_t* ppd = f.host.ppd.get();
  ASSERT_EQ(panel.ppd, ppd);
  ppd_option_t* finish = findOption(ppd, "Finish");
  ppd_option_t* outputBin = findOption(ppd, "OutputBin");
  ppd_option_t* weight = findOption(ppd, "Weight");

  EXPECT_EQ(panel.indexOfMarkedOption(finish, "Finish"), 2);  // the default, Staple
  EXPECT_EQ(panel.indexOfMarkedOption(weight, "Weight"), 0);
  EXPECT_EQ(panel.indexOfMarkedOption(outputBin, "OutputBin"), -1);

  ppdMarkOption(ppd, "Finish", "Punch");
  ppdMarkOption(ppd, "OutputBin", "Face-Up");
  ppdMarkOption(ppd, "Weight", "Board");
  EXPECT_EQ(panel.indexOfMarkedOption(finish, "Finish"), 1);
  EXPECT_EQ(panel.indexOfMarkedOption(outputBin, "OutputBin"), 1);
  EXPECT_EQ(panel.indexOfMarkedOption(weight, "Weight"), 2);

  EXPECT_EQ(panel.indexOfMarkedOption(nullptr, "NoSuchOption"), -1);
  EXPECT_EQ(panel.indexOfMarkedOption(finish, nullptr), 2);  // no key: the default
}

// The host's constraint check is the command line's: it asks the PPD itself.
class PpdChoiceSelectionTest : public ::testing::Test {
 protected:
  KorvelPrintPdeVx418JC& make() {
    f.host.willChange = [this](const char* option, const char* choice) {
      asked.push_back(std::string(option) + "=" + choice);
      return ppdAcceptsChoice(f.host.ppd.get(), option, choice);
    };
    KorvelPrintPdeVx418JC& panel = f.make();
    ppd = f.host.ppd.get();
    mediaTypes = *ArrayFromPPDOption(findOption(ppd, "MediaType"));
    duplexes = *ArrayFromPPDOption(findOption(ppd, "Duplex"));
    InitPopUpFromArray(&popUp, mediaTypes, NSUTF8StringEncoding);
    return panel;
  }

  std::string marked(const char* option) const {
    ppd_choice_t* choice = ppdFindMarkedChoice(ppd, option);
    return choice ? choice->choice : "(none)";
  }

  PanelFixture f;
  ppd_file_t* ppd = nullptr;
  PDEChoiceList mediaTypes, duplexes;
  HeadlessControl popUp{ControlKind::PopUp, "mediaTypePopUp", "QComboBox"};
  std::vector<std::string> asked;
};

TEST_F(PpdChoiceSelectionTest, PopUpChoiceTheHostRefusesKeepsThePreviousOne) {
  KorvelPrintPdeVx418JC& panel = make();
  ASSERT_TRUE(panel.useConstraintHandling);
  ppdMarkOption(ppd, "Duplex", "DuplexNoTumble");
  PDEChoicePtr current = mediaTypes[0];

  struct Step {
    int index;     // the item the pop-up shows as selected
    int expected;  // the wrapper in place afterwards
  };
  for (const Step& step : {Step{1, 0}, Step{2, 0}, Step{0, 0}}) {
    popUp.selectItemAtIndex(step.index);
    panel.getSelection(current, &popUp, "MediaType");
    EXPECT_EQ(current, mediaTypes[std::size_t(step.expected)]) << step.index;
    // The check leaves the PPD as it was.
    EXPECT_EQ(marked("Duplex"), "DuplexNoTumble");
    EXPECT_EQ(marked("MediaType"), "Plain");
  }
  EXPECT_EQ(asked, (std::vector<std::string>{"MediaType=Transparency", "MediaType=Labels",
                                             "MediaType=Plain"}));
  EXPECT_EQ(f.host.willChangeCalls, 3);

  ppdMarkOption(ppd, "Duplex", "None");
  popUp.selectItemAtIndex(1);
  panel.getSelection(current, &popUp, "MediaType");
  EXPECT_EQ(current, mediaTypes[1]);
  EXPECT_EQ(f.host.willChangeCalls, 4);
}

TEST_F(PpdChoiceSelectionTest, PopUpWithoutAChoiceItemKeepsTheSelection) {
  KorvelPrintPdeVx418JC& panel = make();
  PDEChoicePtr current = mediaTypes[2];
  popUp.addItem(MenuItem{u"Not a choice", false, nullptr, std::any(42)});
  for (int index : {-1, 3}) {
    popUp.selectItemAtIndex(index);
    panel.getSelection(current, &popUp, "MediaType");
    EXPECT_EQ(current, mediaTypes[2]) << index;
  }
  panel.getSelection(current, ControlRef(), "MediaType");  // an absent pop-up has no items
  EXPECT_EQ(current, mediaTypes[2]);
  EXPECT_EQ(f.host.willChangeCalls, 0);
}

TEST_F(PpdChoiceSelectionTest, WithoutConstraintHandlingTheCandidateIsTakenUnasked) {
  f.host.constraintHandling = false;
  KorvelPrintPdeVx418JC& panel = make();
  ASSERT_FALSE(panel.useConstraintHandling);
  ppdMarkOption(ppd, "Duplex", "DuplexNoTumble");
  PDEChoicePtr current = mediaTypes[0];
  popUp.selectItemAtIndex(1);  // Transparency: a conflict the host would refuse
  panel.getSelection(current, &popUp, "MediaType");
  EXPECT_EQ(current, mediaTypes[1]);

  StateButton button;
  button.setState(1);
  current = duplexes[0];
  panel.getSelection(current, duplexes, &button, "Duplex");
  EXPECT_EQ(current, duplexes[1]);
  EXPECT_EQ(f.host.willChangeCalls, 0);
}

TEST_F(PpdChoiceSelectionTest, ButtonStateIndexesTheListAndMixedKeepsTheSelection) {
  KorvelPrintPdeVx418JC& panel = make();
  ppdMarkOption(ppd, "MediaType", "Transparency");
  StateButton button;
  PDEChoicePtr current = duplexes[0];

  button.setState(1);  // DuplexNoTumble conflicts with Transparency
  panel.getSelection(current, duplexes, &button, "Duplex");
  EXPECT_EQ(current, duplexes[0]);
  EXPECT_EQ(f.host.willChangeCalls, 1);

  ppdMarkOption(ppd, "MediaType", "Plain");
  panel.getSelection(current, duplexes, &button, "Duplex");
  EXPECT_EQ(current, duplexes[1]);
  EXPECT_EQ(f.host.willChangeCalls, 2);

  button.setState(-1);  // mixed: no entry, the host is not asked
  panel.getSelection(current, duplexes, &button, "Duplex");
  EXPECT_EQ(current, duplexes[1]);
  EXPECT_EQ(f.host.willChangeCalls, 2);

  button.setState(0);
  panel.getSelection(current, duplexes, &button, "Duplex");
  EXPECT_EQ(current, duplexes[0]);
  EXPECT_EQ(asked, (std::vector<std::string>{"Duplex=DuplexNoTumble", "Duplex=DuplexNoTumble",
                                             "Duplex=None"}));
}

}  // namespace
}  // namespace jc::test
