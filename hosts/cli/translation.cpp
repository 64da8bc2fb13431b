#include "hosts/cli/translation.h"

#include <cstdlib>

namespace jc::cli {

void keepThePanelInEnglish() {
  loadHostMessages();
  // LANGUAGE comes first in the panel's choice, and "C" chooses English.
  ::setenv("LANGUAGE", "C", 1);
}

}  // namespace jc::cli
