#include "hosts/common/queue_kind.h"

#include <strings.h>

#include <string_view>

#include "hosts/common/printer_capabilities.h"

namespace jc {
namespace {

constexpr std::string_view kFamily = "Korvel";

bool startsWithFamily(const char* text) {
  if (!text) return false;
  const std::string_view name(text);
  return name.size() >= kFamily.size() &&
         ::strncasecmp(name.data(), kFamily.data(), kFamily.size()) == 0 &&
         (name.size() == kFamily.size() || name[kFamily.size()] == ' ');
}

bool markedByAdministrator(ppd_file_t* ppd) {
  ppd_attr_t* mark = ppdFindAttr(ppd, kJobControlPpdKeyword, nullptr);
  return mark && mark->value && ::strcasecmp(mark->value, "True") == 0;
}

}  // namespace

QueueKind queueKindOf(const PrinterInfo& printer, ppd_file_t* ppd) {
  if (!ppd) return QueueKind::Other;
  if (startsWithFamily(ppd->manufacturer) || startsWithFamily(ppd->modelname) ||
      markedByAdministrator(ppd))
    return QueueKind::Family;
  if (isDriverlessQueue(printer.deviceURI, ppd)) return QueueKind::Driverless;
  return QueueKind::Other;
}

bool takesJobControl(QueueKind kind, StandardAttributeMode mode) {
  switch (kind) {
    case QueueKind::Family:
      return true;
    case QueueKind::Driverless:
      return mode != StandardAttributeMode::Off;
    case QueueKind::Other:
      break;
  }
  return mode == StandardAttributeMode::On;
}

}  // namespace jc
