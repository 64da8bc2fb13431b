// The command line of `jobcontrol`: printer, files, command, the user's actions.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hosts/common/standard_attribute_mode.h"

namespace jc::cli {

enum class Command { Show, Save, Print, Folders, Queue, Jobs, Release };

// One user action, applied in the order given.
struct UserAction {
  std::string option;  // "--retention", "--lock", ...
  std::string value;   // as given; a password is read from its file or stdin later
};

struct Options {
  // Printer: a CUPS destination, or a printer without CUPS, or the embedded default.
  std::optional<std::string> cupsPrinter;
  std::optional<std::string> ppdFile;
  std::optional<std::string> deviceURI;
  std::optional<std::string> printerID;
  std::optional<std::string> settingsFile;
  std::optional<std::string> prefsDir;
  std::optional<std::string> title;
  Command command = Command::Show;
  std::optional<std::string> printFile;  // print FILE
  std::optional<int> releaseJobId;       // release JOB-ID
  std::optional<bool> holdJobs;          // queue --hold-jobs on|off
  std::vector<UserAction> actions;
  // Whether the job also carries the standard job attributes.
  StandardAttributeMode standardAttributes = StandardAttributeMode::Auto;
  bool json = false;
  bool help = false;
  bool version = false;
};

// Parses argv; throws UsageError with a message fit for the user.
Options parseOptions(int argc, char** argv);

struct UsageError {
  std::string message;
};

// The usage text, in the user's language.
std::string usageText();

}  // namespace jc::cli
