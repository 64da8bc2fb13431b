// Whether a printer takes Job Control: the family's own queues read the
// panel's entries; driverless queues read only the standard job attributes;
// any other queue ignores both.
#pragma once

#include <cups/ppd.h>

#include "hosts/common/printer_info.h"
#include "hosts/common/standard_attribute_mode.h"

namespace jc {

enum class QueueKind {
  Family,      // the PPD is one of the family's, or the administrator marked it
  Driverless,  // IPP Everywhere: the standard job attributes only
  Other,
};

// The PPD keyword an administrator adds to another queue's PPD to give it the
// panel: *KorvelJobControl: True
inline constexpr const char* kJobControlPpdKeyword = "KorvelJobControl";

// The family's PPDs name the manufacturer "Korvel" (*Manufacturer), or a
// model whose name begins with it (*ModelName), as the bundled sample
// printer's does. A PPD that does neither still counts when it carries
// *KorvelJobControl: True; a driverless queue (isDriverlessQueue) is
// Driverless; anything else, no PPD among it, is Other.
QueueKind queueKindOf(const PrinterInfo& printer, ppd_file_t* ppd);

// Whether the panel is worth showing for a queue of `kind` when the standard
// job attributes are sent as `mode` says: always for the family, for a
// driverless queue while the mode sends them (auto or on), for another queue
// only when they are sent to any printer (on).
bool takesJobControl(QueueKind kind, StandardAttributeMode mode);

}  // namespace jc
