// The platform services a panel works with, handed in by whoever makes it.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/text.h"
#include "plugin/capabilities.h"
#include "plugin/host.h"
#include "prefs/domain_store.h"
#include "soap/run_loop.h"
#include "soap/soap_client.h"

namespace jc {

inline constexpr const char* kSystemVersionFile =
    "/System/Library/CoreServices/SystemVersion.plist";

struct PanelEnvironment {
  std::shared_ptr<const Bundle> bundle;  // null: no resources
  Capabilities capabilities;
  const Clock* clock = &systemClock();
  std::shared_ptr<DomainStore> preferences;  // null: no preference store
  CFStringEncoding systemEncoding = kCFStringEncodingMacRoman;
  std::optional<std::u16string> fullUserName;  // the logged-in user's full name
  std::filesystem::path systemVersionFile = kSystemVersionFile;
  std::filesystem::path responseFile = responseFilePath();
  SoapClientLimits soapLimits;
  RunLoop* runLoop = nullptr;  // null: no host events to serve

  // The real services of this machine: the system encoding from the user's
  // locale, the full name from the password database.
  static PanelEnvironment system(std::shared_ptr<const Bundle> bundle,
                                 std::shared_ptr<DomainStore> preferences);
};

// The logged-in user's full name (the account's comment field up to its first
// comma), else the login name; none when neither is known.
std::optional<std::u16string> fullUserNameOfCurrentUser();

}  // namespace jc
