#include "hosts/common/button_states.h"

namespace jc {

int checkBoxState(int requested, bool tristate) {
  if (requested == -1 && tristate) return -1;
  return requested != 0 ? 1 : 0;
}

std::optional<int> matrixRowAfterCellState(int state, int row, int selectedRow) {
  if (state != 0) return row;
  if (selectedRow == row) return -1;
  return std::nullopt;
}

}  // namespace jc
