// Requests to CUPS's scheduler on the caller's behalf: each names the calling
// user (requesting-user-name), and the answer's status says whether it was
// done.
#pragma once

#include <cups/cups.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/message.h"

namespace jc {

struct IppDeleter {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, IppDeleter>;

// A request of `operation` naming the calling user; the caller adds the
// object it is about (printer-uri, job-uri).
IppMessage schedulerRequest(ipp_op_t operation);
// The same for the job `jobId` (its job-uri on the scheduler).
IppMessage jobRequest(ipp_op_t operation, int jobId);
// The same for the queue `queue` (its printer-uri on the scheduler).
IppMessage queueRequest(ipp_op_t operation, const std::string& queue);

// Sends the request to the scheduler at `resource`; the answer, null where
// the scheduler did not answer at all. The status is cupsLastError().
IppMessage askScheduler(IppMessage request, const char* resource = "/");

// Whether the last request succeeded.
bool lastRequestSucceeded();
// Whether CUPS refused the last request for the user's rights (not the owner,
// not an administrator, not authenticated).
bool lastRequestForbidden();
// Why the last request failed, in CUPS's words; the scheduler's absence said
// as such.
Message lastRequestFailure();

// A text or keyword value of the answer, or none.
std::optional<std::string> stringValue(ipp_t* answer, const char* name);

}  // namespace jc
