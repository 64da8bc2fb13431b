// The controls' set-up, once per panel: texts, filters, lock images, the folder
// pop-up, the printer's address.
#include "platform/diagnostic_log.h"
#include "plugin/panel.h"
#include "ui/input_filters.h"

namespace jc {
namespace {

constexpr std::uint32_t kLockIcon = fourCharCode("lock");
constexpr std::uint32_t kUnlockIcon = fourCharCode("ulck");

}  // namespace

void KorvelPrintPdeVx418JC::initializeUI() {
  pdeProlog(this, "--initializeUI:");
  if (hasInited) {
    pdeEpilog(this, "--initializeUI:=void");
    return;
  }
  auto localizeTitle = [this](ControlRef c) {
    if (!c) return;
    if (auto t = localizedStringValue(std::optional<std::u16string>(c->title()))) c->setTitle(*t);
  };
  auto localizeString = [this](ControlRef c) {
    if (!c) return;
    if (auto t = localizedStringValue(std::optional<std::u16string>(c->stringValue())))
      c->setStringValue(*t);
  };
  auto integerFilter = [this](ControlRef field) {
    if (!field) return;
    auto filter = std::make_unique<MyIntegerNumberFilter>();
    filter->setFormat(u"##0");
    filter->SetmaxCharactersCount(
        static_cast<std::uint64_t>(std::max<std::int64_t>(0, getPasswordMax())));
    field->setFormatter(std::move(filter));
  };
  Toolkit* kit = toolkit();
  auto lockImages = [kit](ControlRef box) {
    if (!box) return;
    box->setImage(initWithSystemIconType(kit, kUnlockIcon));
    box->setAlternateImage(initWithSystemIconType(kit, kLockIcon));
  };

  if (tabView) {
    const int items = tabView->numberOfTabViewItems();
    for (int i = 0; i < std::min(items, 3); ++i)
      if (auto label = localizedStringValue(std::optional<std::u16string>(tabView->tabLabel(i))))
        tabView->setTabLabel(i, *label);
    tabView->selectFirstTabViewItem();
  }
  for (ControlRef c : {retentionCheckBox, suspendBox, holdOnlyRadioButton, holdAfterRadioButton,
                       samplePrintRadioButton})
    localizeTitle(c);

  localizeString(suspendKeyStaticText);
  integerFilter(suspendKeyEditText);
  lockImages(suspendKeyButton);

  localizeTitle(filingBox);
  localizeString(folderSelectionStaticText);
  makeFolderPopup();

  for (ControlRef c : {quickFileRadioButton, mainFolderRadioButton, customFolderRadioButton})
    localizeTitle(c);

  localizeString(folderPasswordStaticText);
  integerFilter(folderPasswordEditText);
  lockImages(folderPasswordButton);

  localizeTitle(authenticationRadioButton);
  localizeString(loginNameStaticText);
  if (loginNameEditText) {
    auto filter = std::make_unique<LoginnameInputFilter>();
    filter->setCallback(this);
    loginNameEditText->setFormatter(std::move(filter));
  }
  lockImages(loginNameButton);

  localizeString(passwordStaticText);
  if (passwordEditText) {
    auto filter = std::make_unique<MyRomanFilter>();
    filter->setFormat(u"##0");
    filter->SetmaxCharactersCount(31);
    passwordEditText->setFormatter(std::move(filter));
  }
  lockImages(passwordButton);

  localizeTitle(userNumberRadioButton);
  integerFilter(userNumberEditText);
  lockImages(userNumberButton);

  localizeString(accountNumberStaticText);
  integerFilter(accountNumberEditText);
  lockImages(accountNumberButton);

  localizeTitle(jobIDBox);
  localizeString(userNameStaticText);
  lockImages(userNameButton);

  localizeString(jobNameStaticText);
  lockImages(jobNameButton);

  localizeString(printersAddressStaticText);
  if (mfpURL) printersAddressEditText->setStringValue(fromUtf8(*mfpURL));

  localizeTitle(getFolderNameButton);
  lockImages(folderNameButton);

  chasingArrow->setHidden(true);

  if (isTiger() && !tigerHDDFlag) retentionCheckBox->setEnabled(false);

  hasInited = true;
  pdeEpilog(this, "--initializeUI:=void");
}

}  // namespace jc
