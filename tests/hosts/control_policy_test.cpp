// The rules both toolkits share: where a pop-up's selection goes as items
// come and go, the states a check box takes, and a matrix's row when one of
// its cells is set.
#include <gtest/gtest.h>

#include <optional>

#include "hosts/common/button_states.h"
#include "hosts/common/pop_up_items.h"

namespace jc::test {
namespace {

PopUpItems itemsNamed(std::initializer_list<const char16_t*> titles) {
  std::vector<MenuItem> items;
  for (const char16_t* title : titles) items.push_back(MenuItem{title, false, {}, {}});
  return PopUpItems(std::move(items));
}

TEST(PopUpItemsTest, RemovingAnItemMovesTheSelectionAsAComboBoxDoes) {
  struct Case {
    int removed, selected, after;
  };
  const Case cases[] = {
      {0, 2, 1},    // an item before the selection moves it up
      {2, 1, 1},    // one after it leaves it
      {1, 1, 1},    // the selected one: the item now in its place
      {2, 2, 1},    // the selected last one: the new last one
      {0, -1, -1},  // no selection stays none
  };
  for (const Case& c : cases) {
    PopUpItems items = itemsNamed({u"A", u"B", u"C"});
    EXPECT_EQ(items.remove(c.removed, c.selected), c.after) << c.removed << " of " << c.selected;
    EXPECT_EQ(items.count(), 2);
  }
  PopUpItems only = itemsNamed({u"A"});
  EXPECT_EQ(only.remove(0, 0), -1) << "the only item gone leaves no selection";
}

TEST(PopUpItemsTest, AnEmptyPopUpSelectsItsFirstItemUnlessItIsASeparator) {
  PopUpItems items;
  EXPECT_EQ(items.add(MenuItem{{}, true, {}, {}}, -1), -1);
  EXPECT_FALSE(items.isChoice(0)) << "a separator is no choice";
  EXPECT_EQ(items.add(MenuItem{u"A", false, {}, {}}, -1), -1) << "the list was not empty";
  PopUpItems fresh;
  EXPECT_EQ(fresh.add(MenuItem{u"A", false, {}, {}}, -1), 0);
  EXPECT_EQ(fresh.add(MenuItem{u"B", false, {}, {}}, 0), 0);
  EXPECT_TRUE(fresh.isSelection(-1));
  EXPECT_FALSE(fresh.isSelection(2));
  EXPECT_FALSE(fresh.setTitle(2, u"C")) << "outside the list";
  EXPECT_EQ(fresh.at(2), nullptr);
}

TEST(ButtonStatesTest, MixedOnlyForATriStateBoxAndAnyOtherValueIsOn) {
  EXPECT_EQ(checkBoxState(-1, true), -1);
  EXPECT_EQ(checkBoxState(-1, false), 1);
  EXPECT_EQ(checkBoxState(7, false), 1);
  EXPECT_EQ(checkBoxState(0, true), 0);
  EXPECT_EQ(matrixRowAfterCellState(1, 2, 0), 2) << "on selects the cell's row";
  EXPECT_EQ(matrixRowAfterCellState(0, 2, 2), -1) << "off clears the cell's own row";
  EXPECT_EQ(matrixRowAfterCellState(0, 2, 1), std::nullopt) << "off leaves another row";
}

}  // namespace
}  // namespace jc::test
