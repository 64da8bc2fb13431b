// The print-settings reader: brings the controls into line with the job's
// entries and with the values held in the preferences, then runs the actions
// so that enable states and masking follow.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "crypto/aes.h"
#include "crypto/base64.h"
#include "plugin/diagnostic_log.h"
#include "plugin/panel.h"
#include "settings/hex_text.h"
#include "settings/print_settings_keys.h"

namespace jc {
namespace {

// An entry as an ASCII C string of at most `bufferSize` - 1 characters; an
// entry that is not ASCII or does not fit reads as empty.
std::optional<std::string> readAscii(const PrintSettings& settings, std::string_view key,
                                     std::size_t bufferSize = 256) {
  auto value = settings.value(key);
  if (!value) return std::nullopt;
  if (value->size() >= bufferSize) return std::string();
  for (unsigned char c : *value)
    if (c > 0x7F || c == 0) return std::string();
  return value;
}

std::string asciiOf(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c > 0x7F || c == 0) return {};
    out.push_back(static_cast<char>(c));
  }
  return out;
}

// Decodes fixed-key hex text of `n` cipher bytes into the text it enciphers.
// A password whose second block is all zero bytes was at most 16 bytes long:
// only its first block is deciphered, so a 16-byte password reads back whole.
struct Decoded {
  std::u16string text;
  std::size_t bytes = 0;  // the deciphered bytes up to the first zero byte
};

Decoded decodeFixedKeyHex(const std::string& hex, std::size_t n, NSStringEncoding encoding,
                          bool skipZeroSecondBlock = false) {
  std::array<unsigned char, 512> cipher{};
  std::array<unsigned char, 512> plain{};
  myatoi(hex.c_str(), cipher.data(), std::min(hex.size(), 2 * n));
  std::size_t length = n;
  if (skipZeroSecondBlock && n == 32 &&
      std::all_of(cipher.begin() + 16, cipher.begin() + 32, [](unsigned char b) { return b == 0; }))
    length = 16;
  my_aes_decrypt(cipher.data(), length, plain.data());
  const std::size_t size = strnlen(reinterpret_cast<const char*>(plain.data()), plain.size());
  if (size == 0) return {};
  return {
      decodeBytesNS(std::string_view(reinterpret_cast<const char*>(plain.data()), size), encoding)
          .value_or(u""),
      size};
}

}  // namespace

