// Whether CUPS's scheduler answers at all: without it every look-up says a
// printer "does not exist", which is not why it failed.
#pragma once

#include "platform/message.h"

namespace jc {

// True when a connection to the scheduler (cupsServer(), ippPort()) opens
// within a few seconds.
bool schedulerAnswers();

// Why nothing could be asked of CUPS when it does not answer.
Message schedulerNotRunning();

}  // namespace jc
