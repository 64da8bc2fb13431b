// The panel's pass code, user number and account number as the standard job
// attributes of a driverless printer: job-password, job-accounting-user-id and
// job-account-id.
#pragma once

#include "settings/job_control_settings.h"
#include "settings/printer_capabilities.h"
#include "settings/standard_attribute_plan.h"

namespace jc {

// Maps what the print-settings writer would send onto what the printer takes.
// The pass code goes only where the printer can match it: as plain digits with
// job-password-encryption "none". Folders, folder pass codes and the login
// password have no standard counterpart and are never mapped.
StandardAttributePlan mapStandardAttributes(const JobControlSettings& settings,
                                            const PrinterCapabilities& printer);

}  // namespace jc
