#include "hosts/common/standard_attribute_mode.h"

#include "hosts/common/printer_capabilities.h"

namespace jc {

std::optional<StandardAttributeMode> parseStandardAttributeMode(std::string_view text) {
  if (text == "auto") return StandardAttributeMode::Auto;
  if (text == "on") return StandardAttributeMode::On;
  if (text == "off") return StandardAttributeMode::Off;
  return std::nullopt;
}

const char* standardAttributeModeName(StandardAttributeMode mode) {
  switch (mode) {
    case StandardAttributeMode::On:
      return "on";
    case StandardAttributeMode::Off:
      return "off";
    case StandardAttributeMode::Auto:
      break;
  }
  return "auto";
}

std::optional<PrinterCapabilities> capabilitiesFor(StandardAttributeMode mode,
                                                   const PrinterInfo& printer, ppd_file_t* ppd) {
  if (mode == StandardAttributeMode::Off) return std::nullopt;
  if (!printer.cupsDestination) {
    if (mode == StandardAttributeMode::Auto) return std::nullopt;
    PrinterCapabilities none;
    none.printerURI = printer.deviceURI;
    return none;
  }
  // Queues with a PPD of their own are not asked at all in auto.
  if (mode == StandardAttributeMode::Auto && !isDriverlessQueue(printer.deviceURI, ppd))
    return std::nullopt;
  return readQueueCapabilities(printer, ppd);
}

StandardAttributePlan standardAttributePlan(const PrintDialogExtension& panel,
                                            const std::optional<PrinterCapabilities>& printer) {
  return printer ? panel.standardAttributes(*printer) : StandardAttributePlan{};
}

StandardAttributePlan standardAttributePlan(StandardAttributeMode mode,
                                            const PrintDialogExtension& panel,
                                            const PrinterInfo& printer, ppd_file_t* ppd) {
  return standardAttributePlan(panel, capabilitiesFor(mode, printer, ppd));
}

PrintSettings withStandardAttributes(const PrintSettings& entries,
                                     const StandardAttributePlan& plan) {
  PrintSettings options = entries;
  for (const auto& [name, value] : plan.options) options.setValue(name, value);
  return options;
}

std::string_view shownValue(std::string_view name, std::string_view value) {
  return name == "job-password" ? std::string_view("****") : value;
}

}  // namespace jc
