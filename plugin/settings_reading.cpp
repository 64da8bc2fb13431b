// The panel reads its print settings: the pure reader's result, or the held
// values in its place, set into the controls, whose actions then run so that
// enable states and masking follow.
#include <cstdint>

#include "platform/diagnostic_log.h"
#include "plugin/panel.h"
#include "settings/reader.h"

namespace jc {

ReaderContext KorvelPrintPdeVx418JC::readerContext() const {
  ReaderContext c;
  c.layout.retentionCheckBox = bool(retentionCheckBox);
  c.layout.suspendMatrix = bool(suspendMatrix);
  c.layout.suspendKeyEditText = bool(suspendKeyEditText);
  c.layout.folderSelectionPopup = bool(folderSelectionPopup);
  c.layout.folderSelectionMatrix = bool(folderSelectionMatrix);
  c.layout.folderNameEditText = bool(folderNameEditText);
  c.layout.folderPasswordEditText = bool(folderPasswordEditText);
  c.layout.authenticationMatrix = bool(authenticationMatrix);
  c.layout.loginNameEditText = bool(loginNameEditText);
  c.layout.passwordEditText = bool(passwordEditText);
  c.layout.userNumberEditText = bool(userNumberEditText);
  c.layout.accountNumberEditText = bool(accountNumberEditText);
  c.layout.userNameEditText = bool(userNameEditText);
  c.layout.jobNameEditText = bool(jobNameEditText);
  c.held.mask = prefHoldButtonFlag;
  c.held.loginAuthentication = prefAuthenticationBooleanRef;
  for (const HeldField& f : kHeldFields) c.held.of(f.bit) = heldPreference(f.bit);
  c.presetHoldMask = presetHoldButtonFlag;
  c.textEncoding = systemEncoding;
  c.systemEncoding = env_.systemEncoding;
  c.passwordMax = getPasswordMax();
  c.fullUserName = env_.fullUserName;
  c.folderList = folderList ? &*folderList : nullptr;
  return c;
}

// A field's value when the read has one, then its hold check box through the
// field's action.
void KorvelPrintPdeVx418JC::applyReadField(ControlRef field, const Present<std::u16string>& value,
                                           ControlRef holdBox, bool hold,
                                           void (KorvelPrintPdeVx418JC::*proc)(Control*)) {
  if (!field) return;
  if (value) field->setStringValue(*value);
  holdBox->setState(hold ? 1 : 0);
  (this->*proc)(holdBox.get());
}

void KorvelPrintPdeVx418JC::applyReadFolder(const JobControlReading& r) {
  const JobControlSettings& s = r.settings;
  if (!folderSelectionPopup && !folderSelectionMatrix) return;
  if (r.folderNameRead) folderNameStringRef = r.folderName;
  if (s.folderPopupIndex) folderSelectionPopup->selectItemAtIndex(*s.folderPopupIndex);
  if (s.folderRow) folderSelectionMatrix->selectCellAtRow(*s.folderRow);
  if (s.folderName) folderNameEditText->setStringValue(*s.folderName);
  folderNameButton->setState((s.holdMask & kHoldFolderName) ? 1 : 0);
  folderNameButtonProc(folderNameButton.get());
}

// The login name is shown in clear first; a held name is then masked by the
// button's action, which keeps it in loginNameStringRef.
void KorvelPrintPdeVx418JC::applyReadLoginName(const JobControlSettings& s) {
  if (!loginNameEditText) return;
  loginNameButton->setState(0);
  loginNameButtonProc(loginNameButton.get());
  loginNameEditText->setStringValue(s.loginName.value_or(u""));
  loginNameStringRef.reset();
  loginNameLockFlag = false;
  if (s.holdMask & kHoldLoginName) {
    loginNameButton->setState(1);
    loginNameButtonProc(loginNameButton.get());
  } else if (loginNameButton->state() != 0) {
    loginNameButton->setState(0);
    loginNameButtonProc(loginNameButton.get());
  }
}

void KorvelPrintPdeVx418JC::applyJobControlReading(const JobControlReading& r) {
  const JobControlSettings& s = r.settings;
  const auto held = [&s](std::uint32_t bit) { return (s.holdMask & bit) != 0; };
  presetHoldButtonFlag = r.presetHoldMask;
  prefHoldButtonFlag = r.prefHoldMask;
  if (s.retention) {
    retentionCheckBox->setState(*s.retention ? 1 : 0);
    retentionCBoxProc(retentionCheckBox.get());
  }
  if (s.suspendRow) suspendMatrix->selectCellAtRow(*s.suspendRow);
  applyReadField(suspendKeyEditText, s.suspendKey, suspendKeyButton, held(kHoldPassCode),
                 &KorvelPrintPdeVx418JC::suspendKeyButtonProc);
  applyReadFolder(r);
  if (s.loginAuthentication) authenticationMatrix->selectCellAtRow(*s.loginAuthentication ? 0 : 1);
  applyReadLoginName(s);
  applyReadField(passwordEditText, s.password, passwordButton, held(kHoldPassword),
                 &KorvelPrintPdeVx418JC::passwordButtonProc);
  applyReadField(userNumberEditText, s.userNumber, userNumberButton, held(kHoldUserNumber),
                 &KorvelPrintPdeVx418JC::userNumberButtonProc);
  applyReadField(accountNumberEditText, s.accountNumber, accountNumberButton,
                 held(kHoldAccountNumber), &KorvelPrintPdeVx418JC::accountNumberButtonProc);
  authenticationMatrixProc(authenticationMatrix.get());
  applyReadField(userNameEditText, s.userName, userNameButton, held(kHoldUserName),
                 &KorvelPrintPdeVx418JC::userNameButtonProc);
  applyReadField(jobNameEditText, s.jobName, jobNameButton, held(kHoldJobName),
                 &KorvelPrintPdeVx418JC::jobNameButtonProc);
  applyReadField(folderPasswordEditText, s.folderPassword, folderPasswordButton,
                 held(kHoldFolderPassCode), &KorvelPrintPdeVx418JC::folderPasswordButtonProc);
  // The enable states follow the restored values.
  retentionCBoxProc(retentionCheckBox.get());
  folderSelectionPopUpButtonProc(folderSelectionPopup.get());
}

void KorvelPrintPdeVx418JC::getNonPPDSettingsFromPrintSettings() {
  pdeProlog(this, "--getNonPPDSettingsFromPrintSettings:");
  if (PrintSettings* entries = printSettings())
    applyJobControlReading(readJobControlEntries(*entries, readerContext()));
  pdeEpilog(this, "--getNonPPDSettingsFromPrintSettings:");
}

}  // namespace jc
