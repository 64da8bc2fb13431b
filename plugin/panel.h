// The Job Control panel: one per print dialog. Its methods live in plugin/, one
// file per subsystem: lifecycle, control set-up, actions, enable rules, the
// folder pop-up, reading and writing its print settings, its preferences and
// the folder-list exchange.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/panel_environment.h"
#include "plugin/print_dialog_extension.h"
#include "prefs/preference_snapshot.h"
#include "settings/folder_name_search.h"
#include "settings/held_fields.h"
#include "settings/job_control_settings.h"
#include "soap/folder_entry.h"
#include "soap/soap_client.h"
#include "ui/text_field_hilite.h"
#include "ui/toolkit.h"

namespace jc {

class KorvelPrintPdeVx418JCPDEChoice;
struct ReaderContext;
struct JobControlReading;

class KorvelPrintPdeVx418JC final : public PrintDialogExtension,
                                    public ActionTarget,
                                    public SOAPClientCallback {
 public:
  // initWithCallback: the host's callback object may be null.
  KorvelPrintPdeVx418JC(HostCallback* callback, PanelEnvironment environment);
  ~KorvelPrintPdeVx418JC() override;
  KorvelPrintPdeVx418JC(const KorvelPrintPdeVx418JC&) = delete;
  KorvelPrintPdeVx418JC& operator=(const KorvelPrintPdeVx418JC&) = delete;

  // ---- Host operations.
  View* panelView() override;
  std::u16string panelName() override;
  std::string panelKind() override;
  std::vector<std::string> supportedPPDOptionKeys() override;
  void willShow() override;
  bool shouldHide() override;
  bool shouldPrint() override;
  bool shouldShowHelp() override;
  void PPDOptionKeyValueDidChange(const std::string& key, const std::string& choice) override;
  bool restoreValuesAndReturnError(std::string* error) override;
  bool saveValuesAndReturnError(std::string* error) override;
  SummaryInfo summaryInfo() override;
  LifecycleFlags lifecycleFlags() const override;
  std::optional<FolderList> folders() const override { return folderList; }
  std::optional<FolderListOutcome> folderListOutcome() const override { return folderListOutcome_; }
  std::optional<Message> preferencesError() const override { return preferencesError_; }
  StandardAttributePlan standardAttributes(const PrinterCapabilities& printer) const override;
  bool printerKeepsFiledJobs() const override { return CheckHardDisk(); }
  void updateUI();

  // Hosts without constraint handling.
  ppd_file_t* getPPDOnTiger() { return nullptr; }
  void getPPDSettingsFromPrintSettingsOnTiger() {}
  void writePPDSettingsToPrintSettingsOnTiger() {}

  // ---- Fixed answers of this build.
  std::int64_t getUIMode() const { return env_.capabilities.uiMode; }
  std::int64_t getPasswordMax() const { return env_.capabilities.passwordMax; }
  bool CheckHardDisk() const { return env_.capabilities.hardDisk; }
  bool isVarnokSelvo() const { return env_.capabilities.varnokSelvo; }
  bool isTiger() const { return env_.capabilities.tiger; }

  // Label translation up to the first colon; none for no object.
  std::optional<std::u16string> localizedStringValue(
      const std::optional<std::u16string>& text) const;
  // A text field gives its string value, a box, button or cell its title.
  std::optional<std::u16string> localizedStringValue(ControlRef control) const;
  std::u16string localizedString(std::u16string_view key) const;

  // ---- Controls: set-up, actions, enable rules, folder pop-up.
  void initializeUI();
  void localizeControls();
  std::unique_ptr<Formatter> inputFilter(FieldInput input);
  void setUpHeldFields();
  void sendAction(std::string_view action, Control& sender) override;
  // Runs the named action method; false when there is none of that name.
  bool performAction(std::string_view action, Control* sender = nullptr);

  void tabProc(Control* sender = nullptr);
  void retentionCBoxProc(Control* sender = nullptr);
  void suspendKeyMatrixProc(Control* sender = nullptr);
  void suspendKeyETextProc(Control* sender = nullptr);
  void suspendKeyButtonProc(Control* sender = nullptr);
  void folderSelectionPopUpButtonProc(Control* sender = nullptr);
  void folderPasswordETextProc(Control* sender = nullptr);
  void folderPasswordButtonProc(Control* sender = nullptr);
  void folderNameButtonProc(Control* sender = nullptr);
  void folderSelectionMatrixProc(Control* sender = nullptr);
  void authenticationMatrixProc(Control* sender = nullptr);
  void loginNameETextProc(Control* sender = nullptr);
  void loginNameButtonProc(Control* sender = nullptr);
  void passwordETextProc(Control* sender = nullptr);
  void passwordButtonProc(Control* sender = nullptr);
  void userNumberETextProc(Control* sender = nullptr);
  void userNumberButtonProc(Control* sender = nullptr);
  void userNameETextProc(Control* sender = nullptr);
  void userNameButtonProc(Control* sender = nullptr);
  void jobNameETextProc(Control* sender = nullptr);
  void jobNameButtonProc(Control* sender = nullptr);
  void accountNumberETextProc(Control* sender = nullptr);
  void accountNumberButtonProc(Control* sender = nullptr);
  void printersAddressButtonProc(Control* sender = nullptr);
  void getFolderNameButtonProc(Control* sender = nullptr);

  void suspendMatrixEnabled();
  void suspendKeyStaticTextEnabled();
  void suspendKeyEditTextEnabled();
  void suspendKeyButtonEnabled();
  void folderSelectionStaticTextEnabled();
  void folderSelectionPopupEnabled();
  void folderPasswordStaticTextEnabled();
  void folderPasswordEditTextEnabled();
  void folderPasswordButtonEnabled();
  void folderSelectionMatrixEnabled();
  void folderNameEditTextEnabled();
  void folderNameButtonEnabled();
  void loginNameStaticTextEnabled();
  void loginNameEditTextEnabled();
  void loginNameButtonEnabled();
  void passwordStaticTextEnabled();
  void passwordEditTextEnabled();
  void passwordButtonEnabled();
  void userNumberEditTextEnabled();
  void userNumberButtonEnabled();
  void userNameEditTextEnabled();
  void jobNameEditTextEnabled();
  void accountNumberEditTextEnabled();
  void accountNumberButtonEnabled();

  void makeFolderPopup();
  int SearchSameFolderName(const std::optional<std::u16string>& name) const;

  // ---- Print settings.
  void writeNonPPDSettingsToPrintSettings();
  void getNonPPDSettingsFromPrintSettings();
  // The controls' current values as a record.
  JobControlSettings currentSettings() const;

  // ---- Preferences.
  void CheckPreference();
  void GetUserPreference();
  bool SaveUserPreference();
  void GetFolderPreference();
  bool SaveFolderPreference();
  // Keeps the preference values the panel shows once the dialog has opened.
  void RememberPreferenceBaseline();
  bool GetHDDPreference() { return true; }
  bool SaveHDDPreference() { return true; }

  // ---- The printer's folder list.
  bool parseXML(const std::filesystem::path& responseFile);
  void recieveEndCallback() override;

  // ---- PPD choices (plugin/ppd_choice.cpp).
  // The marked choice's index in the option, else the default's, else -1.
  std::int64_t indexOfMarkedOption(ppd_option_t* option, const char* key) const;
  // The pop-up's selected wrapper replaces `current` when the host accepts it.
  void getSelection(std::shared_ptr<KorvelPrintPdeVx418JCPDEChoice>& current, ControlRef popUp,
                    const char* key);
  // The same with a two-state button: its state indexes `choices`.
  void getSelection(std::shared_ptr<KorvelPrintPdeVx418JCPDEChoice>& current,
                    const std::vector<std::shared_ptr<KorvelPrintPdeVx418JCPDEChoice>>& choices,
                    ControlRef button, const char* key);

  // ---- Read access for hosts and tests.
  const PanelEnvironment& environment() const { return env_; }
  HostCallback* callback() const { return pdePluginCallbackObject; }
  ControlRef outlet(std::string_view name) const;

  // ---- Fields (the host's handles, the panel's state).
  HostCallback* pdePluginCallbackObject = nullptr;
  std::optional<std::u16string> thePDEName;
  bool useConstraintHandling = false;
  bool canResizeView = false;
  bool hasInited = false;
  ppd_file_t* ppd = nullptr;
  NSStringEncoding ppdEncoding = 0;
  NSStringEncoding systemEncoding = 0;
  std::shared_ptr<const Bundle> pdeBundle;
  bool callSaveValuesFunction = false;
  bool callRestoreValuesFunction = false;
  std::unique_ptr<View> panelView_;  // the loaded layout; panelView() answers it

  // Controls, connected by outlet name when the layout loads.
  ControlRef tabView, retentionCheckBox, suspendBox, suspendMatrix, holdOnlyRadioButton,
      holdAfterRadioButton, samplePrintRadioButton, suspendKeyStaticText, suspendKeyEditText,
      suspendKeyButton, filingBox, folderSelectionStaticText, folderSelectionPopup,
      folderPasswordStaticText, folderPasswordEditText, folderPasswordButton, folderSelectionMatrix,
      quickFileRadioButton, mainFolderRadioButton, customFolderRadioButton, folderNameEditText,
      folderNameButton, authenticationMatrix, authenticationRadioButton, loginNameStaticText,
      loginNameEditText, loginNameButton, passwordStaticText, passwordEditText, passwordButton,
      userNumberMatrix, userNumberRadioButton, userNumberEditText, userNumberButton,
      accountNumberStaticText, accountNumberEditText, accountNumberButton, jobIDBox,
      userNameStaticText, userNameEditText, userNameButton, jobNameStaticText, jobNameEditText,
      jobNameButton, printersAddressStaticText, printersAddressEditText, chasingArrow,
      getFolderNameButton;

  std::optional<std::vector<unsigned char>> requestData;
  std::optional<std::vector<unsigned char>> debugData;
  std::optional<std::string> preferenceName;
  std::optional<std::u16string> modelStringRef;

  // The held value of `bit`'s field, as the preferences gave it.
  std::optional<std::u16string>& heldPreference(HoldBit bit);
  const std::optional<std::u16string>& heldPreference(HoldBit bit) const;
  std::uint32_t prefHoldButtonFlag = 0;
  std::optional<std::u16string> prefSuspendKeyStringRef;
  std::optional<bool> prefAuthenticationBooleanRef;
  std::optional<std::u16string> prefLoginNameStringRef;
  std::optional<std::u16string> prefPasswordStringRef;
  std::optional<std::u16string> prefUserNumberStringRef;
  std::optional<std::u16string> prefUserNameStringRef;
  std::optional<std::u16string> prefJobNameStringRef;
  std::optional<std::u16string> prefFolderPassStringRef;
  std::optional<std::u16string> prefAccountNumberStringRef;
  std::optional<std::u16string> prefFolderNameStringRef;
  std::optional<std::u16string> loginNameStringRef;
  bool loginNameLockFlag = false;
  bool loginNameUnLockFlag = false;
  std::optional<std::u16string> folderNameStringRef;
  std::optional<std::u16string> addressStringRef;
  std::optional<std::string> mfpURL;
  std::optional<FolderList> folderList;
  ImagePtr spaceImage;
  std::uint32_t presetHoldButtonFlag = 0;
  bool tigerHDDFlag = false;
  bool isPanelViewRetain = false;

 private:
  std::optional<FolderListOutcome> folderListOutcome_;
  void connectOutlets();
  Toolkit* toolkit() const;
  PrintSettings* printSettings() const;
  // The reader's inputs from the panel, and its result applied to the controls.
  ReaderContext readerContext() const;
  void applyJobControlReading(const JobControlReading& reading);
  void applyReadField(ControlRef field, const Present<std::u16string>& value, ControlRef holdBox,
                      bool hold, void (KorvelPrintPdeVx418JC::*proc)(Control*));
  void applyReadFolder(const JobControlReading& reading);
  void applyReadLoginName(const JobControlSettings& settings);
  // The rule lists the actions run.
  void runRetentionRules();
  void runFolderPopUpRules();
  // The pop-up's items from the folder list; the selection is the toolkit's.
  void rebuildFolderPopupItems();
  void runFolderMatrixRules();
  void runAuthenticationRules();
  bool retentionOn() const;
  bool quickFileChosen() const;
  bool folderWithPassCodeChosen() const;
  bool customFolderChosen() const;
  bool loginMode() const;
  void emptyUnlessHeld(ControlRef field, ControlRef holdBox);
  void leaveQuickFile();
  void takeIfAccepted(std::shared_ptr<KorvelPrintPdeVx418JCPDEChoice>& current,
                      const std::shared_ptr<KorvelPrintPdeVx418JCPDEChoice>& candidate,
                      const char* key);

  PanelEnvironment env_;
  PreferenceSnapshot preferencesRead_;             // what the dialog showed when it opened (prefs/)
  std::optional<StoredDomain> openingDomain_;      // the domain read once while the dialog opens
  std::optional<Message> preferencesError_;        // why the latest preference save failed
  std::optional<JobControlSettings> lastWritten_;  // what the latest save wrote
};

// The operating system's version from its property-list file; places without
// a component keep the caller's value.
void get_system_version(int* major, int* minor, int* revision,
                        const std::filesystem::path& file = kSystemVersionFile);
bool runningOnLeopardOrLater(const std::filesystem::path& file = kSystemVersionFile);
// The NS encoding number of the PPD's LanguageEncoding (Mac Roman when none).
NSStringEncoding getEncodingFromPPD(ppd_file_t* ppd);

}  // namespace jc
