// What each control does when the user changes it: keep the choices
// consistent, empty the fields of a group switched off, hold the login name,
// then run the control's enable rules.
#include "plugin/panel.h"

namespace jc {

void KorvelPrintPdeVx418JC::emptyUnlessHeld(ControlRef field, ControlRef holdBox) {
  if (holdBox->state() == 0) field->setStringValue(u"");
}

// Quick file chosen in either folder control moves to the main folder, with
// that control's action.
void KorvelPrintPdeVx418JC::leaveQuickFile() {
  if (folderSelectionPopup && folderSelectionPopup->indexOfSelectedItem() == 0) {
    folderSelectionPopup->selectItemAtIndex(1);
    folderSelectionPopUpButtonProc(folderSelectionPopup.get());
  }
  if (folderSelectionMatrix && folderSelectionMatrix->selectedRow() == 0) {
    folderSelectionMatrix->selectCellAtRow(1);
    folderSelectionMatrixProc(folderSelectionMatrix.get());
  }
}

void KorvelPrintPdeVx418JC::tabProc(Control*) {}
void KorvelPrintPdeVx418JC::printersAddressButtonProc(Control*) {}
void KorvelPrintPdeVx418JC::suspendKeyETextProc(Control*) {}
void KorvelPrintPdeVx418JC::folderPasswordETextProc(Control*) {}
void KorvelPrintPdeVx418JC::loginNameETextProc(Control*) {}
void KorvelPrintPdeVx418JC::passwordETextProc(Control*) {}
void KorvelPrintPdeVx418JC::userNumberETextProc(Control*) {}
void KorvelPrintPdeVx418JC::userNameETextProc(Control*) {}
void KorvelPrintPdeVx418JC::jobNameETextProc(Control*) {}
void KorvelPrintPdeVx418JC::accountNumberETextProc(Control*) {}

void KorvelPrintPdeVx418JC::retentionCBoxProc(Control*) {
  if (!retentionCheckBox) return;
  if (retentionCheckBox->state() != 1) {
    suspendMatrix->selectCellAtRow(0);
    emptyUnlessHeld(suspendKeyEditText, suspendKeyButton);
    leaveQuickFile();
    emptyUnlessHeld(folderPasswordEditText, folderPasswordButton);
    emptyUnlessHeld(folderNameEditText, folderNameButton);
  }
  runRetentionRules();
}

void KorvelPrintPdeVx418JC::suspendKeyMatrixProc(Control*) {
  if (!suspendMatrix || suspendMatrix->selectedRow() == 1) return;
  leaveQuickFile();
}

void KorvelPrintPdeVx418JC::folderSelectionPopUpButtonProc(Control*) {
  if (!folderSelectionPopup) return;
  if (folderSelectionPopup->indexOfSelectedItem() == 0) {
    if (suspendMatrix->selectedRow() != 1) suspendMatrix->selectCellAtRow(1);
    emptyUnlessHeld(suspendKeyEditText, suspendKeyButton);
  }
  runFolderPopUpRules();
}

void KorvelPrintPdeVx418JC::folderSelectionMatrixProc(Control*) {
  const int row = folderSelectionMatrix->selectedRow();
  if (row == 0) {
    if (suspendMatrix->selectedRow() != 1) suspendMatrix->selectCellAtRow(1);
    emptyUnlessHeld(suspendKeyEditText, suspendKeyButton);
  }
  if (row == 0 || row == 1) {
    emptyUnlessHeld(folderPasswordEditText, folderPasswordButton);
    emptyUnlessHeld(folderNameEditText, folderNameButton);
  }
  runFolderMatrixRules();
}

void KorvelPrintPdeVx418JC::authenticationMatrixProc(Control*) {
  if (!authenticationMatrix) return;
  runAuthenticationRules();
  if (authenticationMatrix->selectedRow() != 0) {
    emptyUnlessHeld(loginNameEditText, loginNameButton);
    emptyUnlessHeld(passwordEditText, passwordButton);
    if (userNumberEditText->isSelectable()) userNumberEditText.makeFirstResponder();
  } else {
    emptyUnlessHeld(userNumberEditText, userNumberButton);
    if (loginNameEditText->isSelectable())
      loginNameEditText.makeFirstResponder();
    else if (passwordEditText->isSelectable())
      passwordEditText.makeFirstResponder();
  }
}

void KorvelPrintPdeVx418JC::loginNameButtonProc(Control*) {
  if (!loginNameButton) return;
  if (loginNameButton->state() == 1) {
    if (!loginNameLockFlag) {
      loginNameStringRef = loginNameEditText->stringValue();
      const std::size_t n = loginNameStringRef->size();
      if (n >= 1) loginNameEditText->setStringValue(std::u16string(n, u'\u2022'));
      loginNameLockFlag = true;
    }
  } else {
    loginNameUnLockFlag = true;
    loginNameEditText->setStringValue(u"");
    loginNameStringRef.reset();
    loginNameUnLockFlag = false;
    loginNameLockFlag = false;
  }
  myVx418JCHilite(loginNameEditText,
                  loginNameButton->state() == 1 || authenticationMatrix->selectedRow() != 0);
}

void KorvelPrintPdeVx418JC::suspendKeyButtonProc(Control*) {
  if (suspendKeyButton) suspendKeyEditTextEnabled();
}
void KorvelPrintPdeVx418JC::folderPasswordButtonProc(Control*) {
  if (folderPasswordButton) folderPasswordEditTextEnabled();
}
void KorvelPrintPdeVx418JC::folderNameButtonProc(Control*) {
  if (folderNameButton) folderNameEditTextEnabled();
}
void KorvelPrintPdeVx418JC::passwordButtonProc(Control*) {
  if (passwordButton) passwordEditTextEnabled();
}
void KorvelPrintPdeVx418JC::userNumberButtonProc(Control*) {
  if (userNumberButton) userNumberEditTextEnabled();
}
void KorvelPrintPdeVx418JC::userNameButtonProc(Control*) {
  if (userNameButton) userNameEditTextEnabled();
}
void KorvelPrintPdeVx418JC::jobNameButtonProc(Control*) {
  if (jobNameButton) jobNameEditTextEnabled();
}
void KorvelPrintPdeVx418JC::accountNumberButtonProc(Control*) {
  if (accountNumberButton) accountNumberEditTextEnabled();
}

}  // namespace jc
