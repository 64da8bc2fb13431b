// Where the panel keeps each held field's value from the preferences.
#include <array>

#include "plugin/panel.h"
#include "settings/held_fields.h"

namespace jc {
namespace {

using Panel = KorvelPrintPdeVx418JC;
using HeldMember = std::optional<std::u16string> Panel::*;

// In the rows' order of kHeldFields.
constexpr std::array<HeldMember, kHeldFields.size()> kHeldMembers = {
    &Panel::prefSuspendKeyStringRef,    &Panel::prefLoginNameStringRef,
    &Panel::prefPasswordStringRef,      &Panel::prefUserNumberStringRef,
    &Panel::prefAccountNumberStringRef, &Panel::prefUserNameStringRef,
    &Panel::prefJobNameStringRef,       &Panel::prefFolderPassStringRef,
    &Panel::prefFolderNameStringRef};

}  // namespace

std::optional<std::u16string>& KorvelPrintPdeVx418JC::heldPreference(HoldBit bit) {
  return this->*kHeldMembers[heldFieldIndex(bit)];
}

const std::optional<std::u16string>& KorvelPrintPdeVx418JC::heldPreference(HoldBit bit) const {
  return this->*kHeldMembers[heldFieldIndex(bit)];
}

}  // namespace jc
