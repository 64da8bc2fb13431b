// When a host adds the standard job attributes to a job (job-password,
// job-accounting-user-id, job-account-id), and how they go with the job.
#pragma once

#include <cups/ppd.h>

#include <optional>
#include <string_view>

#include "hosts/common/printer_info.h"
#include "plugin/print_dialog_extension.h"

namespace jc {

// auto: for driverless queues only, where no filter of this family reads the
// panel's entries; on: for any printer, with whatever capabilities could be
// read (none without CUPS, so notes only); off: never.
enum class StandardAttributeMode { Auto, On, Off };

std::optional<StandardAttributeMode> parseStandardAttributeMode(std::string_view text);
const char* standardAttributeModeName(StandardAttributeMode mode);

// What `printer` takes of the standard job attributes, as far as `mode` asks:
// none when the mode leaves the printer out. Asks CUPS (and a driverless
// queue's printer itself), so a host keeps the answer for the printer.
std::optional<PrinterCapabilities> capabilitiesFor(StandardAttributeMode mode,
                                                   const PrinterInfo& printer, ppd_file_t* ppd);

// The panel's plan for printer capabilities read by capabilitiesFor; empty
// for none.
StandardAttributePlan standardAttributePlan(const PrintDialogExtension& panel,
                                            const std::optional<PrinterCapabilities>& printer);

// Both in one: the panel's plan for `printer` under `mode`.
StandardAttributePlan standardAttributePlan(StandardAttributeMode mode,
                                            const PrintDialogExtension& panel,
                                            const PrinterInfo& printer, ppd_file_t* ppd);

// The job's options: the panel's entries as they are, with the plan's options
// beside them.
PrintSettings withStandardAttributes(const PrintSettings& entries,
                                     const StandardAttributePlan& plan);

// The value to show for an option of the plan: a PIN shows as "****".
std::string_view shownValue(std::string_view name, std::string_view value);

}  // namespace jc
