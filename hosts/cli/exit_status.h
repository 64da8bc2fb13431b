// What the command line's exit status says (documented in jobcontrol(1)).
#pragma once

namespace jc::cli {

enum ExitStatus : int {
  kSucceeded = 0,
  kFailed = 1,
  kRefused = 2,  // a usage error, a refused value or a missing file: nothing written
  kNoFolders = 3,
  kPreferencesNotStored = 4,
  kJobGone = 5,       // release: no such job waits (none, or it is done)
  kJobNotHeld = 6,    // release: the job is pending or printing
  kJobNotYours = 7,   // release: another user's job, or CUPS refused it as such
  kNotPermitted = 8,  // queue --hold-jobs: CUPS refused to change the queue
};

}  // namespace jc::cli
