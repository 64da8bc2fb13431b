// The print-settings reader: the entries that can be inverted, or the values
// held in the preferences, become the panel's settings; the panel then sets its
// controls from them and runs the actions, so that enable states and masking
// follow.
#include "settings/reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "crypto/aes.h"
#include "crypto/base64.h"
#include "platform/diagnostic_log.h"
#include "settings/folder_name_search.h"
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

// Bytes up to the first zero byte as text in `encoding`; empty when the
// bytes are not text in it.
std::u16string textOf(const unsigned char* bytes, std::size_t capacity, NSStringEncoding encoding) {
  const std::size_t size = strnlen(reinterpret_cast<const char*>(bytes), capacity);
  return decodeBytesNS(std::string_view(reinterpret_cast<const char*>(bytes), size), encoding)
      .value_or(u"");
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
  return {textOf(plain.data(), plain.size(), encoding), size};
}

// Base64 of a fixed-key cipher, deciphered into text.
std::u16string decodeFixedKeyBase64(const std::string& base64, NSStringEncoding encoding) {
  std::array<char, 512> a{};
  std::array<unsigned char, 512> b{};
  std::memcpy(a.data(), base64.data(), std::min<std::size_t>(base64.size(), 510));
  const int decoded = Base64decode(b.data(), a.data());
  a.fill(0);
  my_aes_decrypt(b.data(), static_cast<std::size_t>(std::max(decoded, 0)),
                 reinterpret_cast<unsigned char*>(a.data()));
  return textOf(reinterpret_cast<const unsigned char*>(a.data()), a.size(), encoding);
}

// The leading decimal integer, as the platform reads it; a number out of
// range gives the nearest 32-bit integer.
std::uint32_t leadingInteger(const std::string& text) {
  long long v = 0;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  constexpr long long kLimit = static_cast<long long>(INT32_MAX) + 1;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9')
    v = std::min(v * 10 + (text[i++] - '0'), kLimit);
  const long long value = negative ? -v : std::min(v, kLimit - 1);
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}

// The suspend entry's first digit: "2" hold only (1), "1" hold after (2),
// "3" sample print (3); anything else keeps nothing (0).
int suspendMode(const std::optional<std::string>& suspend) {
  if (!suspend || suspend->empty()) return 0;
  switch ((*suspend)[0]) {
    case '1':
      return 2;
    case '2':
      return 1;
    case '3':
      return 3;
    default:
      return 0;
  }
}

// How a fixed-key field is shown: a pass code only up to the digit limit.
enum class Form { Code, Number, Password };

// One read, step by step, in the order the panel applies the result.
class Reader {
 public:
  Reader(const PrintSettings& entries, const ReaderContext& context)
      : entries_(entries), c_(context), layout_(context.layout), held_(context.held) {
    r_.prefHoldMask = held_.mask;
  }

  JobControlReading run() {
    readHoldMask();
    readRetention();
    s_.suspendKey = fixedKeyField(layout_.suspendKeyEditText, kHoldPassCode,
                                  held_.of(kHoldPassCode), keys::kJobSuspend2Key, Form::Code);
    readFolder();
    readAuthentication();
    readLoginName();
    s_.password = fixedKeyField(layout_.passwordEditText, kHoldPassword, held_.of(kHoldPassword),
                                keys::kPassword2, Form::Password);
    s_.userNumber = fixedKeyField(layout_.userNumberEditText, kHoldUserNumber,
                                  held_.of(kHoldUserNumber), keys::kUserNumber2, Form::Number);
    s_.accountNumber =
        fixedKeyField(layout_.accountNumberEditText, kHoldAccountNumber,
                      held_.of(kHoldAccountNumber), keys::kAccountNumber2, Form::Code);
    readName(layout_.userNameEditText, kHoldUserName, held_.of(kHoldUserName), keys::kUserName,
             c_.fullUserName, s_.userName);
    std::optional<std::u16string> jobTitle;
    if (auto name = entries_.jobName()) jobTitle = fromUtf8(*name);
    readName(layout_.jobNameEditText, kHoldJobName, held_.of(kHoldJobName), keys::kJobName,
             jobTitle.value_or(u""), s_.jobName);
    s_.folderPassword =
        fixedKeyField(layout_.folderPasswordEditText, kHoldFolderPassCode,
                      held_.of(kHoldFolderPassCode), keys::kFolderPassword2, Form::Code);
    r_.settings = std::move(s_);
    return std::move(r_);
  }

 private:
  // A held bit is taken once: true when it was set.
  bool takeHeld(std::uint32_t bit) {
    const bool set = (r_.prefHoldMask & bit) != 0;
    r_.prefHoldMask &= ~bit;
    return set;
  }
  bool presetHolds(std::uint32_t bit) const { return (r_.presetHoldMask & bit) != 0; }
  void setHold(std::uint32_t bit, bool on) {
    if (on)
      s_.holdMask |= bit;
    else
      s_.holdMask &= ~bit;
  }

  void readHoldMask() {
    auto hold = entries_.value(keys::kHoldButton);
    r_.presetHoldMask = hold ? leadingInteger(*hold) : c_.presetHoldMask;
  }

  void readRetention() {
    int mode = 0;
    if (layout_.retentionCheckBox) {
      mode = suspendMode(readAscii(entries_, keys::kJobSuspend));
      s_.retention = mode != 0;
    }
    if (layout_.suspendMatrix) s_.suspendRow = mode != 0 ? mode - 1 : 0;
  }

