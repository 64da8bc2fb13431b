// The panel writes its print settings: the controls' values as a settings
// record, handed to the pure writer with this save's spool time.
#include <array>
#include <cstdint>
#include <utility>

#include "platform/diagnostic_log.h"
#include "plugin/panel.h"
#include "settings/held_fields.h"
#include "settings/print_settings_keys.h"
#include "settings/spool_time.h"
#include "settings/standard_attributes.h"
#include "settings/writer.h"

namespace jc {

JobControlSettings KorvelPrintPdeVx418JC::currentSettings() const {
  JobControlSettings s;
  auto text = [](ControlRef c) -> Present<std::u16string> {
    if (!c) return std::nullopt;
    return c->stringValue();
  };
  if (retentionCheckBox) s.retention = retentionCheckBox->state() != 0;
  if (suspendMatrix) s.suspendRow = suspendMatrix->selectedRow();
  s.suspendKey = text(suspendKeyEditText);
  if (folderSelectionMatrix) s.folderRow = folderSelectionMatrix->selectedRow();
  if (folderSelectionPopup) s.folderPopupIndex = folderSelectionPopup->indexOfSelectedItem();
  s.folderName = text(folderNameEditText);
  s.folderPassword = text(folderPasswordEditText);
  if (authenticationRadioButton) s.loginAuthentication = authenticationRadioButton->state() != 0;
  s.loginNameField = bool(loginNameEditText);
  if (loginNameEditText)
    s.loginName =
        loginNameButton->state() != 0 ? loginNameStringRef : loginNameEditText->stringValue();
  s.password = text(passwordEditText);
  s.userNumber = text(userNumberEditText);
  s.accountNumber = text(accountNumberEditText);
  s.userName = text(userNameEditText);
  s.jobName = text(jobNameEditText);
  for (const HeldField& f : kHeldFields)
    if (outlet(f.lockBox)->state() != 0) s.holdMask |= f.bit;
  return s;
}

void KorvelPrintPdeVx418JC::writeNonPPDSettingsToPrintSettings() {
  pdeProlog(this, "--writeNonPPDSettingsToPrintSettings:");
  PrintSettings* settings = printSettings();
  if (settings && hasInited) {
    std::array<char, 32> spoolTime{};
    GetSpoolTime(spoolTime.data(), *env_.clock);
    WriterContext context;
    context.spoolTime = spoolTime.data();
    context.checkHardDisk = CheckHardDisk();
    context.varnokSelvo = isVarnokSelvo();
    context.systemEncoding = env_.systemEncoding;
    context.folderList = folderList ? &*folderList : nullptr;
    JobControlSettings written = currentSettings();
    writeJobControlEntries(written, *settings, context);
    // The pass code goes with the job only together with a hold mode.
    const std::optional<std::string> suspend = settings->value(keys::kJobSuspend);
    if (!suspend || *suspend == "0") written.suspendKey.reset();
    lastWritten_ = std::move(written);
  }
  pdeEpilog(this, "--writeNonPPDSettingsToPrintSettings:");
}

StandardAttributePlan KorvelPrintPdeVx418JC::standardAttributes(
    const PrinterCapabilities& printer) const {
  return mapStandardAttributes(lastWritten_ ? *lastWritten_ : currentSettings(), printer);
}

}  // namespace jc
