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
#include "settings/hex_text.h"
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

void writeFolder(const JobControlSettings& s, PrintSettings& out, const WriterContext& c, int& F) {
  const bool retention = s.retention.value_or(false);
  const bool anyFolderControl = s.folderPopupIndex || s.folderRow;
  const std::string standard = hexText(kStandardFolder);
  if (anyFolderControl) {
    F = 0;
    const int popupIndex = s.folderPopupIndex.value_or(0);
    if (c.checkHardDisk && retention) {
      F = popupIndex == 0 ? 1 : popupIndex == 1 ? 2 : 3;
      if (s.folderRow) F = *s.folderRow + 1;
    }
    setAscii(out, keys::kFiling, std::string(1, char('0' + std::clamp(F, 0, 9))));
    if (F == 3) {
      std::optional<std::u16string> name;
      bool haveSource = true;
      if (popupIndex >= 3 && c.folderList) {
        const std::size_t entry = std::size_t(popupIndex - 3);
        if (entry < c.folderList->size()) name = (*c.folderList)[entry].name;
      } else if (s.folderRow) {
        name = s.folderName.value_or(u"");
      } else {
        haveSource = false;
        F = 2;
      }
      if (haveSource) {
        if (!name) return;
        std::optional<std::string> bytes = convertCString(*name, c.systemEncoding);
        if (!bytes) bytes = convertCString(*name, kCFStringEncodingMacJapanese);
        if (bytes) setAscii(out, keys::kFolderPath, hexText(*bytes));
        if (encodingWindowsLatin1(c.systemEncoding)) {
          bytes = convertCString(*name, kCFStringEncodingWindowsLatin1);
          if (!bytes) bytes = convertCString(*name, kCFStringEncodingMacJapanese);
        }
        if (bytes) setAscii(out, keys::kFolderPath2, hexText(*bytes));
        return;
      }
    }
    if (F == 2) {
      setAscii(out, keys::kFolderPath, standard);
      setAscii(out, keys::kFolderPath2, standard);
      return;
    }
    if (F == 1) return;
  }
  if (retention) {
    setAscii(out, keys::kFolderPath, standard);
    setAscii(out, keys::kFolderPath2, standard);
  }
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

void writeJobControlEntries(const JobControlSettings& s, PrintSettings& out,
                            const WriterContext& c) {
  Buffers b;
  const std::string T = c.spoolTime ? c.spoolTime : "";
  setAscii(out, keys::kSpoolTime, hexText(T));

  removeKey(out, keys::kFiling);
  removeKey(out, keys::kFolderPath);
  removeKey(out, keys::kFolderPath2);
  int F = 0;
  writeFolder(s, out, c, F);

  // Suspend mode and the job pass code.
  int M = 0;
  if (!s.retention || !s.suspendRow) {
    removeKey(out, keys::kJobSuspend);
    removeKey(out, keys::kJobSuspendKey);
    removeKey(out, keys::kJobSuspend2Key);
  } else {
    char digit = '0';
    if (c.varnokSelvo && F == 1) {
      M = 0;
    } else if (*s.retention) {
      switch (*s.suspendRow) {
        case 0:
          M = 1, digit = '2';
          break;
        case 1:
          M = 2, digit = '1';
          break;
        case 2:
          M = 3, digit = '3';
          break;
        default:
          M = 0, digit = '0';
          break;
      }
    }
    setAscii(out, keys::kJobSuspend, std::string(1, digit));
    const std::string P = (s.suspendKey && M != 0)
                              ? convertLossless(*s.suspendKey, c.systemEncoding,
                                                kPassCodeLimit.chars, kPassCodeLimit.bytes)
                              : "";
    if (P.empty()) {
      removeKey(out, keys::kJobSuspendKey);
      removeKey(out, keys::kJobSuspend2Key);
    } else {
      setAscii(out, keys::kJobSuspendKey, digest(padded(P) + T));
      setAscii(out, keys::kJobSuspend2Key, fixedKeyHex(b, P, 16));
    }
  }

  if (s.loginAuthentication)
    setAscii(out, keys::kAuthentication, *s.loginAuthentication ? "1" : "0");
  else
    removeKey(out, keys::kAuthentication);

  // The login name, in two chunked families.
  const std::string prefix1(keys::kLoginName1Prefix), prefix0(keys::kLoginName0Prefix);
  if (!s.loginNameField) {
    MyMultiPMPrintSetAsciiCStrValue(&out, prefix1.c_str(), nullptr);
    MyMultiPMPrintSetAsciiCStrValue(&out, prefix0.c_str(), nullptr);
  } else {
    std::string B;
    if (s.loginName) {
      B = convertLossless(*s.loginName, c.systemEncoding, 255, 255);
      if (B.empty()) B = convertLossy(*s.loginName, kCFStringEncodingMacJapanese, 255, 255);
    }
    const std::string E = B.empty() ? "" : fixedKeyBase64(b, B);
    MyMultiPMPrintSetAsciiCStrValue(&out, prefix1.c_str(), E.c_str());
    std::string B2 = B;
    if (s.loginName && encodingWindowsLatin1(c.systemEncoding))
      B2 = convertLossy(*s.loginName, kCFStringEncodingWindowsLatin1, 255, 255);
    const std::string E2 = B2.empty() ? "" : spoolKeyBase64(b, B2, T.c_str());
    MyMultiPMPrintSetAsciiCStrValue(&out, prefix0.c_str(), E2.c_str());
  }

  // The password: spool-key Base64 and fixed-key hex of 32 cipher bytes.
  const std::string W = s.password ? convertLossy(*s.password, c.systemEncoding, 32, 32) : "";
  if (W.empty()) {
    removeKey(out, keys::kPassword);
    removeKey(out, keys::kPassword2);
  } else {
    setAscii(out, keys::kPassword, spoolKeyBase64(b, W, T.c_str()));
    setAscii(out, keys::kPassword2, fixedKeyHex(b, W, 32));
  }

  writeNumberPair(s.userNumber, kUserNumberLimit, out, keys::kUserNumber, keys::kUserNumber2, b, c);
  writeNumberPair(s.accountNumber, kAccountNumberLimit, out, keys::kAccountNumber,
                  keys::kAccountNumber2, b, c);
  writeNamePair(s.userName, out, keys::kUserName, keys::kUserName2, c);
  writeNamePair(s.jobName, out, keys::kJobName, keys::kJobName2, c);

  // The folder pass code; its digest puts the spool time first.
  const std::string Q =
      s.folderPassword ? convertLossless(*s.folderPassword, c.systemEncoding,
                                         kFolderPassCodeLimit.chars, kFolderPassCodeLimit.bytes)
                       : "";
  if (Q.empty()) {
    removeKey(out, keys::kFolderPassword);
    removeKey(out, keys::kFolderPassword2);
  } else {
    setAscii(out, keys::kFolderPassword, digest(T + padded(Q)));
    setAscii(out, keys::kFolderPassword2, fixedKeyHex(b, Q, 16));
  }

  out.setValue(keys::kHoldButton, std::to_string(static_cast<int>(s.holdMask)));
}

}  // namespace jc