  // A field enciphered under the fixed key: the held value or the entry.
  Present<std::u16string> fixedKeyField(bool present, std::uint32_t bit,
                                        const std::optional<std::u16string>& heldValue,
                                        std::string_view key, Form form) {
    if (!present) return std::nullopt;
    bool hold = false;
    std::optional<std::string> value;
    if (takeHeld(bit)) {
      hold = true;
      if (heldValue) value = asciiOf(*heldValue);
    }
    if (!value) {
      value = readAscii(entries_, key);
      if (value && presetHolds(bit)) hold = true;
    }
    setHold(bit, hold);
    if (!value || value->empty()) return u"";
    if (form == Form::Password) return decodeFixedKeyHex(*value, 32, c_.textEncoding, true).text;
    const Decoded code = decodeFixedKeyHex(*value, 16, c_.textEncoding);
    if (form == Form::Number || c_.passwordMax == 8 || code.bytes <= 5) return code.text;
    return u"";
  }

  void readFolder() {
    if (!layout_.folderSelectionPopup && !layout_.folderSelectionMatrix) return;
    bool hold = presetHolds(kHoldFolderName);
    std::optional<int> popUpIndex, row;
    std::optional<std::u16string> name;
    if (auto filing = entries_.value(keys::kFiling); filing && !filing->empty()) {
      if ((*filing)[0] == '1') {
        popUpIndex = 0;
        row = 0;
      } else if ((*filing)[0] == '3') {
        if (auto path = readAscii(entries_, keys::kFolderPath, 511)) {
          r_.folderNameRead = true;
          r_.folderName = folderPathName(*path);
          popUpIndex = searchSameFolderName(c_.folderList, r_.folderName);
          row = 2;
          name = r_.folderName.value_or(u"");
        }
      }
    }
    bool set = popUpIndex.has_value();
    if (layout_.folderSelectionMatrix && takeHeld(kHoldFolderName) && held_.of(kHoldFolderName)) {
      name = held_.of(kHoldFolderName);
      hold = true;
      set = true;
    }
    if (!set) {
      popUpIndex = 1;
      row = 1;
    }
    if (layout_.folderSelectionPopup) s_.folderPopupIndex = popUpIndex;
    if (layout_.folderSelectionMatrix) s_.folderRow = row;
    if (layout_.folderNameEditText) s_.folderName = name;
    setHold(kHoldFolderName, hold);
  }

  // The hex text of a name of up to 255 bytes in the system encoding.
  std::optional<std::u16string> folderPathName(const std::string& path) const {
    std::array<unsigned char, 256> bytes{};
    myatoi(path.c_str(), bytes.data(), path.size());
    const std::size_t size = strnlen(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return decodeBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), size),
                       c_.systemEncoding);
  }

  // The held choice when a sign-in value is held, else the job's entry.
  void readAuthentication() {
    if (!layout_.authenticationMatrix) return;
    std::string choice = "1";
    if ((held_.mask & (kHoldLoginName | kHoldPassword | kHoldUserNumber)) &&
        held_.loginAuthentication) {
      choice = *held_.loginAuthentication ? "1" : "0";
    } else if (auto auth = entries_.value(keys::kAuthentication)) {
      choice = auth->substr(0, 1);
    }
    s_.loginAuthentication = choice == "1";
  }

  // Base64 of the fixed-key cipher, over two chunks.
  void readLoginName() {
    if (!layout_.loginNameEditText) return;
    s_.loginNameField = true;
    bool hold = false;
    std::optional<std::string> base64;
    if (takeHeld(kHoldLoginName)) {
      hold = true;
      if (held_.of(kHoldLoginName)) base64 = asciiOf(*held_.of(kHoldLoginName)).substr(0, 510);
    }
    if (!base64) {
      const auto chunk1 = readAscii(entries_, keys::kLoginName11, 511).value_or("");
      const auto chunk2 = readAscii(entries_, keys::kLoginName12, 511).value_or("");
      base64 = chunk1;
      if (!chunk1.empty() && !chunk2.empty()) *base64 += chunk2;
      if (presetHolds(kHoldLoginName)) hold = true;
    }
    s_.loginName = base64->empty() ? u"" : decodeFixedKeyBase64(*base64, c_.textEncoding);
    setHold(kHoldLoginName, hold);
  }

  // Hex text in the panel's encoding; without an entry, the fallback. Hex of
  // no bytes leaves the field as it is.
  void readName(bool present, std::uint32_t bit, const std::optional<std::u16string>& heldValue,
                std::string_view key, const std::optional<std::u16string>& fallback,
                Present<std::u16string>& field) {
    if (!present) return;
    bool hold = false;
    if (takeHeld(bit)) {
      hold = true;
      if (heldValue) {
        field = heldValue;
        setHold(bit, hold);
        return;
      }
    }
    if (auto hex = readAscii(entries_, key)) {
      std::array<unsigned char, 256> bytes{};
      myatoi(hex->c_str(), bytes.data(), std::min<std::size_t>(hex->size(), 255));
      if (bytes[0] != 0) field = textOf(bytes.data(), bytes.size(), c_.textEncoding);
      if (presetHolds(bit)) hold = true;
    } else {
      field = fallback.value_or(u"");
    }
    setHold(bit, hold);
  }

  const PrintSettings& entries_;
  const ReaderContext& c_;
  const ReaderLayout& layout_;
  const HeldValues& held_;
  JobControlSettings s_;
  JobControlReading r_;
};

}  // namespace

JobControlReading readJobControlEntries(const PrintSettings& entries,
                                        const ReaderContext& context) {
  return Reader(entries, context).run();
}

}  // namespace jc
