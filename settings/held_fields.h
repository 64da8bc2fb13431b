// The nine fields whose values can be held from job to job: one row each,
// with everything the panel and its hosts know of a field by name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "settings/job_control_settings.h"

namespace jc {

// How a held value is kept in the preferences.
enum class HeldStorage {
  FixedKeyHex,     // enciphered with the fixed key, `storedBytes` bytes as hex
  FixedKeyBase64,  // enciphered with the fixed key, Base64 (the login name)
  FolderPassCode,  // the folder pass code's own cipher
  PlainText,       // as typed
};

// What a field's edit check lets through.
enum class FieldInput {
  Digits,     // digits, at most the printer's pass-code length
  LoginName,  // the login name's filter
  Password,   // printable ASCII, at most 31 characters
  AnyText,
};

struct HeldField {
  HoldBit bit;
  std::string_view preferenceKey;    // the key in the "Job Control" dictionary
  std::string_view commandLineName;  // --lock NAME, --unlock NAME
  std::string_view editField;        // the field's outlet
  std::string_view lockBox;          // its hold check box's outlet
  HeldStorage storage;
  std::size_t storedBytes;  // the cipher's bytes, for FixedKeyHex
  FieldInput input;
};

// In the order the preferences store them.
inline constexpr std::array<HeldField, 9> kHeldFields = {{
    {kHoldPassCode, "pass code", "passcode", "suspendKeyEditText", "suspendKeyButton",
     HeldStorage::FixedKeyHex, 16, FieldInput::Digits},
    {kHoldLoginName, "user login name", "login-name", "loginNameEditText", "loginNameButton",
     HeldStorage::FixedKeyBase64, 0, FieldInput::LoginName},
    {kHoldPassword, "user password", "password", "passwordEditText", "passwordButton",
     HeldStorage::FixedKeyHex, 32, FieldInput::Password},
    {kHoldUserNumber, "user number", "user-number", "userNumberEditText", "userNumberButton",
     HeldStorage::FixedKeyHex, 16, FieldInput::Digits},
    {kHoldAccountNumber, "account number", "account-number", "accountNumberEditText",
     "accountNumberButton", HeldStorage::FixedKeyHex, 16, FieldInput::Digits},
    {kHoldUserName, "user name", "user-name", "userNameEditText", "userNameButton",
     HeldStorage::PlainText, 0, FieldInput::AnyText},
    {kHoldJobName, "job name", "job-name", "jobNameEditText", "jobNameButton",
     HeldStorage::PlainText, 0, FieldInput::AnyText},
    {kHoldFolderPassCode, "folder pass code", "folder-passcode", "folderPasswordEditText",
     "folderPasswordButton", HeldStorage::FolderPassCode, 0, FieldInput::Digits},
    {kHoldFolderName, "folder name", "folder-name", "folderNameEditText", "folderNameButton",
     HeldStorage::PlainText, 0, FieldInput::AnyText},
}};

// The index of `bit`'s row; every hold bit has one.
constexpr std::size_t heldFieldIndex(HoldBit bit) {
  std::size_t i = 0;
  while (i + 1 < kHeldFields.size() && kHeldFields[i].bit != bit) ++i;
  return i;
}

}  // namespace jc
