// What the command line says on stderr about the printer before the command
// runs: that it does not take Job Control, and, when a folder action was
// given, that it keeps no filed jobs. The command runs all the same.
#pragma once

#include <ostream>

#include "hosts/cli/cli_options.h"
#include "hosts/common/queue_kind.h"
#include "plugin/print_dialog_extension.h"

namespace jc::cli {

void printPrinterNotices(std::ostream& err, const Options& options, QueueKind kind,
                         const PrintDialogExtension& panel);

}  // namespace jc::cli
