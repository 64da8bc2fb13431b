#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/unique_fd.h"
#include "prefs/domain_file_name.h"
#include "prefs/domain_lock.h"
#include "prefs/domain_store.h"
#include "prefs/plist_xml_reader.h"
#include "prefs/plist_xml_writer.h"
#include "prefs/private_folder.h"

namespace jc {
namespace {

// How many set-aside copies of one domain file are kept before giving up.
constexpr int kMaxCorruptCopies = 1000;

enum class FileState {
  Found,       // a dictionary was read
  Missing,     // no file (or no regular file) at the path
  Corrupt,     // a file that is not a dictionary within the limits
  Unreadable,  // a file that could not be read: leave it alone
};

struct LoadedDomain {
  FileState state;
  StoredDomain domain;
};

std::filesystem::path withSuffix(const std::filesystem::path& file, const std::string& suffix) {
  std::filesystem::path result = file;
  result += suffix;
  return result;
}

std::filesystem::path lockFileFor(const std::filesystem::path& file) {
  return withSuffix(file, ".lock");
}

LoadedDomain loadDomainFile(const std::filesystem::path& file, std::size_t maxBytes,
                            StoredFolders folders) {
  // O_NOFOLLOW: a symbolic link is not a domain file (the next write replaces
  // it); O_NONBLOCK: a FIFO planted at the path does not hang the dialog.
  UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
  if (!fd) {
    const bool absent = errno == ENOENT || errno == ENOTDIR || errno == ELOOP;
    return {absent ? FileState::Missing : FileState::Unreadable, {}};
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return {FileState::Unreadable, {}};
  if (!S_ISREG(info.st_mode)) return {FileState::Missing, {}};
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    return {FileState::Corrupt, {}};
  }

  std::string bytes;
  bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) {
      if (bytes.size() > maxBytes) return {FileState::Corrupt, {}};
      bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
    }
    const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      return {FileState::Unreadable, {}};
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);

  StoredDomain domain = StoredDomain::parse(bytes, folders);
  if (!domain) return {FileState::Corrupt, {}};
  return {FileState::Found, std::move(domain)};
}

// Renames `file` to "<file>.corrupt" (or ".corrupt.N", never replacing an
// earlier copy), so that nothing it held is lost and the domain starts afresh.
bool setAside(const std::filesystem::path& file) {
  for (int n = 0; n < kMaxCorruptCopies; ++n) {
    const std::filesystem::path target =
        withSuffix(file, n == 0 ? std::string(".corrupt") : ".corrupt." + std::to_string(n));
    if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
      return true;
    }
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without RENAME_NOREPLACE: link refuses to replace too.
    if (::link(file.c_str(), target.c_str()) == 0) return ::unlink(file.c_str()) == 0;
    if (errno != EEXIST) return false;
  }
  return false;
}

// `what` with the system's reason for `error` as its last value, which stays
// as the system says it.
Message because(Message what, int error) {
  what.values.emplace_back(std::strerror(error));
  return what;
}

// The domain as it stands, for a change: a new dictionary when there is no
// file, or when the file was unreadable and has been set aside. Answers why
// it cannot be had (an empty pattern when it can).
Message loadForUpdate(const std::filesystem::path& file, std::size_t maxBytes,
                      StoredFolders folders, StoredDomain& domain) {
  LoadedDomain loaded = loadDomainFile(file, maxBytes, folders);
  switch (loaded.state) {
    case FileState::Found:
      domain = std::move(loaded.domain);
      return {};
    case FileState::Unreadable:
      // Writing now would drop what the file holds.
      return because(Message("the preference file {0} cannot be read: {1}", {file.string()}),
                     errno);
    case FileState::Corrupt:
      if (!setAside(file)) {
        return because(
            Message("the damaged preference file {0} cannot be set aside: {1}", {file.string()}),
            errno);
      }
      [[fallthrough]];
    case FileState::Missing:
      domain = StoredDomain::ofNodes(PlistPtr(plist_new_dict()));
      return {};
  }
  return Message("the preference file {0} is in an unknown state", {file.string()});
}

// What writing a domain's text came to.
struct DomainText {
  bool complete = false;  // every node could be written
  int nesting = 0;
  std::size_t bytes = 0;  // all of it, also past the limit
  bool fits(std::size_t maxBytes) const {
    return complete && nesting <= kMaxPlistNesting && bytes <= maxBytes;
  }
};

// Writes the XML text of `dictionary`, with each streamed value in place of
// its placeholder, to `write` as long as it stays within `maxBytes`.
DomainText writeText(plist_t dictionary, const StreamedValues& streamed, std::size_t maxBytes,
                     const ContentsSink& write) {
  DomainText text;
  bool written = true;
  PlistXmlWriter writer([&](std::string_view piece) {
    text.bytes += piece.size();
    if (written && text.bytes <= maxBytes) written = write(piece);
  });
  text.complete = writer.node(dictionary, streamed);
  writer.finish();
  text.nesting = writer.deepestNesting();
  if (!written) text.complete = false;
  return text;
}

