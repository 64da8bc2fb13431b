// Turning the job's print-settings entries back into the panel's settings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/print_settings.h"
#include "platform/text.h"
#include "settings/held_fields.h"
#include "settings/job_control_settings.h"
#include "soap/folder_entry.h"

namespace jc {

// The controls of the current layout that the read fills; a step whose
// control is absent is skipped.
struct ReaderLayout {
  bool retentionCheckBox = true;
  bool suspendMatrix = true;
  bool suspendKeyEditText = true;
  bool folderSelectionPopup = true;
  bool folderSelectionMatrix = true;
  bool folderNameEditText = true;
  bool folderPasswordEditText = true;
  bool authenticationMatrix = true;
  bool loginNameEditText = true;
  bool passwordEditText = true;
  bool userNumberEditText = true;
  bool accountNumberEditText = true;
  bool userNameEditText = true;
  bool jobNameEditText = true;
};

// The values held in the preferences. A field's bit in `mask` makes the read
// take the held value (when there is one) instead of the job's entry, and
// turns the field's hold check box on. The texts are as the preferences keep
// them: fixed-key hex, the login name's fixed-key Base64, names in plain text.
struct HeldValues {
  std::uint32_t mask = 0;
  std::optional<bool> loginAuthentication;
  std::array<std::optional<std::u16string>, kHeldFields.size()> texts;  // in the rows' order

  const std::optional<std::u16string>& of(HoldBit bit) const { return texts[heldFieldIndex(bit)]; }
  std::optional<std::u16string>& of(HoldBit bit) { return texts[heldFieldIndex(bit)]; }
};

struct ReaderContext {
  ReaderLayout layout;
  HeldValues held;
  std::uint32_t presetHoldMask = 0;  // the hold mask of the previous read
  // Deciphered texts and names are in the panel's encoding; the folder path
  // in the system encoding.
  NSStringEncoding textEncoding = NSMacOSRomanStringEncoding;
  CFStringEncoding systemEncoding = kCFStringEncodingMacRoman;
  std::int64_t passwordMax = 5;                // pass codes with more bytes are not shown
  std::optional<std::u16string> fullUserName;  // the user name when the job has none
  const FolderList* folderList = nullptr;
};

// What one read yields: the controls' values and the panel fields it updates.
// In `settings` a field is none when its control is absent or when the job and
// the preferences carry nothing for it: the control is then left as it is.
// `holdMask` holds the bits of the hold check boxes to turn on.
struct JobControlReading {
  JobControlSettings settings;
  std::uint32_t presetHoldMask = 0;  // the job's hold mask, else the previous one
  std::uint32_t prefHoldMask = 0;    // the held bits that later reads still take
  // The folder the job files into, when it names one (none when its name is
  // not text in the system encoding).
  bool folderNameRead = false;
  std::optional<std::u16string> folderName;
};

// Reads the entries that can be inverted (plain digits, hex texts, fixed-key
// ciphers), or the held values in their place. Pure: nothing but the result
// changes.
JobControlReading readJobControlEntries(const PrintSettings& entries, const ReaderContext& context);

}  // namespace jc
