// File names for preference domains.
//
// A domain name is a printer identifier with a prefix, and a printer
// identifier can hold any byte. The file name keeps letters, digits, "_", "-"
// and "." (except a leading "."), and writes every other byte as "%XX" (upper
// case hex), "%" included, so the mapping is reversible and a name can never
// hold "/" or start with ".". A name too long for the file system keeps a
// readable prefix and ends with "~" and the SHA-256 of the whole domain name;
// "~" itself is always escaped, so the two forms never meet.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace jc {

inline constexpr std::string_view kDomainFileSuffix = ".plist";

// The longest file name given to a domain. It leaves room under NAME_MAX for
// the suffixes of the lock, temporary and set-aside files beside it.
inline constexpr std::size_t kMaxDomainFileNameBytes = 200;

// The name (no folder) of the file that holds `domain`.
std::string domainFileName(std::string_view domain);

// The domain whose file is called `fileName`, or none when the name is not one
// that domainFileName gives, or was shortened with a digest.
std::optional<std::string> domainFromFileName(std::string_view fileName);

}  // namespace jc
