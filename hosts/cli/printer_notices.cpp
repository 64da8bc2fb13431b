#include "hosts/cli/printer_notices.h"

#include <algorithm>

#include "hosts/cli/translation.h"
#include "hosts/common/printer_notes.h"

namespace jc::cli {
namespace {

bool choosesAFolder(const Options& options) {
  return std::any_of(options.actions.begin(), options.actions.end(),
                     [](const UserAction& a) { return a.option.starts_with("--folder"); });
}

}  // namespace

void printPrinterNotices(std::ostream& err, const Options& options, QueueKind kind,
                         const PrintDialogExtension& panel) {
  if (!takesJobControl(kind, options.standardAttributes))
    err << "jobcontrol: " << tr(notJobControlNote()) << "\n";
  if (choosesAFolder(options) && !panel.printerKeepsFiledJobs())
    err << "jobcontrol: " << tr(noFilingNote()) << "\n";
}

}  // namespace jc::cli
