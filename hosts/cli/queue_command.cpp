#include "hosts/cli/queue_command.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "hosts/cli/exit_status.h"
#include "hosts/cli/translation.h"
#include "hosts/common/cups_destination.h"
#include "hosts/common/entry_privacy.h"
#include "hosts/common/queue_hold_setting.h"
#include "hosts/common/queue_kind.h"

namespace jc::cli {
namespace {

struct QueueState {
  bool holdsJobs = false;
  QueueKind kind = QueueKind::Other;
  std::optional<bool> entriesReadable;
};

QueueState stateOf(const std::string& queue) {
  const CupsDestination destination(queue);
  const PpdFile ppd(destination.printer().ppdFile);
  return {.holdsJobs = queueHoldsJobs(queue),
          .kind = queueKindOf(destination.printer(), ppd.get()),
          .entriesReadable = entriesReadableByOthers(queue)};
}

const char* kindName(QueueKind kind) {
  switch (kind) {
    case QueueKind::Family:
      return "family";
    case QueueKind::Driverless:
      return "driverless";
    case QueueKind::Other:
      break;
  }
  return "other";
}

std::string servedBy(QueueKind kind) {
  switch (kind) {
    case QueueKind::Family:
      return tr("the Job Control panel (the queue's PPD is the family's)");
    case QueueKind::Driverless:
      return tr("the standard job attributes only (a driverless queue)");
    case QueueKind::Other:
      break;
  }
  return tr("neither the panel nor the standard job attributes (another printer's PPD)");
}

std::string readableBy(const std::optional<bool>& readable) {
  if (!readable)
    return tr("not known yet: none of your jobs on this queue carries the entries to look at");
  return *readable ? tr("yes: other users read them; the README gives the policy line that keeps "
                        "them private")
                   : tr("no: the policy keeps them private");
}

void printState(const std::string& queue, const QueueState& state, bool json) {
  if (json) {
    const nlohmann::ordered_json out = {
        {"queue", queue},
        {"holdsJobs", state.holdsJobs},
        {"kind", kindName(state.kind)},
        {"entriesReadableByOthers",
         state.entriesReadable ? nlohmann::ordered_json(*state.entriesReadable) : nullptr}};
    std::cout << out.dump(2) << "\n";
    return;
  }
  std::cout << tr("Queue {0}", {queue}) << "\n"
            << tr("  Jobs wait for Job Control: {0}",
                  {state.holdsJobs ? tr("yes (job-hold-until-default=indefinite)") : tr("no")})
            << "\n"
            << tr("  Served by: {0}", {servedBy(state.kind)}) << "\n"
            << tr("  Other users read a job's entries: {0}", {readableBy(state.entriesReadable)})
            << "\n";
}

}  // namespace

int runQueueCommand(const Options& options) {
  const std::string& queue = *options.cupsPrinter;
  if (options.holdJobs) {
    try {
      setQueueHoldsJobs(queue, *options.holdJobs);
    } catch (const QueueSettingRefused& e) {
      std::cerr << "jobcontrol: " << tr(e.message()) << "\n";
      return kNotPermitted;
    }
  }
  QueueState state;
  try {
    state = stateOf(queue);
  } catch (const DestinationError& e) {
    std::cerr << "jobcontrol: " << tr(e.message()) << "\n";
    return kRefused;
  }
  printState(queue, state, options.json);
  return kSucceeded;
}

}  // namespace jc::cli
