// The print-settings writer: the contract with the printer's filter. Every
// value is exactly the bytes the filter expects: hex text, padded digits,
// fixed-key or spool-key ciphers in hex or Base64, and MD5 digests.
#include "settings/writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "crypto/aes.h"
#include "crypto/base64.h"
#include "crypto/md5.h"
#include "platform/diagnostic_log.h"
#include "settings/folder_selection.h"
#include "settings/hex_text.h"
#include "settings/hold_modes.h"
#include "settings/print_settings_keys.h"
#include "settings/spool_time.h"

namespace jc {
namespace {

constexpr const char* kStandardFolder = "*standard";

// Zero-filled working buffers of one save.
struct Buffers {
  std::array<unsigned char, 256> plain{};
  std::array<unsigned char, 512> cipher{};
  std::array<char, 512> text{};
};

void setAscii(PrintSettings& out, std::string_view k, const std::string& value) {
  MyPMPrintSetAsciiCStrValue(&out, k, value.c_str());
}
void removeKey(PrintSettings& out, std::string_view k) {
  MyPMPrintSetAsciiCStrValue(&out, k, nullptr);
}

std::string hexText(const unsigned char* bytes, std::size_t n) {
  std::string text(2 * n + 1, '\0');
  myitoa(bytes, text.data(), n);
  text.resize(2 * n);
  return text;
}
std::string hexText(std::string_view bytes) {
  return hexText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// A pass code of 1 to 4 characters gets leading zeros up to five.
std::string padded(const std::string& code) {
  if (code.empty() || code.size() >= 5) return code;
  return std::string(5 - code.size(), '0') + code;
}

std::string digest(const std::string& text) {
  std::array<char, 33> out{};
  calcMD5(out.data(), text.c_str());
  return std::string(out.data(), 32);
}

std::size_t roundUp16(std::size_t n) { return (n + 15) / 16 * 16; }

// Loads bytes into the zero-filled plain buffer as a C string.
void loadPlain(Buffers& b, const std::string& bytes) {
  b.plain.fill(0);
  std::memcpy(b.plain.data(), bytes.data(), std::min(bytes.size(), b.plain.size() - 1));
}

// Hex text of the first `n` bytes of the fixed-key cipher of `bytes`.
std::string fixedKeyHex(Buffers& b, const std::string& bytes, std::size_t n) {
  loadPlain(b, bytes);
  my_aes_encrypt(reinterpret_cast<const char*>(b.plain.data()), b.cipher.data(), 511);
  return hexText(b.cipher.data(), n);
}

std::string base64Of(Buffers& b, std::size_t length) {
  b.text.fill(0);
  Base64encode(b.text.data(), b.cipher.data(), static_cast<int>(length));
  return std::string(b.text.data());
}

std::string fixedKeyBase64(Buffers& b, const std::string& bytes) {
  loadPlain(b, bytes);
  my_aes_encrypt(reinterpret_cast<const char*>(b.plain.data()), b.cipher.data(), 511);
  return base64Of(b, roundUp16(bytes.size()));
}

std::string spoolKeyBase64(Buffers& b, const std::string& bytes, const char* spoolTime) {
  loadPlain(b, bytes);
  my_aes_encrypt2(reinterpret_cast<const char*>(b.plain.data()), spoolTime, b.cipher.data(), 511);
  return base64Of(b, roundUp16(bytes.size()));
}

// The filing entries; what the job files as: 0 nothing, 1 quick file, 2 the
// main folder, 3 a named folder.
int writeFolder(const JobControlSettings& s, PrintSettings& out, const WriterContext& c) {
  int F = 0;
  const bool retention = s.retention.value_or(false);
  const bool anyFolderControl = s.folderPopupIndex || s.folderRow;
  const std::string standard = hexText(kStandardFolder);
  if (anyFolderControl) {
    const FolderSelection chosen = FolderSelection::ofPopUpItem(s.folderPopupIndex.value_or(0));
    if (c.checkHardDisk && retention) {
      F = chosen.kind == FolderKind::QuickFile ? 1 : chosen.kind == FolderKind::MainFolder ? 2 : 3;
      if (s.folderRow) F = *s.folderRow + 1;
    }
    setAscii(out, keys::kFiling, std::string(1, char('0' + std::clamp(F, 0, 9))));
    if (F == 3) {
      std::optional<std::u16string> name;
      bool haveSource = true;
      if (chosen.kind == FolderKind::PrinterFolder && c.folderList) {
        if (const FolderEntry* entry = chosen.entryIn(c.folderList)) name = entry->name;
      } else if (s.folderRow) {
        name = s.folderName.value_or(u"");
      } else {
        haveSource = false;
        F = 2;
      }
      if (haveSource) {
        if (!name) return F;
        std::optional<std::string> bytes = convertCString(*name, c.systemEncoding);
        if (!bytes) bytes = convertCString(*name, kCFStringEncodingMacJapanese);
        if (bytes) setAscii(out, keys::kFolderPath, hexText(*bytes));
        if (encodingWindowsLatin1(c.systemEncoding)) {
          bytes = convertCString(*name, kCFStringEncodingWindowsLatin1);
          if (!bytes) bytes = convertCString(*name, kCFStringEncodingMacJapanese);
        }
        if (bytes) setAscii(out, keys::kFolderPath2, hexText(*bytes));
        return F;
      }
    }
    if (F == 2) {
      setAscii(out, keys::kFolderPath, standard);
      setAscii(out, keys::kFolderPath2, standard);
      return F;
    }
    if (F == 1) return F;
  }
  if (retention) {
    setAscii(out, keys::kFolderPath, standard);
    setAscii(out, keys::kFolderPath2, standard);
  }
  return F;
}

// A name in the system encoding (Mac Japanese when nothing converts) and its
// second copy in Windows Latin-1 with control characters and quotes blanked.
void writeNamePair(const Present<std::u16string>& text, PrintSettings& out, std::string_view k1,
                   std::string_view k2, const WriterContext& c) {
  if (!text) {
    removeKey(out, k1);
    removeKey(out, k2);
    return;
  }
  std::string bytes = convertLossless(*text, c.systemEncoding, 32, 32);
  if (bytes.empty()) bytes = convertLossy(*text, kCFStringEncodingMacJapanese, 32, 32);
  if (bytes.empty())
    removeKey(out, k1);
  else
    setAscii(out, k1, hexText(bytes));
  if (encodingWindowsLatin1(c.systemEncoding))
    bytes = convertLossy(*text, kCFStringEncodingWindowsLatin1, 32, 32);
  if (bytes.empty()) {
    removeKey(out, k2);
    return;
  }
  ReplaceSpaceCode(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  setAscii(out, k2, hexText(bytes));
}

// A numeric code as padded digits and as fixed-key hex of 16 cipher bytes.
void writeNumberPair(const Present<std::u16string>& text, CodeLimit limit, PrintSettings& out,
                     std::string_view k1, std::string_view k2, Buffers& b, const WriterContext& c) {
  const std::string code =
      text ? convertLossless(*text, c.systemEncoding, limit.chars, limit.bytes) : "";
  if (code.empty()) {
    removeKey(out, k1);
    removeKey(out, k2);
    return;
  }
  setAscii(out, k1, padded(code));
  setAscii(out, k2, fixedKeyHex(b, code, 16));
}

}  // namespace

bool encodingWindowsLatin1(CFStringEncoding systemEncoding) {
  return !(systemEncoding == kCFStringEncodingMacJapanese ||
           systemEncoding == kCFStringEncodingMacChineseTrad ||
           systemEncoding == kCFStringEncodingMacKorean ||
           systemEncoding == kCFStringEncodingMacChineseSimp);
}

void ReplaceSpaceCode(unsigned char* bytes, int count) {
  if (!bytes || count < 1) return;
  for (int i = 0; i < count; ++i) {
    const unsigned char c = bytes[i];
    if ((c >= 0x01 && c <= 0x08) || (c >= 0x0A && c <= 0x1F) || c == 0x22) bytes[i] = 0x20;
  }
}

void MyPMPrintSetAsciiCStrValue(PrintSettings* settings, std::string_view k, const char* value) {
  if (!settings || k.empty()) return;
  if (!value || !*value) {
    settings->setValue(k, std::nullopt);
    return;
  }
  for (const char* p = value; *p; ++p)
    if (static_cast<unsigned char>(*p) > 0x7F) {
      settings->setValue(k, std::nullopt);
      return;
    }
  settings->setValue(k, std::string_view(value));
}

void MyMultiPMPrintSetAsciiCStrValue(PrintSettings* settings, const char* prefix,
                                     const char* value) {
  if (!settings || !prefix) return;
  const std::size_t prefixLength = std::strlen(prefix);
  if (prefixLength == 0 || prefixLength > 98) return;
  auto chunkKey = [prefix](std::size_t i) { return std::string(prefix) + std::to_string(i); };
  settings->setValue(chunkKey(1), std::nullopt);
  if (!value || !*value) {
    // Without this, a second chunk of an earlier, longer value would stay in
    // every later job.
    settings->setValue(chunkKey(2), std::nullopt);
    return;
  }
  const std::size_t length = std::strlen(value);
  const std::size_t n = (length + 253) / 254;
  for (std::size_t i = 2; i <= n + 1; ++i) settings->setValue(chunkKey(i), std::nullopt);
  for (std::size_t i = 1; i <= n; ++i) {
    const std::size_t from = (i - 1) * 254;
    const std::string chunk(value + from, std::min<std::size_t>(254, length - from));
    MyPMPrintSetAsciiCStrValue(settings, chunkKey(i), chunk.c_str());
  }
}

namespace {

// The hold mode and the job pass code, whose digest puts the spool time last.
void writeSuspend(const JobControlSettings& s, PrintSettings& out, const WriterContext& c,
                  Buffers& b, const std::string& spoolTime, int filing) {
  if (!s.retention || !s.suspendRow) {
    removeKey(out, keys::kJobSuspend);
    removeKey(out, keys::kJobSuspendKey);
    removeKey(out, keys::kJobSuspend2Key);
    return;
  }
  const HoldMode* mode = nullptr;
  if (!(c.varnokSelvo && filing == 1) && *s.retention) mode = holdModeOfRow(*s.suspendRow);
  setAscii(out, keys::kJobSuspend, std::string(1, mode ? mode->suspendDigit : '0'));
  const std::string passCode = (s.suspendKey && mode)
                                   ? convertLossless(*s.suspendKey, c.systemEncoding,
                                                     kPassCodeLimit.chars, kPassCodeLimit.bytes)
                                   : "";
  if (passCode.empty()) {
    removeKey(out, keys::kJobSuspendKey);
    removeKey(out, keys::kJobSuspend2Key);
  } else {
    setAscii(out, keys::kJobSuspendKey, digest(padded(passCode) + spoolTime));
    setAscii(out, keys::kJobSuspend2Key, fixedKeyHex(b, passCode, 16));
  }
}

// The login name, in two chunked families: fixed key, and spool key in
// Windows Latin-1 where the system encoding is not a CJK one.
void writeLoginName(const JobControlSettings& s, PrintSettings& out, const WriterContext& c,
                    Buffers& b, const std::string& spoolTime) {
  const std::string prefix1(keys::kLoginName1Prefix), prefix0(keys::kLoginName0Prefix);
  if (!s.loginNameField) {
    MyMultiPMPrintSetAsciiCStrValue(&out, prefix1.c_str(), nullptr);
    MyMultiPMPrintSetAsciiCStrValue(&out, prefix0.c_str(), nullptr);
    return;
  }
  std::string name;
  if (s.loginName) {
    name = convertLossless(*s.loginName, c.systemEncoding, 255, 255);
    if (name.empty()) name = convertLossy(*s.loginName, kCFStringEncodingMacJapanese, 255, 255);
  }
  const std::string fixedKey = name.empty() ? "" : fixedKeyBase64(b, name);
  MyMultiPMPrintSetAsciiCStrValue(&out, prefix1.c_str(), fixedKey.c_str());
  std::string latin = name;
  if (s.loginName && encodingWindowsLatin1(c.systemEncoding))
    latin = convertLossy(*s.loginName, kCFStringEncodingWindowsLatin1, 255, 255);
  const std::string spoolKey = latin.empty() ? "" : spoolKeyBase64(b, latin, spoolTime.c_str());
  MyMultiPMPrintSetAsciiCStrValue(&out, prefix0.c_str(), spoolKey.c_str());
}

// The password: spool-key Base64 and fixed-key hex of 32 cipher bytes.
void writePassword(const JobControlSettings& s, PrintSettings& out, const WriterContext& c,
                   Buffers& b, const std::string& spoolTime) {
  const std::string password =
      s.password ? convertLossy(*s.password, c.systemEncoding, 32, 32) : "";
  if (password.empty()) {
    removeKey(out, keys::kPassword);
    removeKey(out, keys::kPassword2);
    return;
  }
  setAscii(out, keys::kPassword, spoolKeyBase64(b, password, spoolTime.c_str()));
  setAscii(out, keys::kPassword2, fixedKeyHex(b, password, 32));
}

// The folder pass code; its digest puts the spool time first.
void writeFolderPassCode(const JobControlSettings& s, PrintSettings& out, const WriterContext& c,
                         Buffers& b, const std::string& spoolTime) {
  const std::string passCode =
      s.folderPassword ? convertLossless(*s.folderPassword, c.systemEncoding,
                                         kFolderPassCodeLimit.chars, kFolderPassCodeLimit.bytes)
                       : "";
  if (passCode.empty()) {
    removeKey(out, keys::kFolderPassword);
    removeKey(out, keys::kFolderPassword2);
    return;
  }
  setAscii(out, keys::kFolderPassword, digest(spoolTime + padded(passCode)));
  setAscii(out, keys::kFolderPassword2, fixedKeyHex(b, passCode, 16));
}

}  // namespace

void writeJobControlEntries(const JobControlSettings& s, PrintSettings& out,
                            const WriterContext& c) {
  Buffers b;
  const std::string spoolTime = c.spoolTime ? c.spoolTime : "";
  setAscii(out, keys::kSpoolTime, hexText(spoolTime));

  removeKey(out, keys::kFiling);
  removeKey(out, keys::kFolderPath);
  removeKey(out, keys::kFolderPath2);
  const int filing = writeFolder(s, out, c);
  writeSuspend(s, out, c, b, spoolTime, filing);

  if (s.loginAuthentication)
    setAscii(out, keys::kAuthentication, *s.loginAuthentication ? "1" : "0");
  else
    removeKey(out, keys::kAuthentication);
  writeLoginName(s, out, c, b, spoolTime);
  writePassword(s, out, c, b, spoolTime);
  writeNumberPair(s.userNumber, kUserNumberLimit, out, keys::kUserNumber, keys::kUserNumber2, b, c);
  writeNumberPair(s.accountNumber, kAccountNumberLimit, out, keys::kAccountNumber,
                  keys::kAccountNumber2, b, c);
  writeNamePair(s.userName, out, keys::kUserName, keys::kUserName2, c);
  writeNamePair(s.jobName, out, keys::kJobName, keys::kJobName2, c);
  writeFolderPassCode(s, out, c, b, spoolTime);

  out.setValue(keys::kHoldButton, std::to_string(static_cast<int>(s.holdMask)));
}

}  // namespace jc