// Replaces the domain file with `dictionary`, unless the store could not read
// the result back: a tree nested too deeply or a file over the size limit
// would be set aside by the next read, so the old file is kept instead. The
// text is written as libplist writes it, which libplist reads back whole.
DomainUpdate writeDomain(const std::filesystem::path& file, plist_t dictionary,
                         const StreamedValues& streamed, std::size_t maxBytes) {
  if (plist_get_node_type(dictionary) != PLIST_DICT ||
      plistNestingDepth(dictionary) > kMaxPlistNesting) {
    return DomainUpdate::failed(Message("the preferences nest too deeply to be stored"));
  }
  DomainText text;
  const std::error_code error = replaceFileAtomically(
      file,
      [&](const ContentsSink& write) {
        text = writeText(dictionary, streamed, maxBytes, write);
        return text.fits(maxBytes);
      },
      0600);
  if (!error) return {true, {}};
  if (error != std::errc::operation_canceled || text.fits(maxBytes)) {
    return DomainUpdate::failed(Message("the preference file {0} cannot be written: {1}",
                                        {file.string(), error.message()}));
  }
  if (!text.complete) {
    return DomainUpdate::failed(Message("the preferences could not be put into words"));
  }
  if (text.nesting > kMaxPlistNesting) {
    return DomainUpdate::failed(Message("the preferences nest too deeply to be stored"));
  }
  return DomainUpdate::failed(
      Message("the preferences would take {0} bytes, more than the {1} a preference file may hold; "
              "the previous file is kept",
              {std::to_string(text.bytes), std::to_string(maxBytes)}));
}

}  // namespace

FileDomainStore::FileDomainStore(std::filesystem::path folder, std::size_t maxDomainBytes)
    : folder_(std::move(folder)), maxDomainBytes_(std::min(maxDomainBytes, kMaxDomainBytes)) {}

std::filesystem::path FileDomainStore::defaultFolder() {
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  if (configHome && configHome[0] == '/') return std::filesystem::path(configHome) / "jobcontrol";
  std::filesystem::path home;
  if (const char* homeVariable = std::getenv("HOME"); homeVariable && *homeVariable) {
    home = homeVariable;
  } else {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (1u << 20)) {
      buffer.resize(buffer.size() * 2);
    }
    if (found && found->pw_dir && *found->pw_dir) home = found->pw_dir;
  }
  if (home.empty()) return {};
  return home / ".config" / "jobcontrol";
}

std::filesystem::path FileDomainStore::fileFor(const std::string& domain) const {
  return folder_ / domainFileName(domain);
}

PlistPtr FileDomainStore::read(const std::string& domain) {
  return readStored(domain, StoredFolders::AsNodes).takeDictionary();
}

StoredDomain FileDomainStore::readStored(const std::string& domain, StoredFolders folders) {
  if (folder_.empty()) return {};
  const std::filesystem::path file = fileFor(domain);
  // No lock: a writer renames a whole new file into place, so a read sees
  // either the old file or the new one.
  LoadedDomain loaded = loadDomainFile(file, maxDomainBytes_, folders);
  if (loaded.state != FileState::Corrupt) return std::move(loaded.domain);

  // Set the bad file aside under the lock, after checking that no writer
  // has replaced it in the meantime.
  const std::optional<DomainLock> lock = DomainLock::acquire(lockFileFor(file));
  if (!lock) return {};
  loaded = loadDomainFile(file, maxDomainBytes_, folders);
  if (loaded.state == FileState::Corrupt) setAside(file);
  return std::move(loaded.domain);
}

DomainUpdate DomainStore::update(const std::string& domain,
                                 const std::function<bool(plist_t domain)>& change) {
  if (!change) return {};
  return update(domain,
                [&change](plist_t dictionary, StreamedValues&) { return change(dictionary); });
}

DomainUpdate FileDomainStore::update(const std::string& domain, const StreamedChange& change,
                                     StoredFolders folders) {
  if (!change) return {};
  if (folder_.empty()) {
    return DomainUpdate::failed(Message("no folder for preferences is known: HOME is not set"));
  }
  if (!ensurePrivateFolder(folder_)) {
    return DomainUpdate::failed(
        because(Message("the preference folder {0} cannot be created or made private: {1}",
                        {folder_.string()}),
                errno));
  }
  const std::filesystem::path file = fileFor(domain);
  const std::optional<DomainLock> lock = DomainLock::acquire(lockFileFor(file));
  if (!lock) {
    return DomainUpdate::failed(because(
        Message("the preference lock {0} cannot be taken: {1}", {lockFileFor(file).string()}),
        errno));
  }
  for (;;) {
    StoredDomain stored;
    if (Message failure = loadForUpdate(file, maxDomainBytes_, folders, stored);
        !failure.pattern.empty()) {
      return DomainUpdate::failed(std::move(failure));
    }
    StreamedValues streamed;
    if (!change(stored.dictionary(), streamed)) return {};
    if (stored.lostFolders(stored.dictionary())) {
      folders = StoredFolders::Read;
      continue;
    }
    stored.keepFolders(stored.dictionary(), streamed);
    return writeDomain(file, stored.dictionary(), streamed, maxDomainBytes_);
  }
}

}  // namespace jc
