// Reading what a printer takes of the standard job attributes for held and
// accounted jobs, from CUPS: whether a queue is driverless, and the printer's
// job-password and accounting answers.
#pragma once

#include <cups/cups.h>
#include <cups/ppd.h>

#include <optional>
#include <string>
#include <string_view>

#include "hosts/common/printer_info.h"
#include "settings/printer_capabilities.h"

namespace jc {

// A queue is driverless when the job leaves CUPS over IPP (device URI ipp,
// ipps, dnssd or ippusb) and its PPD is one that CUPS generated from the
// printer's own answers: the scheduler's "everywhere" model names its file
// "ippeve.ppd" and itself "... - IPP Everywhere", cups-filters' driverless
// generator "drvless.ppd" and "..., driverless, ...". A PPD of this family
// carries neither, so its queues keep the family's own entries alone.
bool isDriverlessQueue(const std::optional<std::string>& deviceURI, ppd_file_t* ppd);

// The answers in a Get-Printer-Attributes response (or any attribute set);
// job-password attributes of the wrong type are named in `wrongTypes`.
PrinterCapabilities capabilitiesFromAttributes(ipp_t* attributes);

// The answers in the bytes of a Get-Printer-Attributes response from the
// printer at `where` (as notes name it), already checked for their framing
// and nesting; `unanswered` when libcups cannot read them or they carry an
// IPP error.
PrinterCapabilities capabilitiesFromAnswer(std::string_view answer, const std::string& where);

// Asks the printer at `uri` (ipp:// or ipps://) directly in one bounded
// exchange (at most 5 seconds in all); `unanswered` says why when it was not
// asked successfully. Other addresses (dnssd://, ippusb://, ...) are not
// asked.
PrinterCapabilities askPrinterCapabilities(const std::string& uri);

// The capabilities of a CUPS queue: the printer behind a driverless queue is
// asked itself, since only it knows which PIN encryptions it takes; when it
// cannot be, only the scheduler's accounting answers stand in for its own.
// Any other queue through the scheduler's answer for the queue. The
// driverless flag and the printer's address are always set.
PrinterCapabilities readQueueCapabilities(const PrinterInfo& printer, ppd_file_t* ppd);

}  // namespace jc
