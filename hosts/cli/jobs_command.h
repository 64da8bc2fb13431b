// `jobcontrol jobs [--json]`: the calling user's held jobs that wait for Job
// Control, one a line or as JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <vector>

#include "hosts/common/held_jobs.h"

namespace jc::cli {

// The time as ISO 8601 in UTC: 2026-12-09T10:48:00Z.
std::string utcTime(std::time_t time);

nlohmann::ordered_json heldJobJson(const HeldJob& job);
// "ID  PRINTER  TITLE (DOCUMENT)  SIZE  TIME" a line, the text made safe for
// the terminal; a line that says so when none waits.
void printHeldJobs(std::ostream& out, const std::vector<HeldJob>& jobs);

// Lists the jobs; answers the exit status. Throws HostError when CUPS does
// not answer.
int runJobsCommand(bool json);

}  // namespace jc::cli
