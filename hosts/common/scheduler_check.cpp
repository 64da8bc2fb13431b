#include "hosts/common/scheduler_check.h"

#include <cups/cups.h>

namespace jc {

bool schedulerAnswers() {
  http_t* http =
      httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 3000, nullptr);
  if (!http) return false;
  httpClose(http);
  return true;
}

Message schedulerNotRunning() {
  const std::string server = cupsServer();
  return Message("the print system is not running: CUPS's scheduler does not answer at {0}",
                 {server.starts_with("/") ? server : server + ":" + std::to_string(ippPort())});
}

}  // namespace jc
