// The one-line notes a host shows about the printer the panel is for, in
// the dialog's tab and on the command line's stderr, and the tab's own help.
#pragma once

#include "platform/message.h"

namespace jc {

// For a printer that reads neither the panel's entries nor the standard job
// attributes (see takesJobControl).
Message notJobControlNote();

// For a printer without storage (PrintDialogExtension::printerKeepsFiledJobs):
// a folder chosen in the panel files nothing.
Message noFilingNote();

// The tool tip of a field's lock: what the check box with the padlock does.
Message lockToolTip();

}  // namespace jc