void KorvelPrintPdeVx418JC::getNonPPDSettingsFromPrintSettings() {
  _PDEProlog(this, "--getNonPPDSettingsFromPrintSettings:");
  PrintSettings* settingsPtr = printSettings();
  if (!settingsPtr) {
    _PDEEpilog(this, "--getNonPPDSettingsFromPrintSettings:");
    return;
  }
  const PrintSettings& settings = *settingsPtr;
  const bool maxIsEight = getPasswordMax() == 8;
  auto setHold = [this](ControlRef box, bool on, void (KorvelPrintPdeVx418JC::*proc)(Control*)) {
    box.setState(on ? 1 : 0);
    (this->*proc)(box.get());
  };
  auto takePrefBit = [this](std::uint32_t bit) {
    const bool set = (prefHoldButtonFlag & bit) != 0;
    prefHoldButtonFlag &= ~bit;
    return set;
  };
  // A fixed-key value from the preferences (when its bit is set) or from the entry.
  struct Source {
    std::optional<std::string> value;
    bool hold = false;
  };
  auto heldOrEntry = [&](std::uint32_t bit, const std::optional<std::u16string>& pref,
                         std::string_view key) {
    Source source;
    if (takePrefBit(bit)) {
      source.hold = true;
      if (pref) {
        source.value = asciiOf(*pref);
        return source;
      }
    }
    if (auto entry = readAscii(settings, key)) {
      source.value = std::move(entry);
      if (presetHoldButtonFlag & bit) source.hold = true;
    }
    return source;
  };
  // Codes longer than the digit limit are not shown.
  auto withinLimit = [&](const Decoded& code) {
    return maxIsEight ? code.text : code.bytes <= 5 ? code.text : std::u16string();
  };
  // A field enciphered under the fixed key: the held value or the entry, its
  // hold box set through its action. Digit codes longer than the limit are
  // not shown.
  enum class Form { Code, Number, Password };
  auto readFixedKeyField = [&](ControlRef field, ControlRef box, std::uint32_t bit,
                               const std::optional<std::u16string>& pref, std::string_view key,
                               Form form, void (KorvelPrintPdeVx418JC::*proc)(Control*)) {
    if (!field) return;
    const Source source = heldOrEntry(bit, pref, key);
    std::u16string shown;
    if (source.value && !source.value->empty()) {
      if (form == Form::Password)
        shown = decodeFixedKeyHex(*source.value, 32, systemEncoding, true).text;
      else if (form == Form::Number)
        shown = decodeFixedKeyHex(*source.value, 16, systemEncoding).text;
      else
        shown = withinLimit(decodeFixedKeyHex(*source.value, 16, systemEncoding));
    }
    field.setStringValue(shown);
    setHold(box, source.hold, proc);
  };

  // Hold mask of the job: the leading decimal integer, as the platform reads
  // it; a number out of range gives the nearest 32-bit integer.
  if (auto hold = settings.value(keys::kHoldButton)) {
    long long v = 0;
    std::size_t i = 0;
    while (i < hold->size() && (*hold)[i] == ' ') ++i;
    bool negative = false;
    if (i < hold->size() && ((*hold)[i] == '-' || (*hold)[i] == '+'))
      negative = (*hold)[i++] == '-';
    constexpr long long kLimit = static_cast<long long>(INT32_MAX) + 1;
    while (i < hold->size() && (*hold)[i] >= '0' && (*hold)[i] <= '9') {
      v = std::min(v * 10 + ((*hold)[i++] - '0'), kLimit);
    }
    const long long value = negative ? -v : std::min(v, kLimit - 1);
    presetHoldButtonFlag = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
  }

  // Retention and hold mode.
  if (retentionCheckBox) {
    int mode = 0;
    if (auto suspend = readAscii(settings, keys::kJobSuspend); suspend && !suspend->empty()) {
      switch ((*suspend)[0]) {
        case '1':
          mode = 2;
          break;
        case '2':
          mode = 1;
          break;
        case '3':
          mode = 3;
          break;
        default:
          mode = 0;
          break;
      }
    }
    retentionCheckBox.setState(mode != 0 ? 1 : 0);
    retentionCBoxProc(retentionCheckBox.get());
    suspendMatrix.selectCellAtRow(mode != 0 ? mode - 1 : 0);
  } else {
    suspendMatrix.selectCellAtRow(0);
  }

  // Job pass code.
  readFixedKeyField(suspendKeyEditText, suspendKeyButton, kHoldPassCode, prefSuspendKeyStringRef,
                    keys::kJobSuspend2Key, Form::Code,
                    &KorvelPrintPdeVx418JC::suspendKeyButtonProc);

  // Filing and folder.
  if (folderSelectionPopup || folderSelectionMatrix) {
    bool hold = (presetHoldButtonFlag & kHoldFolderName) != 0;
    bool set = false;
    if (auto filing = settings.value(keys::kFiling); filing && !filing->empty()) {
      const char first = (*filing)[0];
      if (first == '1') {
        folderSelectionPopup.selectItemAtIndex(0);
        folderSelectionMatrix.selectCellAtRow(0);
        set = true;
      } else if (first == '3') {
        // The hex text of a name of up to 255 bytes.
        if (auto path = readAscii(settings, keys::kFolderPath, 511)) {
          std::array<unsigned char, 256> bytes{};
          myatoi(path->c_str(), bytes.data(), path->size());
          const std::size_t size =
              strnlen(reinterpret_cast<const char*>(bytes.data()), bytes.size());
          folderNameStringRef =
              decodeBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), size),
                          env_.systemEncoding);
          folderSelectionPopup.selectItemAtIndex(SearchSameFolderName(folderNameStringRef));
          folderSelectionMatrix.selectCellAtRow(2);
          folderNameEditText.setStringValue(folderNameStringRef.value_or(u""));
          set = true;
        }
      }
    }
    if (folderSelectionMatrix && takePrefBit(kHoldFolderName)) {
      if (prefFolderNameStringRef) {
        folderNameEditText.setStringValue(*prefFolderNameStringRef);
        hold = true;
        set = true;
      }
    }
    if (!set) {
      folderSelectionPopup.selectItemAtIndex(1);
      folderSelectionMatrix.selectCellAtRow(1);
    }
    setHold(folderNameButton, hold, &KorvelPrintPdeVx418JC::folderNameButtonProc);
  }

  // Authentication mode.
  if (authenticationMatrix) {
    std::string c = "1";
    if ((prefHoldButtonFlag & (kHoldLoginName | kHoldPassword | kHoldUserNumber)) &&
        prefAuthenticationBooleanRef) {
      c = *prefAuthenticationBooleanRef ? "1" : "0";
    } else if (auto auth = settings.value(keys::kAuthentication)) {
      c = auth->substr(0, 1);
    }
    authenticationMatrix.selectCellAtRow(c == "1" ? 0 : 1);
  }

  // Login name: Base64 of the fixed-key cipher, over two chunks.
  if (loginNameEditText) {
    std::array<char, 512> a{};
    std::array<unsigned char, 512> b{};
    loginNameButton.setState(0);
    loginNameButtonProc(loginNameButton.get());
    bool hold = false;
    bool fromPreferences = false;
    if (takePrefBit(kHoldLoginName)) {
      hold = true;
      if (prefLoginNameStringRef) {
        const std::string text = asciiOf(*prefLoginNameStringRef).substr(0, 510);
        std::memcpy(a.data(), text.data(), text.size());
        fromPreferences = true;
      }
    }
    if (!fromPreferences) {
      const auto chunk1 = readAscii(settings, keys::kLoginName11, 511).value_or("");
      const auto chunk2 = readAscii(settings, keys::kLoginName12, 511).value_or("");
      std::string joined = chunk1;
      if (!chunk1.empty() && !chunk2.empty()) joined += chunk2;
      joined.resize(std::min<std::size_t>(joined.size(), 510));
      std::memcpy(a.data(), joined.data(), joined.size());
      if (presetHoldButtonFlag & kHoldLoginName) hold = true;
    }
    std::u16string shown;
    if (a[0] != '\0') {
      const int decoded = Base64decode(b.data(), a.data());
      a.fill(0);
      my_aes_decrypt(b.data(), static_cast<std::size_t>(std::max(decoded, 0)),
                     reinterpret_cast<unsigned char*>(a.data()));
      const std::size_t size = strnlen(a.data(), a.size());
      if (size > 0)
        shown = decodeBytesNS(std::string_view(a.data(), size), systemEncoding).value_or(u"");
    }
    loginNameEditText.setStringValue(shown);
    loginNameStringRef.reset();
    loginNameLockFlag = false;
    if (hold) {
      loginNameButton.setState(1);
      loginNameButtonProc(loginNameButton.get());
    } else if (loginNameButton.state() != 0) {
      loginNameButton.setState(0);
      loginNameButtonProc(loginNameButton.get());
    }
  }

  // Password, user number, account number: fixed-key hex.
  readFixedKeyField(passwordEditText, passwordButton, kHoldPassword, prefPasswordStringRef,
                    keys::kPassword2, Form::Password, &KorvelPrintPdeVx418JC::passwordButtonProc);
  readFixedKeyField(userNumberEditText, userNumberButton, kHoldUserNumber, prefUserNumberStringRef,
                    keys::kUserNumber2, Form::Number, &KorvelPrintPdeVx418JC::userNumberButtonProc);
  readFixedKeyField(accountNumberEditText, accountNumberButton, kHoldAccountNumber,
                    prefAccountNumberStringRef, keys::kAccountNumber2, Form::Code,
                    &KorvelPrintPdeVx418JC::accountNumberButtonProc);

  authenticationMatrixProc(authenticationMatrix.get());

  // User name and job name: hex text, with the platform's defaults.
  auto readName = [&](ControlRef field, ControlRef box, std::uint32_t bit,
                      const std::optional<std::u16string>& pref, std::string_view key,
                      const std::optional<std::u16string>& fallback,
                      void (KorvelPrintPdeVx418JC::*proc)(Control*)) {
    if (!field) return;
    bool hold = false;
    bool done = false;
    if (takePrefBit(bit)) {
      hold = true;
      if (pref) {
        field.setStringValue(*pref);
        done = true;
      }
    }
    if (!done) {
      if (auto hex = readAscii(settings, key)) {
        std::array<unsigned char, 256> bytes{};
        myatoi(hex->c_str(), bytes.data(), std::min<std::size_t>(hex->size(), 255));
        const std::size_t size = strnlen(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (size > 0)
          field.setStringValue(
              decodeBytesNS(std::string_view(reinterpret_cast<const char*>(bytes.data()), size),
                            systemEncoding)
                  .value_or(u""));
        if (presetHoldButtonFlag & bit) hold = true;
      } else if (fallback) {
        field.setStringValue(*fallback);
      } else {
        field.setStringValue(u"");
      }
    }
    setHold(box, hold, proc);
  };
  readName(userNameEditText, userNameButton, kHoldUserName, prefUserNameStringRef, keys::kUserName,
           env_.fullUserName, &KorvelPrintPdeVx418JC::userNameButtonProc);
  std::optional<std::u16string> jobTitle;
  if (auto name = settings.jobName()) jobTitle = fromUtf8(*name);
  readName(jobNameEditText, jobNameButton, kHoldJobName, prefJobNameStringRef, keys::kJobName,
           jobTitle ? jobTitle : std::optional<std::u16string>(u""),
           &KorvelPrintPdeVx418JC::jobNameButtonProc);

  // Folder pass code.
  readFixedKeyField(folderPasswordEditText, folderPasswordButton, kHoldFolderPassCode,
                    prefFolderPassStringRef, keys::kFolderPassword2, Form::Code,
                    &KorvelPrintPdeVx418JC::folderPasswordButtonProc);

  retentionCBoxProc(retentionCheckBox.get());
  folderSelectionPopUpButtonProc(folderSelectionPopup.get());
  _PDEEpilog(this, "--getNonPPDSettingsFromPrintSettings:");
}

}  // namespace jc
