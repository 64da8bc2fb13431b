// The hold modes: the suspend matrix's rows, the digit the suspend entry
// carries for each, and the command line's name. One table, read both ways.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace jc {

struct HoldMode {
  int row;                 // in the suspend matrix
  char suspendDigit;       // the suspend entry's digit
  std::string_view name;   // --hold-mode NAME
  std::string_view radio;  // the row's radio button outlet
};

inline constexpr std::array<HoldMode, 3> kHoldModes = {{
    {0, '2', "hold-only", "holdOnlyRadioButton"},
    {1, '1', "hold-after-print", "holdAfterRadioButton"},
    {2, '3', "sample-print", "samplePrintRadioButton"},
}};

constexpr const HoldMode* holdModeOfRow(int row) {
  for (const HoldMode& m : kHoldModes)
    if (m.row == row) return &m;
  return nullptr;
}

constexpr const HoldMode* holdModeOfDigit(char digit) {
  for (const HoldMode& m : kHoldModes)
    if (m.suspendDigit == digit) return &m;
  return nullptr;
}

constexpr const HoldMode* holdModeNamed(std::string_view name) {
  for (const HoldMode& m : kHoldModes)
    if (m.name == name) return &m;
  return nullptr;
}

}  // namespace jc
