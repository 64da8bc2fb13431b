// The panel's settings as one plain record, and the hold mask.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace jc {

// One bit per hold check box; the value of "holdButton" and of "hold button".
enum HoldBit : std::uint32_t {
  kHoldPassCode = 1,
  kHoldLoginName = 2,
  kHoldPassword = 4,
  kHoldUserName = 8,
  kHoldJobName = 16,
  kHoldFolderPassCode = 32,
  kHoldUserNumber = 64,
  kHoldAccountNumber = 128,
  kHoldFolderName = 256,
};
inline constexpr std::uint32_t kHoldAll = 511;

// How much of a code the writer sends: at most `chars` characters and, in the
// system's encoding, `bytes` bytes.
struct CodeLimit {
  std::size_t chars;
  std::size_t bytes;
};
inline constexpr CodeLimit kPassCodeLimit{8, 8};
inline constexpr CodeLimit kFolderPassCodeLimit{8, 8};
inline constexpr CodeLimit kUserNumberLimit{8, 8};
inline constexpr CodeLimit kAccountNumberLimit{8, 5};

// A field the layout may lack: none when its control is absent.
template <class T>
using Present = std::optional<T>;

// What the writer consumes and the reader produces. A field is none when the
// current layout has no control for it; the writer then removes its entries.
struct JobControlSettings {
  Present<bool> retention;             // retentionCheckBox; default off
  Present<int> suspendRow;             // suspendMatrix row 0..2; default 0
  Present<std::u16string> suspendKey;  // job pass code
  Present<int> folderRow;              // folderSelectionMatrix: 0 quick, 1 main, 2 custom
  Present<int> folderPopupIndex;       // folderSelectionPopup: 0 quick, 1 main, 3+ device folder
  Present<std::u16string> folderName;  // folderNameEditText
  Present<std::u16string> folderPassword;
  Present<bool> loginAuthentication;  // authenticationRadioButton on; default true
  // The login name: the held name while loginNameButton is on (which may be
  // none when nothing is held), else the field's text. Absent field: none and
  // loginNameField false.
  bool loginNameField = false;
  std::optional<std::u16string> loginName;
  Present<std::u16string> password;
  Present<std::u16string> userNumber;
  Present<std::u16string> accountNumber;
  Present<std::u16string> userName;
  Present<std::u16string> jobName;
  std::uint32_t holdMask = 0;
};

}  // namespace jc
