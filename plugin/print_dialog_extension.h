// The panel as the print dialog host sees it, and the plug-in's factory.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/message.h"
#include "plugin/host.h"
#include "settings/printer_capabilities.h"
#include "settings/standard_attribute_plan.h"
#include "soap/folder_entry.h"
#include "soap/folder_list_outcome.h"
#include "ui/toolkit.h"

namespace jc {

// The dialog's summary: label text to value text, in the order first added.
using SummaryInfo = std::vector<std::pair<std::u16string, std::u16string>>;

struct LifecycleFlags {
  bool hasInited = false;
  bool callRestoreValuesFunction = false;
  bool callSaveValuesFunction = false;
  bool isPanelViewRetain = false;
};

inline constexpr std::string_view kPrintDialogPanelType = "BDB091F4-E57F-11D3-B5CC-0050E4603277";
inline constexpr std::string_view kJobControlPanelKind = "korvel.print.pde.vx418.JobControlKind";

class PrintDialogExtension {
 public:
  virtual ~PrintDialogExtension() = default;

  virtual View* panelView() = 0;
  virtual std::u16string panelName() = 0;
  virtual std::string panelKind() = 0;
  virtual std::vector<std::string> supportedPPDOptionKeys() = 0;
  virtual void willShow() = 0;
  virtual bool shouldHide() = 0;
  virtual bool shouldPrint() = 0;
  virtual bool shouldShowHelp() = 0;
  virtual void PPDOptionKeyValueDidChange(const std::string& key, const std::string& choice) = 0;
  // The error place is never written; both answer true.
  virtual bool restoreValuesAndReturnError(std::string* error) = 0;
  virtual bool saveValuesAndReturnError(std::string* error) = 0;
  virtual SummaryInfo summaryInfo() = 0;

  // For hosts that report on the panel; not part of the dialog's protocol.
  virtual LifecycleFlags lifecycleFlags() const = 0;
  virtual std::optional<FolderList> folders() const = 0;
  // What the last folder-list request came to; none when no request was made
  // (no request yet, or the address was empty).
  virtual std::optional<FolderListOutcome> folderListOutcome() const = 0;
  // Why the latest save of the printer's preferences failed, in plain words
  // that name files but never a stored value, with the paths, sizes and the
  // system's reason as the message's values; none when it succeeded or none
  // failed.
  virtual std::optional<Message> preferencesError() const = 0;
  // The pass code, user number and account number as the standard job
  // attributes `printer` takes, from the values the latest save wrote (before
  // any save, from the controls as they are).
  virtual StandardAttributePlan standardAttributes(const PrinterCapabilities& printer) const = 0;
  // Whether the printer has storage to file jobs into; without it no job is
  // filed, whatever folder the panel shows (the entries say so with filing 0).
  virtual bool printerKeepsFiledJobs() const = 0;
};

using PanelList = std::vector<std::unique_ptr<PrintDialogExtension>>;

// The factory a host creates from the module's entry point.
class PDEPlugIn {
 public:
  virtual ~PDEPlugIn() = default;
  // Answers true for any bundle, also none.
  virtual bool initWithBundle(const Bundle* bundle) = 0;
  // One new panel for the print dialog's type (exact, case-sensitive); an
  // empty list for any other type; none when the panel cannot be made.
  virtual std::optional<PanelList> PDEPanelsForType(std::string_view type,
                                                    HostCallback* hostInfo) = 0;
};

// The module's entry point: a new factory, owned by the caller.
using PDEPlugInCreateFunction = PDEPlugIn* (*)();
inline constexpr const char* kPDEPlugInCreateSymbol = "KorvelPrintPdeVx418JCPDEPlugInCreate";

// The version of everything a host and a module pass each other: the classes
// above, the seams of plugin/host.h and ui/toolkit.h, and the standard-library
// types in them. A host calls the entry point only of a module that answers the
// same version, so raise it with any change of their members, virtual
// functions or layout.
inline constexpr int kPlugInInterfaceVersion = 4;
// The module's second visible symbol: the interface version it was built for.
using PlugInInterfaceVersionFunction = int (*)();
inline constexpr const char* kPlugInInterfaceVersionSymbol = "jobcontrol_plugin_interface_version";

}  // namespace jc
