#include "hosts/common/printer_notes.h"

namespace jc {

Message notJobControlNote() { return Message("This printer does not take Job Control."); }

Message noFilingNote() {
  return Message("This printer keeps no filed jobs: the job is not filed into a folder.");
}

Message lockToolTip() {
  return Message(
      "Locked: this value is kept for the next jobs on this printer. Unlocked: it is used for "
      "this job only.");
}

}  // namespace jc
