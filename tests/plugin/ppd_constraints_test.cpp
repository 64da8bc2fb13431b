// The PPD's constraint check that the command-line host offers the panel:
// conflicts of the sample printer and of the choice test printer, and a PPD
// that is left exactly as it was marked.
#include "hosts/common/ppd_constraints.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/panel_fixture.h"

namespace jc::test {
namespace {

// Every marked choice as "Option=Choice", with each option's conflict flag
// after libcups has looked at the marks.
std::vector<std::string> marks(ppd_file_t* ppd) {
  std::vector<std::string> out;
  for (int g = 0; g < ppd->num_groups; ++g) {
    const ppd_group_t& group = ppd->groups[g];
    std::vector<const ppd_option_t*> options;
    for (int o = 0; o < group.num_options; ++o) options.push_back(&group.options[o]);
    for (int s = 0; s < group.num_subgroups; ++s)
      for (int o = 0; o < group.subgroups[s].num_options; ++o)
        options.push_back(&group.subgroups[s].options[o]);
    for (const ppd_option_t* option : options) {
      for (int c = 0; c < option->num_choices; ++c)
        if (option->choices[c].marked)
          out.push_back(std::string(option->keyword) + "=" + option->choices[c].choice);
      if (option->conflicted) out.push_back(std::string(option->keyword) + " conflicted");
    }
  }
  for (int i = 0; i < ppd->num_sizes; ++i)
    if (ppd->sizes[i].marked) out.push_back(std::string("size ") + ppd->sizes[i].name);
  return out;
}

TEST(PpdConstraintsTest, RefusesAChoiceThatConflictsWithAMarkedOne) {
  PpdPtr ppd = openPpd(samplePpdPath());
  ASSERT_TRUE(ppd);
  ppdMarkOption(ppd.get(), "Duplex", "DuplexNoTumble");
  struct Case {
    const char* option;
    const char* choice;
    bool accepted;
  };
  const Case cases[] = {
      {"MediaType", "Transparency", false},
      {"MediaType", "Labels", false},
      {"MediaType", "Plain", true},
      {"Duplex", "DuplexTumble", true},  // the option's own choice is replaced, not combined
      {"PageSize", "Letter", true},
      {"PageSize", "Tabloid", false},  // no such choice
      {"NoSuchOption", "Plain", false},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> before = marks(ppd.get());
    EXPECT_EQ(ppdAcceptsChoice(ppd.get(), c.option, c.choice), c.accepted)
        << c.option << "=" << c.choice;
    EXPECT_EQ(marks(ppd.get()), before) << c.option << "=" << c.choice;
  }
  ppdMarkOption(ppd.get(), "Duplex", "None");
  EXPECT_TRUE(ppdAcceptsChoice(ppd.get(), "MediaType", "Transparency"));
  EXPECT_FALSE(ppdAcceptsChoice(nullptr, "MediaType", "Plain"));
  EXPECT_FALSE(ppdAcceptsChoice(ppd.get(), nullptr, "Plain"));
  EXPECT_FALSE(ppdAcceptsChoice(ppd.get(), "MediaType", nullptr));
}

// Options without a marked choice, and the options whose marks move each
// other, come out of the check as they went in.
TEST(PpdConstraintsTest, LeavesEveryMarkAsItWas) {
  PpdPtr ppd = openPpd(testDataPath("ppd/choices.ppd"));
  ASSERT_TRUE(ppd);
  ASSERT_EQ(ppdFindMarkedChoice(ppd.get(), "OutputBin"), nullptr);  // it has no default
  struct Case {
    const char* option;
    const char* choice;
    bool accepted;        // with the defaults marked (Finish=Staple, OutputBin unmarked)
    bool acceptedFaceUp;  // with OutputBin=Face-Up marked against Finish=Staple
  };
  const Case cases[] = {
      {"OutputBin", "Face-Down", true, true},
      {"OutputBin", "Face-Up", false, true},  // a conflict already there is no new one
      {"Finish", "Staple", true, true},
      {"Finish", "None", true, true},
      {"PageRegion", "Letter", true, true},
      {"PageSize", "Letter", true, true},
      {"InputSlot", "Tray2", true, true},
      {"ManualFeed", "False", true, true},
  };
  for (const char* setup : {"defaults", "Tray2", "Face-Up"}) {
    const std::string name = setup;
    if (name == "Tray2") ppdMarkOption(ppd.get(), "InputSlot", "Tray2");
    if (name == "Face-Up") ppdMarkOption(ppd.get(), "OutputBin", "Face-Up");
    ppdConflicts(ppd.get());
    for (const Case& c : cases) {
      const std::vector<std::string> before = marks(ppd.get());
      const bool expected = name == "Face-Up" ? c.acceptedFaceUp : c.accepted;
      EXPECT_EQ(ppdAcceptsChoice(ppd.get(), c.option, c.choice), expected)
          << setup << ": " << c.option << "=" << c.choice;
      EXPECT_EQ(marks(ppd.get()), before) << setup << ": " << c.option << "=" << c.choice;
    }
  }
  // Out of the conflict, Face-Up and Staple refuse each other again.
  ppdMarkOption(ppd.get(), "Finish", "Punch");
  EXPECT_FALSE(ppdAcceptsChoice(ppd.get(), "Finish", "Staple"));
  ppdMarkOption(ppd.get(), "OutputBin", "Face-Down");
  EXPECT_TRUE(ppdAcceptsChoice(ppd.get(), "Finish", "Staple"));
  ppdMarkOption(ppd.get(), "Finish", "Staple");
  EXPECT_FALSE(ppdAcceptsChoice(ppd.get(), "OutputBin", "Face-Up"));
}

}  // namespace
}  // namespace jc::test
