// The states of check boxes and radio cells as both toolkits set them, and
// the cells of a radio matrix in row order.
#pragma once

#include <optional>
#include <vector>

namespace jc {

// The state a check box takes when the program or the user asks for
// `requested`: -1 (mixed) only for a tri-state box; any other non-zero value
// is on (1).
int checkBoxState(int requested, bool tristate);

// The matrix's selected row after the state of its cell at `row` is set:
// on selects the row; off clears the selection when it was that row; none
// when the selection stays.
std::optional<int> matrixRowAfterCellState(int state, int row, int selectedRow);

// A radio matrix's cells in row order.
template <class Cell>
class RadioCells {
 public:
  // Adds `cell` as the next row; answers its row.
  int add(Cell& cell) {
    cells_.push_back(&cell);
    return count() - 1;
  }
  int count() const { return static_cast<int>(cells_.size()); }
  // The cell of `row`, or null outside the matrix.
  Cell* at(int row) const {
    return row >= 0 && row < count() ? cells_[static_cast<std::size_t>(row)] : nullptr;
  }
  // Whether the program may select `row`: a cell's, or -1 for none.
  bool isSelection(int row) const { return row == -1 || at(row) != nullptr; }
  const std::vector<Cell*>& all() const { return cells_; }

 private:
  std::vector<Cell*> cells_;
};

}  // namespace jc
