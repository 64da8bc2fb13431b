// Which controls can be used, each rule named after the control it governs.
// Matrices, the pop-up and hold check boxes are enabled or disabled; text
// fields are drawn enabled or disabled (and edit fields move the focus).
#include "plugin/panel.h"

namespace jc {

bool KorvelPrintPdeVx418JC::retentionOn() const { return retentionCheckBox->state() != 0; }

std::optional<FolderSelection> KorvelPrintPdeVx418JC::popUpFolder() const {
  if (!folderSelectionPopup) return std::nullopt;
  return FolderSelection::ofPopUpItem(folderSelectionPopup->indexOfSelectedItem());
}

std::optional<FolderSelection> KorvelPrintPdeVx418JC::matrixFolder() const {
  if (!folderSelectionMatrix) return std::nullopt;
  return FolderSelection::ofMatrixRow(folderSelectionMatrix->selectedRow());
}

bool KorvelPrintPdeVx418JC::quickFileChosen() const {
  const FolderSelection quickFile{FolderKind::QuickFile};
  return popUpFolder() == quickFile || matrixFolder() == quickFile;
}

bool KorvelPrintPdeVx418JC::folderWithPassCodeChosen() const {
  if (const auto chosen = popUpFolder())
    if (const FolderEntry* entry = chosen->entryIn(folderList ? &*folderList : nullptr))
      if (entry->password) return true;
  return customFolderChosen();
}

bool KorvelPrintPdeVx418JC::customFolderChosen() const {
  return matrixFolder() == FolderSelection{FolderKind::CustomFolder};
}

bool KorvelPrintPdeVx418JC::loginMode() const { return authenticationMatrix->selectedRow() == 0; }

void KorvelPrintPdeVx418JC::suspendMatrixEnabled() { suspendMatrix->setEnabled(retentionOn()); }

void KorvelPrintPdeVx418JC::suspendKeyStaticTextEnabled() {
  myVx418JCHilite(suspendKeyStaticText, !(retentionOn() && !quickFileChosen()));
}

void KorvelPrintPdeVx418JC::suspendKeyEditTextEnabled() {
  myVx418JCHilite(suspendKeyEditText,
                  !(retentionOn() && suspendKeyButton->state() != 1 && !quickFileChosen()));
}

void KorvelPrintPdeVx418JC::suspendKeyButtonEnabled() {
  suspendKeyButton->setEnabled(retentionOn() && !quickFileChosen());
}

void KorvelPrintPdeVx418JC::folderSelectionStaticTextEnabled() {
  myVx418JCHilite(folderSelectionStaticText, !retentionOn());
}

void KorvelPrintPdeVx418JC::folderSelectionPopupEnabled() {
  folderSelectionPopup->setEnabled(retentionOn());
}

void KorvelPrintPdeVx418JC::folderPasswordStaticTextEnabled() {
  myVx418JCHilite(folderPasswordStaticText, !(retentionOn() && folderWithPassCodeChosen()));
}

void KorvelPrintPdeVx418JC::folderPasswordEditTextEnabled() {
  myVx418JCHilite(folderPasswordEditText, !(retentionOn() && folderPasswordButton->state() != 1 &&
                                            folderWithPassCodeChosen()));
}

void KorvelPrintPdeVx418JC::folderPasswordButtonEnabled() {
  folderPasswordButton->setEnabled(retentionOn() && folderWithPassCodeChosen());
}

void KorvelPrintPdeVx418JC::folderSelectionMatrixEnabled() {
  folderSelectionMatrix->setEnabled(retentionOn());
}

void KorvelPrintPdeVx418JC::folderNameEditTextEnabled() {
  myVx418JCHilite(folderNameEditText,
                  !(retentionOn() && folderNameButton->state() != 1 && customFolderChosen()));
}

void KorvelPrintPdeVx418JC::folderNameButtonEnabled() {
  folderNameButton->setEnabled(retentionOn() && customFolderChosen());
}

void KorvelPrintPdeVx418JC::loginNameStaticTextEnabled() {
  myVx418JCHilite(loginNameStaticText, !loginMode());
}

void KorvelPrintPdeVx418JC::loginNameEditTextEnabled() {
  myVx418JCHilite(loginNameEditText, !(loginMode() && loginNameButton->state() != 1));
}

void KorvelPrintPdeVx418JC::loginNameButtonEnabled() { loginNameButton->setEnabled(loginMode()); }

void KorvelPrintPdeVx418JC::passwordStaticTextEnabled() {
  myVx418JCHilite(passwordStaticText, !loginMode());
}

void KorvelPrintPdeVx418JC::passwordEditTextEnabled() {
  myVx418JCHilite(passwordEditText, !(loginMode() && passwordButton->state() != 1));
}

void KorvelPrintPdeVx418JC::passwordButtonEnabled() { passwordButton->setEnabled(loginMode()); }

void KorvelPrintPdeVx418JC::userNumberEditTextEnabled() {
  myVx418JCHilite(userNumberEditText, !(!loginMode() && userNumberButton->state() != 1));
}

void KorvelPrintPdeVx418JC::userNumberButtonEnabled() {
  userNumberButton->setEnabled(!loginMode());
}

void KorvelPrintPdeVx418JC::userNameEditTextEnabled() {
  myVx418JCHilite(userNameEditText, userNameButton->state() == 1);
}

void KorvelPrintPdeVx418JC::jobNameEditTextEnabled() {
  myVx418JCHilite(jobNameEditText, jobNameButton->state() == 1);
}

void KorvelPrintPdeVx418JC::accountNumberEditTextEnabled() {
  myVx418JCHilite(accountNumberEditText, accountNumberButton->state() == 1);
}

// The account number's hold check box stays as the layout enables it.
void KorvelPrintPdeVx418JC::accountNumberButtonEnabled() {}

void KorvelPrintPdeVx418JC::runRetentionRules() {
  suspendMatrixEnabled();
  suspendKeyStaticTextEnabled();
  suspendKeyEditTextEnabled();
  suspendKeyButtonEnabled();
  folderSelectionStaticTextEnabled();
  folderSelectionPopupEnabled();
  folderPasswordStaticTextEnabled();
  folderPasswordEditTextEnabled();
  folderPasswordButtonEnabled();
  folderSelectionMatrixEnabled();
  folderNameEditTextEnabled();
  folderNameButtonEnabled();
}

void KorvelPrintPdeVx418JC::runFolderPopUpRules() {
  suspendKeyStaticTextEnabled();
  suspendKeyEditTextEnabled();
  suspendKeyButtonEnabled();
  folderPasswordStaticTextEnabled();
  folderPasswordEditTextEnabled();
  folderPasswordButtonEnabled();
  folderNameButtonEnabled();
}

// The pop-up's rules and the folder name's field: each rule reads the
// controls' values, not one another's enabled states, so their order is free.
void KorvelPrintPdeVx418JC::runFolderMatrixRules() {
  runFolderPopUpRules();
  folderNameEditTextEnabled();
}

void KorvelPrintPdeVx418JC::runAuthenticationRules() {
  loginNameStaticTextEnabled();
  loginNameEditTextEnabled();
  loginNameButtonEnabled();
  passwordStaticTextEnabled();
  passwordEditTextEnabled();
  passwordButtonEnabled();
  userNumberEditTextEnabled();
  userNumberButtonEnabled();
}

}  // namespace jc
