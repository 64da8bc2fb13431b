// The command line of `jobcontrol-dialog`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hosts/common/standard_attribute_mode.h"

namespace jc::qt {

struct DialogOptions {
  std::optional<std::string> printer;     // --printer NAME
  std::optional<std::string> screenshot;  // --screenshot FILE.png
  int tab = 0;                            // --tab N: the panel's page in the picture
  std::optional<std::string> prefsDir;    // --prefs-dir DIR
  StandardAttributeMode standardAttributes = StandardAttributeMode::Auto;
  std::vector<std::string> files;
  bool help = false;
  bool version = false;
};

struct DialogUsageError {
  std::string message;
};

// Parses argv (every option also as --option=VALUE; -- ends them); throws
// DialogUsageError with a message fit for the user.
DialogOptions parseDialogOptions(int argc, char** argv);
// The --help text, in the user's language.
std::string dialogUsageText();

}  // namespace jc::qt
