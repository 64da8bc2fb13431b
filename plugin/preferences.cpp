// The panel's per-printer preferences: the held values and the folder list
// come back in the next dialog for the same printer.
#include <array>
#include <cstring>

#include "crypto/aes.h"
#include "crypto/base64.h"
#include "platform/text.h"
#include "plugin/panel.h"
#include "prefs/plist_values.h"
#include "prefs/preference_snapshot.h"
#include "settings/held_fields.h"
#include "settings/hex_text.h"

namespace jc {
namespace {

constexpr const char* kJobControl = "Job Control";
constexpr const char* kReleaseNumber = "2.00";
constexpr const char* kHoldButton = "hold button";

// The "Job Control" dictionary of a domain, made when missing.
plist_t jobControlDict(plist_t domain) {
  if (plist_t d = plist::dict(domain, kJobControl)) return d;
  plist_dict_set_item(domain, kJobControl, plist_new_dict());
  return plist_dict_get_item(domain, kJobControl);
}

// Fixed-key hex of exactly `n` bytes: the cipher, then zero bytes.
std::string encryptedHex(const std::u16string& text, std::size_t n, CFStringEncoding encoding) {
  std::array<unsigned char, 256> plain{};
  std::array<unsigned char, 512> cipher{};
  const std::string bytes = convertLossless(text, encoding, n, n);
  if (bytes.empty()) return {};
  std::memcpy(plain.data(), bytes.data(), bytes.size());
  my_aes_encrypt(reinterpret_cast<const char*>(plain.data()), cipher.data(), 511);
  std::string hex(2 * n + 1, '\0');
  myitoa(cipher.data(), hex.data(), n);
  hex.resize(2 * n);
  return hex;
}

std::string encryptedBase64(const std::u16string& text, CFStringEncoding encoding) {
  std::array<unsigned char, 256> plain{};
  std::array<unsigned char, 512> cipher{};
  std::array<char, 512> out{};
  const std::string bytes = convertLossless(text, encoding, 255, 255);
  const std::size_t length = strnlen(bytes.c_str(), bytes.size());
  if (length == 0) return {};
  std::memcpy(plain.data(), bytes.data(), length);
  my_aes_encrypt(reinterpret_cast<const char*>(plain.data()), cipher.data(), 511);
  Base64encode(out.data(), cipher.data(), static_cast<int>((length + 15) / 16 * 16));
  return std::string(out.data());
}

std::string encryptedFolderPassCode(const std::u16string& text) {
  std::array<unsigned char, 256> plain{};
  std::array<unsigned char, 512> cipher{};
  const auto ascii = convertCString(text, kCFStringEncodingASCII, 256);
  if (!ascii || ascii->empty()) return {};
  std::memcpy(plain.data(), ascii->data(), ascii->size());
  my_aes_encrypt(reinterpret_cast<const char*>(plain.data()), cipher.data(), 511);
  std::string hex(33, '\0');
  myitoa(cipher.data(), hex.data(), 16);
  hex.resize(32);
  return hex;
}

// The preference text of one held field: a secret is kept (enciphered) only
// while its hold box is on: an unlocked value is never read back, so keeping it
// would only leave a credential on disk under the shared key. The login name
// is the one its box masks, kept aside from the field; none: nothing is stored.
std::optional<std::string> storedSecret(const KorvelPrintPdeVx418JC& p, const HeldField& f,
                                        bool held) {
  const std::u16string typed = p.outlet(f.editField)->stringValue();
  const CFStringEncoding enc = p.environment().systemEncoding;
  switch (f.storage) {
    case HeldStorage::FixedKeyHex:
      return held ? encryptedHex(typed, f.storedBytes, enc) : "";
    case HeldStorage::FixedKeyBase64:
      if (!held || p.outlet(f.lockBox)->state() != 1) return "";
      if (!p.loginNameStringRef) return std::nullopt;
      return encryptedBase64(*p.loginNameStringRef, enc);
    case HeldStorage::FolderPassCode:
      return held ? encryptedFolderPassCode(typed) : "";
    case HeldStorage::PlainText:
      break;
  }
  return std::nullopt;
}

// The values SaveUserPreference stores, with the hold mask.
void putUserValues(KorvelPrintPdeVx418JC& p, plist_t d) {
  std::uint32_t mask = 0;
  plist::setBoolean(d, "authentication", p.authenticationRadioButton->state() != 0);
  for (const HeldField& f : kHeldFields) {
    const bool held = p.outlet(f.lockBox)->state() != 0;
    if (held) mask |= f.bit;
    if (!p.outlet(f.editField)) continue;
    const std::string key(f.preferenceKey);
    if (f.storage == HeldStorage::PlainText)
      plist::setString(d, key.c_str(), p.outlet(f.editField)->stringValue());
    else if (auto secret = storedSecret(p, f, held))
      plist::setAsciiString(d, key.c_str(), *secret);
  }
  plist::setInt32(d, kHoldButton, static_cast<std::int32_t>(mask));
}

// The values SaveFolderPreference stores: the address, and the list when the
// panel has one.
void putFolderValues(KorvelPrintPdeVx418JC& p, PreferenceValues& values) {
  if (p.printersAddressEditText)
    plist::setString(values.nodes.get(), "address", p.printersAddressEditText->stringValue());
  if (p.folderList) values.streamed.emplace_back("files", folderListValue(*p.folderList));
}

void putUserValues(KorvelPrintPdeVx418JC& p, PreferenceValues& values) {
  putUserValues(p, values.nodes.get());
}

// Merges what `put` gives into the stored "Job Control" dictionary; writes
// nothing when no stored value changes.
DomainUpdate saveChanges(KorvelPrintPdeVx418JC& p, DomainStore& store, const std::string& name,
                         const PreferenceSnapshot& read,
                         void (*put)(KorvelPrintPdeVx418JC&, PreferenceValues&),
                         StoredFolders folders) {
  return store.update(
      name,
      [&](plist_t domain, StreamedValues& streamed) {
        PreferenceValues mine;
        put(p, mine);
        return read.mergeChanges(mine, jobControlDict(domain), kHoldButton, streamed);
      },
      folders);
}

// Whether the stored dictionary belongs to this printer model and layout.
// A printer description without a model name matches a dictionary stored
// without one, so that such a printer keeps its held values too.
bool isCurrent(plist_t jobControl, const std::optional<std::u16string>& model) {
  return plist::string(jobControl, "Model Name") == model &&
         plist::string(jobControl, "Release Number") == u"2.00";
}

// Keeps why a save failed, and forgets it once one succeeds; answers whether
// the domain holds what was saved (written now, or stored so already).
bool keepOutcome(std::optional<Message>& error, const DomainUpdate& outcome) {
  if (!outcome.failure.pattern.empty()) {
    error = outcome.failure;
    return false;
  }
  error.reset();
  return true;
}

}  // namespace

void KorvelPrintPdeVx418JC::CheckPreference() {
  if (!env_.preferences || !preferenceName) return;
  // Read here only when the dialog's opening has not read the domain.
  const StoredDomain fresh =
      openingDomain_ ? StoredDomain()
                     : env_.preferences->readStored(*preferenceName, StoredFolders::Skip);
  const StoredDomain& read = openingDomain_ ? *openingDomain_ : fresh;
  if (isCurrent(plist::dict(read.dictionary(), kJobControl), modelStringRef)) return;
  const DomainUpdate outcome = env_.preferences->update(
      *preferenceName,
      [this](plist_t domain, StreamedValues&) {
        if (isCurrent(plist::dict(domain, kJobControl), modelStringRef)) return false;
        plist_t renewed = plist_new_dict();
        if (modelStringRef) plist::setString(renewed, "Model Name", *modelStringRef);
        plist::setAsciiString(renewed, "Release Number", kReleaseNumber);
        plist_dict_set_item(domain, kJobControl, renewed);
        return true;
      },
      StoredFolders::Skip);
  keepOutcome(preferencesError_, outcome);
  if (outcome.written && openingDomain_)
    openingDomain_ = env_.preferences->readStored(*preferenceName, StoredFolders::Read);
}

void KorvelPrintPdeVx418JC::GetUserPreference() {
  prefHoldButtonFlag = 0;
  for (const HeldField& f : kHeldFields) heldPreference(f.bit).reset();
  prefAuthenticationBooleanRef.reset();
  if (!env_.preferences || !preferenceName) return;
  const StoredDomain fresh =
      openingDomain_ ? StoredDomain()
                     : env_.preferences->readStored(*preferenceName, StoredFolders::Skip);
  const StoredDomain& read = openingDomain_ ? *openingDomain_ : fresh;
  plist_t d = plist::dict(read.dictionary(), kJobControl);
  const auto mask = plist::int32(d, kHoldButton);
  if (!mask) return;
  const auto bits = static_cast<std::uint32_t>(*mask);
  prefAuthenticationBooleanRef = plist::boolean(d, "authentication");
  for (const HeldField& f : kHeldFields)
    if (bits & f.bit)
      heldPreference(f.bit) = plist::string(d, std::string(f.preferenceKey).c_str());
  prefHoldButtonFlag = bits;
}

// Only the values this panel changed since its dialog opened replace the stored
// ones, so that what another dialog saved meanwhile stays.
bool KorvelPrintPdeVx418JC::SaveUserPreference() {
  if (!env_.preferences || !preferenceName) return false;
  const DomainUpdate outcome = saveChanges(*this, *env_.preferences, *preferenceName,
                                           preferencesRead_, putUserValues, StoredFolders::Read);
  return keepOutcome(preferencesError_, outcome);
}

void KorvelPrintPdeVx418JC::GetFolderPreference() {
  if (!env_.preferences || !preferenceName) return;
  StoredDomain fresh = openingDomain_
                           ? StoredDomain()
                           : env_.preferences->readStored(*preferenceName, StoredFolders::Read);
  // The opening's own reading gives its list up: nothing reads it after.
  StoredDomain& read = openingDomain_ ? *openingDomain_ : fresh;
  plist_t d = plist::dict(read.dictionary(), kJobControl);
  if (!d) return;
  addressStringRef = plist::string(d, "address");
  folderList = read.takeFolders().value_or(FolderList{});
}

// A list this dialog changed replaces the stored one, which is then skipped,
// not read.
bool KorvelPrintPdeVx418JC::SaveFolderPreference() {
  if (!env_.preferences || !preferenceName) return false;
  const bool replacing =
      folderList && preferencesRead_.changedSinceRead("files", folderListValue(*folderList));
  const DomainUpdate outcome =
      saveChanges(*this, *env_.preferences, *preferenceName, preferencesRead_, putFolderValues,
                  replacing ? StoredFolders::Skip : StoredFolders::Read);
  return keepOutcome(preferencesError_, outcome);
}

void KorvelPrintPdeVx418JC::RememberPreferenceBaseline() {
  PreferenceValues shown;
  putUserValues(*this, shown);
  putFolderValues(*this, shown);
  preferencesRead_.remember(shown);
}

}  // namespace jc
