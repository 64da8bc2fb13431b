// The controls' set-up, once per panel: texts, filters, lock images, the folder
// pop-up, the printer's address.
#include "platform/diagnostic_log.h"
#include "plugin/panel.h"
#include "settings/held_fields.h"
#include "ui/input_filters.h"

namespace jc {
namespace {

constexpr std::uint32_t kLockIcon = fourCharCode("lock");
constexpr std::uint32_t kUnlockIcon = fourCharCode("ulck");

}  // namespace

// Titles and texts come from the string table, keyed by what the layout
// holds.
void KorvelPrintPdeVx418JC::localizeControls() {
  for (ControlRef c : {retentionCheckBox, suspendBox, holdOnlyRadioButton, holdAfterRadioButton,
                       samplePrintRadioButton, filingBox, quickFileRadioButton,
                       mainFolderRadioButton, customFolderRadioButton, authenticationRadioButton,
                       userNumberRadioButton, jobIDBox, getFolderNameButton})
    if (c)
      if (auto t = localizedStringValue(std::optional<std::u16string>(c->title()))) c->setTitle(*t);
  for (ControlRef c : {suspendKeyStaticText, folderSelectionStaticText, folderPasswordStaticText,
                       loginNameStaticText, passwordStaticText, accountNumberStaticText,
                       userNameStaticText, jobNameStaticText, printersAddressStaticText})
    if (c)
      if (auto t = localizedStringValue(std::optional<std::u16string>(c->stringValue())))
        c->setStringValue(*t);
  if (!tabView) return;
  const int items = tabView->numberOfTabViewItems();
  for (int i = 0; i < std::min(items, 3); ++i)
    if (auto label = localizedStringValue(std::optional<std::u16string>(tabView->tabLabel(i))))
      tabView->setTabLabel(i, *label);
  tabView->selectFirstTabViewItem();
}

// The edit check of a held field's input kind; none for free text.
std::unique_ptr<Formatter> KorvelPrintPdeVx418JC::inputFilter(FieldInput input) {
  switch (input) {
    case FieldInput::Digits: {
      auto filter = std::make_unique<MyIntegerNumberFilter>();
      filter->setFormat(u"##0");
      filter->SetmaxCharactersCount(
          static_cast<std::uint64_t>(std::max<std::int64_t>(0, getPasswordMax())));
      return filter;
    }
    case FieldInput::LoginName: {
      auto filter = std::make_unique<LoginnameInputFilter>();
      filter->setCallback(this);
      return filter;
    }
    case FieldInput::Password: {
      auto filter = std::make_unique<MyRomanFilter>();
      filter->setFormat(u"##0");
      filter->SetmaxCharactersCount(31);
      return filter;
    }
    case FieldInput::AnyText:
      break;
  }
  return nullptr;
}

// Every held field gets its edit check and its box the lock images.
void KorvelPrintPdeVx418JC::setUpHeldFields() {
  Toolkit* kit = toolkit();
  for (const HeldField& f : kHeldFields) {
    if (ControlRef field = outlet(f.editField))
      if (auto filter = inputFilter(f.input)) field->setFormatter(std::move(filter));
    if (ControlRef box = outlet(f.lockBox)) {
      box->setImage(initWithSystemIconType(kit, kUnlockIcon));
      box->setAlternateImage(initWithSystemIconType(kit, kLockIcon));
    }
  }
}

void KorvelPrintPdeVx418JC::initializeUI() {
  pdeProlog(this, "--initializeUI:");
  if (hasInited) {
    pdeEpilog(this, "--initializeUI:=void");
    return;
  }
  localizeControls();
  setUpHeldFields();
  makeFolderPopup();
  if (mfpURL) printersAddressEditText->setStringValue(fromUtf8(*mfpURL));
  chasingArrow->setHidden(true);
  if (isTiger() && !tigerHDDFlag) retentionCheckBox->setEnabled(false);
  hasInited = true;
  pdeEpilog(this, "--initializeUI:=void");
}

}  // namespace jc
