// Preference domains: one property-list dictionary per domain name.
#pragma once

#include <plist/plist.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/message.h"
#include "prefs/plist_ptr.h"
#include "prefs/plist_xml_writer.h"
#include "prefs/stored_domain.h"

namespace jc {

// What an update did.
struct DomainUpdate {
  bool written = false;
  // Why the domain could not be written, in plain words naming files but no
  // value, with the paths, sizes and the system's reason as its values; an
  // empty pattern when it was written or when the change asked for nothing.
  Message failure;

  static DomainUpdate failed(Message why) { return {false, std::move(why)}; }
  // Tested like the plain answer it replaces.
  operator bool() const { return written; }  // NOLINT(google-explicit-constructor)
};

class DomainStore {
 public:
  virtual ~DomainStore() = default;
  // A copy of the whole domain as a dictionary, or null when it does not exist.
  virtual PlistPtr read(const std::string& domain) = 0;
  // The domain read once, its folder list as `folders` says; an empty
  // domain when it does not exist.
  virtual StoredDomain readStored(const std::string& domain, StoredFolders folders) = 0;
  // Reads the domain (a new empty dictionary when it does not exist), lets
  // `change` edit it in place and replaces the domain with it, all under the
  // domain's lock, so that writers in other processes never lose each other's
  // changes. When `change` answers false nothing is written. Answers whether
  // the domain was written, and why not when it failed.
  DomainUpdate update(const std::string& domain, const std::function<bool(plist_t domain)>& change);
  // The same, where `change` may also put placeholder nodes into the domain
  // and list them in `streamed`, with the value written in place of each: a
  // large value goes to the file from the caller's own data, never held as
  // libplist nodes.
  // With StoredFolders::Read or Skip the domain's folder list is read by the
  // streaming reader and stands in the dictionary as a placeholder, which
  // the change replaces or leaves; left, the list is written back as read.
  // A change that leaves the placeholder of a skipped list has it read and
  // runs again.
  using StreamedChange = std::function<bool(plist_t domain, StreamedValues& streamed)>;
  virtual DomainUpdate update(const std::string& domain, const StreamedChange& change,
                              StoredFolders folders = StoredFolders::AsNodes) = 0;
};

// The largest domain file the store writes and reads: one limit for both, so
// that nothing the store wrote is ever refused when read back. It has to hold
// the largest folder list the printer's answer can carry. That answer is at
// most 16 MiB, and its shortest entry, "<f><name/></f>", takes 14 bytes; each
// entry becomes about 162 bytes in the domain file (a dictionary of a name and
// three flags), so 16 MiB of answer can grow to about 194 MiB. A name's bytes
// grow at most fourfold (">" is written "&gt;"). 256 MiB leaves a margin over
// both; a file beyond it did not come from this store.
inline constexpr std::size_t kMaxDomainBytes = 256u << 20;

// Domains as XML property lists, one file per domain in a private folder.
class FileDomainStore final : public DomainStore {
 public:
  // `maxDomainBytes` bounds every domain file, read or written; it can only
  // be lowered below kMaxDomainBytes.
  explicit FileDomainStore(std::filesystem::path folder,
                           std::size_t maxDomainBytes = kMaxDomainBytes);

  // $XDG_CONFIG_HOME/jobcontrol, else ~/.config/jobcontrol.
  static std::filesystem::path defaultFolder();

  // The file that holds `domain`: always directly inside the folder, and
  // distinct for distinct domain names.
  std::filesystem::path fileFor(const std::string& domain) const;
  const std::filesystem::path& folder() const { return folder_; }

  PlistPtr read(const std::string& domain) override;
  StoredDomain readStored(const std::string& domain, StoredFolders folders) override;
  using DomainStore::update;
  DomainUpdate update(const std::string& domain, const StreamedChange& change,
                      StoredFolders folders = StoredFolders::AsNodes) override;

 private:
  std::filesystem::path folder_;
  std::size_t maxDomainBytes_;
};

}  // namespace jc
