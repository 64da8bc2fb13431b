// The command line's messages in the user's language: the hosts' catalogue
// (hosts/common/host_translation.h), and the panel kept in English for output
// that programs read.
#pragma once

#include "hosts/common/host_translation.h"

namespace jc::cli {

using jc::tr;

// Makes the panel, which takes its language from the environment when the
// module makes it, speak English, so that output for programs reads the same
// in every language. The command line's own messages keep the user's language.
void keepThePanelInEnglish();

}  // namespace jc::cli
