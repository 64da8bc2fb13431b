// The user's actions at the panel, played as a person would do them.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "hosts/cli/cli_options.h"
#include "hosts/headless/headless_view.h"

namespace jc::cli {

// The hold check box of each field name of --lock / --unlock.
const std::map<std::string, std::string, std::less<>>& holdBoxes();
// The edit field each typing action fills.
const std::map<std::string, std::string, std::less<>>& editFields();

// A value the panel refused (a filter, a greyed control, no such choice).
struct RefusedAction {
  std::string message;
};

// Applies each action in order: a click sets the control and runs its action;
// typing empties the field and types the text keystroke by keystroke through
// the field's filter. Throws RefusedAction or UsageError; the secrets of the
// -file and -stdin actions (--password-file, --passcode-stdin, ...) are read
// here and never echoed.
// A folder is chosen by name among the folder pop-up's items (see
// chooseFolder) or by its position in the pop-up.
void applyUserActions(const std::vector<UserAction>& actions, HeadlessView& view);

}  // namespace jc::cli
