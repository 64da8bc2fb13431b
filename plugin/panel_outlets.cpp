// The layout's connections: outlets by name and actions by method name.
#include <array>
#include <utility>

#include "plugin/panel.h"

namespace jc {
namespace {

using Panel = KorvelPrintPdeVx418JC;

struct OutletEntry {
  std::string_view name;
  ControlRef Panel::*member;
};

#define JC_OUTLET(name) \
  OutletEntry { #name, &Panel::name }
constexpr std::array kOutlets = {
    JC_OUTLET(tabView),
    JC_OUTLET(retentionCheckBox),
    JC_OUTLET(suspendBox),
    JC_OUTLET(suspendMatrix),
    JC_OUTLET(holdOnlyRadioButton),
    JC_OUTLET(holdAfterRadioButton),
    JC_OUTLET(samplePrintRadioButton),
    JC_OUTLET(suspendKeyStaticText),
    JC_OUTLET(suspendKeyEditText),
    JC_OUTLET(suspendKeyButton),
    JC_OUTLET(filingBox),
    JC_OUTLET(folderSelectionStaticText),
    JC_OUTLET(folderSelectionPopup),
    JC_OUTLET(folderPasswordStaticText),
    JC_OUTLET(folderPasswordEditText),
    JC_OUTLET(folderPasswordButton),
    JC_OUTLET(folderSelectionMatrix),
    JC_OUTLET(quickFileRadioButton),
    JC_OUTLET(mainFolderRadioButton),
    JC_OUTLET(customFolderRadioButton),
    JC_OUTLET(folderNameEditText),
    JC_OUTLET(folderNameButton),
    JC_OUTLET(authenticationMatrix),
    JC_OUTLET(authenticationRadioButton),
    JC_OUTLET(loginNameStaticText),
    JC_OUTLET(loginNameEditText),
    JC_OUTLET(loginNameButton),
    JC_OUTLET(passwordStaticText),
    JC_OUTLET(passwordEditText),
    JC_OUTLET(passwordButton),
    JC_OUTLET(userNumberMatrix),
    JC_OUTLET(userNumberRadioButton),
    JC_OUTLET(userNumberEditText),
    JC_OUTLET(userNumberButton),
    JC_OUTLET(accountNumberStaticText),
    JC_OUTLET(accountNumberEditText),
    JC_OUTLET(accountNumberButton),
    JC_OUTLET(jobIDBox),
    JC_OUTLET(userNameStaticText),
    JC_OUTLET(userNameEditText),
    JC_OUTLET(userNameButton),
    JC_OUTLET(jobNameStaticText),
    JC_OUTLET(jobNameEditText),
    JC_OUTLET(jobNameButton),
    JC_OUTLET(printersAddressStaticText),
    JC_OUTLET(printersAddressEditText),
    JC_OUTLET(chasingArrow),
    JC_OUTLET(getFolderNameButton),
};
#undef JC_OUTLET

struct ActionEntry {
  std::string_view name;
  void (Panel::*method)(Control*);
};

#define JC_ACTION(name) \
  ActionEntry { #name ":", &Panel::name }
constexpr std::array kActions = {
    JC_ACTION(tabProc),
    JC_ACTION(retentionCBoxProc),
    JC_ACTION(suspendKeyMatrixProc),
    JC_ACTION(suspendKeyETextProc),
    JC_ACTION(suspendKeyButtonProc),
    JC_ACTION(folderSelectionPopUpButtonProc),
    JC_ACTION(folderPasswordETextProc),
    JC_ACTION(folderPasswordButtonProc),
    JC_ACTION(folderNameButtonProc),
    JC_ACTION(folderSelectionMatrixProc),
    JC_ACTION(authenticationMatrixProc),
    JC_ACTION(loginNameETextProc),
    JC_ACTION(loginNameButtonProc),
    JC_ACTION(passwordETextProc),
    JC_ACTION(passwordButtonProc),
    JC_ACTION(userNumberETextProc),
    JC_ACTION(userNumberButtonProc),
    JC_ACTION(userNameETextProc),
    JC_ACTION(userNameButtonProc),
    JC_ACTION(jobNameETextProc),
    JC_ACTION(jobNameButtonProc),
    JC_ACTION(accountNumberETextProc),
    JC_ACTION(accountNumberButtonProc),
    JC_ACTION(printersAddressButtonProc),
    JC_ACTION(getFolderNameButtonProc),
};
#undef JC_ACTION

}  // namespace

void KorvelPrintPdeVx418JC::connectOutlets() {
  for (const auto& entry : kOutlets)
    this->*entry.member = panelView_ ? ControlRef(panelView_->outlet(entry.name)) : ControlRef();
}

ControlRef KorvelPrintPdeVx418JC::outlet(std::string_view name) const {
  for (const auto& entry : kOutlets)
    if (entry.name == name) return this->*entry.member;
  return {};
}

bool KorvelPrintPdeVx418JC::performAction(std::string_view action, Control* sender) {
  // Accept the method name with or without its trailing colon.
  std::string name(action);
  if (name.empty() || name.back() != ':') name += ':';
  for (const auto& entry : kActions)
    if (entry.name == name) {
      (this->*entry.method)(sender);
      return true;
    }
  return false;
}

void KorvelPrintPdeVx418JC::sendAction(std::string_view action, Control& sender) {
  performAction(action, &sender);
}

}  // namespace jc
