// The panel's lifecycle: creation, the host's operations and the summary.
#include "plugin/panel.h"

#include <cups/http.h>

#include <array>
#include <fstream>
#include <iterator>
#include <utility>

#include "platform/diagnostic_log.h"

namespace jc {
namespace {

std::optional<std::vector<unsigned char>> readResource(const Bundle* bundle, std::string_view name,
                                                       std::string_view type) {
  if (!bundle) return std::nullopt;
  const auto path = bundle->pathForResource(name, type);
  if (!path) return std::nullopt;
  std::ifstream in(*path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
}

// The host part of a device URI whose scheme is exactly ipp, lpd or socket.
std::optional<std::string> hostOfDeviceURI(const std::string& uri) {
  std::array<char, 32> scheme{};
  std::array<char, 256> userpass{};
  std::array<char, 256> host{};
  std::array<char, 1024> resource{};
  int port = 0;
  const http_uri_status_t status =
      httpSeparateURI(HTTP_URI_CODING_NONE, uri.c_str(), scheme.data(), int(scheme.size()),
                      userpass.data(), int(userpass.size()), host.data(), int(host.size()), &port,
                      resource.data(), int(resource.size()));
  if (status < HTTP_URI_STATUS_OK) return std::nullopt;
  const std::string_view s = scheme.data();
  // Compared exactly: httpSeparateURI keeps the scheme's case.
  const auto colon = uri.find(':');
  if (colon == std::string::npos || std::string_view(uri).substr(0, colon) != s)
    return std::nullopt;
  if (s != "ipp" && s != "lpd" && s != "socket") return std::nullopt;
  if (host[0] == '\0') return std::nullopt;
  return std::string(host.data());
}

}  // namespace

KorvelPrintPdeVx418JC::KorvelPrintPdeVx418JC(HostCallback* callback, PanelEnvironment environment)
    : env_(std::move(environment)) {
  pdeProlog(this, "initWithCallback:(%@, %p)", callback, callback);
  pdePluginCallbackObject = callback;
  pdeBundle = env_.bundle;
  useConstraintHandling = callback && callback->respondsToWillChangePPDOptionKeyValue();
  pdeLog(this, "Constraint Handling Available: %s", useConstraintHandling ? "YES" : "NO");
  canResizeView = runningOnLeopardOrLater(env_.systemVersionFile);
  pdeLog(this, "Can resize on the fly: %s", canResizeView ? "YES" : "NO");
  ppd = useConstraintHandling ? callback->ppdFile() : getPPDOnTiger();
  if (ppd) {
    ppdEncoding = getEncodingFromPPD(ppd);
    if (ppd->modelname && ppd->modelname[0])
      if (auto model = decodeBytesNS(ppd->modelname, ppdEncoding))
        modelStringRef = std::move(*model);
    PrintSession* session = callback->printSession();
    Printer* printer = session ? session->currentPrinter() : nullptr;
    if (printer) {
      if (const auto uri = printer->deviceURI()) mfpURL = hostOfDeviceURI(*uri);
      preferenceName = "korvel.mfp." + printer->printerID();
    }
    // The three reads share one reading of the domain.
    if (env_.preferences && preferenceName)
      openingDomain_ = env_.preferences->readStored(*preferenceName, StoredFolders::Read);
    CheckPreference();
    GetUserPreference();
    GetFolderPreference();
    openingDomain_.reset();
    requestData = readResource(pdeBundle.get(), "listfiles", "xml");
    debugData = readResource(pdeBundle.get(), "vwxyz", "xml");
    if (isTiger() && CheckHardDisk()) tigerHDDFlag = true;
  }
  systemEncoding = CFStringConvertEncodingToNSStringEncoding(env_.systemEncoding);
  if (pdeBundle) {
    if (const auto path = pdeBundle->pathForResource("space", "png")) {
      std::error_code ec;
      if (std::filesystem::is_regular_file(*path, ec))
        spaceImage = std::make_shared<const Image>(Image{0, *path, 18, 18});
    }
  }
  pdeEpilog(this, "initWithCallback:=id(self)");
}

KorvelPrintPdeVx418JC::~KorvelPrintPdeVx418JC() = default;

Toolkit* KorvelPrintPdeVx418JC::toolkit() const {
  return pdePluginCallbackObject ? pdePluginCallbackObject->toolkit() : nullptr;
}

PrintSettings* KorvelPrintPdeVx418JC::printSettings() const {
  return pdePluginCallbackObject ? pdePluginCallbackObject->printSettings() : nullptr;
}

View* KorvelPrintPdeVx418JC::panelView() {
  pdeProlog(this, "panelView:");
  if (!panelView_) {
    static constexpr std::array<std::string_view, 5> kLayouts = {
        "JobControl", "JobControl2", "JobControl3", "JobControl4", "JobControl5"};
    const std::int64_t mode = getUIMode();
    Toolkit* kit = toolkit();
    if (mode >= 1 && mode <= 5 && kit && pdeBundle) {
      if (const auto file = pdeBundle->layoutPath(kLayouts[std::size_t(mode - 1)])) {
        panelView_ = kit->loadLayout(*file, this);
        connectOutlets();
      }
    }
  }
  initializeUI();
  pdeEpilog(this, "panelView:=NSView(%@, %p)", panelView_.get(), panelView_.get());
  return panelView_.get();
}

std::u16string KorvelPrintPdeVx418JC::panelName() {
  pdeProlog(this, "panelName:");
  if (!thePDEName) thePDEName = localizedString(u"Job Control");
  pdeEpilog(this, "panelName:=NSString(%@)", *thePDEName);
  return *thePDEName;
}

std::string KorvelPrintPdeVx418JC::panelKind() {
  pdeProlog(this, "panelKind:");
  std::string kind(kJobControlPanelKind);
  pdeEpilog(this, "panelKind:=NSString(%@)", kind);
  return kind;
}

std::vector<std::string> KorvelPrintPdeVx418JC::supportedPPDOptionKeys() {
  pdeProlog(this, "supportedPPDOptionKeys:");
  std::vector<std::string> keys;
  pdeEpilog(this, "supportedPPDOptionKeys:=NSArray(%@)", keys);
  return keys;
}

void KorvelPrintPdeVx418JC::willShow() {
  pdeProlog(this, "willShow:");
  if (!hasInited) initializeUI();
  updateUI();
  pdeEpilog(this, "willShow:=void");
}

bool KorvelPrintPdeVx418JC::shouldHide() {
  pdeProlog(this, "shouldHide:");
  pdeEpilog(this, "shouldHide:=BOOL(YES)");
  return true;
}

bool KorvelPrintPdeVx418JC::shouldShowHelp() {
  pdeProlog(this, "shouldShowHelp:");
  pdeEpilog(this, "shouldShowHelp:=BOOL(YES)");
  return true;
}

void KorvelPrintPdeVx418JC::PPDOptionKeyValueDidChange(const std::string& key,
                                                       const std::string& choice) {
  pdeProlog(this, "PPDOptionKeyValueDidChange:(%@) ppdChoice:(%@)", key, choice);
  pdeEpilog(this, "PPDOptionKeyValueDidChange:ppdChoice:=void");
}

bool KorvelPrintPdeVx418JC::restoreValuesAndReturnError(std::string* error) {
  pdeProlog(this, "restoreValuesAndReturnError:(%p)", error);
  if (!panelView_) {
    panelView();
    isPanelViewRetain = true;
  }
  if (!hasInited) initializeUI();
  if (!useConstraintHandling) getPPDSettingsFromPrintSettingsOnTiger();
  getNonPPDSettingsFromPrintSettings();
  updateUI();
  RememberPreferenceBaseline();
  callRestoreValuesFunction = true;
  pdeEpilog(this, "restoreValuesAndReturnError:=BOOL(YES)");
  return true;
}

bool KorvelPrintPdeVx418JC::saveValuesAndReturnError(std::string* error) {
  pdeProlog(this, "saveValuesAndReturnError:(%p)", error);
  if (!useConstraintHandling) writePPDSettingsToPrintSettingsOnTiger();
  writeNonPPDSettingsToPrintSettings();
  callSaveValuesFunction = true;
  pdeEpilog(this, "saveValuesAndReturnError:=BOOL(YES)");
  return true;
}

bool KorvelPrintPdeVx418JC::shouldPrint() {
  pdeProlog(this, "shouldPrint:");
  PrintSettings* settings = printSettings();
  if (!callRestoreValuesFunction) restoreValuesAndReturnError(nullptr);
  if (!callSaveValuesFunction) saveValuesAndReturnError(nullptr);
  if (settings && hasInited) {
    SaveUserPreference();
    GetUserPreference();
  }
  pdeEpilog(this, "shouldPrint:=BOOL(YES)");
  return true;
}

void KorvelPrintPdeVx418JC::updateUI() {
  pdeProlog(this, "--updateUI:");
  pdeEpilog(this, "--updateUI:");
}

LifecycleFlags KorvelPrintPdeVx418JC::lifecycleFlags() const {
  return {hasInited, callRestoreValuesFunction, callSaveValuesFunction, isPanelViewRetain};
}

SummaryInfo KorvelPrintPdeVx418JC::summaryInfo() {
  pdeProlog(this, "summaryInfo:");
  SummaryInfo summary;
  auto add = [&summary](std::u16string label, std::u16string value) {
    for (auto& [k, v] : summary)
      if (k == label) {
        v = std::move(value);
        return;
      }
    summary.emplace_back(std::move(label), std::move(value));
  };
  auto trimColons = [](std::u16string s) {
    const auto first = s.find_first_not_of(u':');
    if (first == std::u16string::npos) return std::u16string();
    const auto last = s.find_last_not_of(u':');
    return s.substr(first, last - first + 1);
  };
  if (hasInited) {
    if (retentionCheckBox) {
      if (retentionCheckBox->state() != 0) {
        add(retentionCheckBox->title(), localizedString(u"On"));
        if (folderSelectionPopup) {
          if (const MenuItem* item = folderSelectionPopup.selectedItem())
            add(trimColons(folderSelectionStaticText->stringValue()), item->title);
        }
        if (suspendMatrix) {
          if (ControlRef cell = suspendMatrix.selectedCell())
            add(suspendBox->title(), cell->title());
        }
      } else {
        add(retentionCheckBox->title(), localizedString(u"Off"));
      }
    }
    if (userNameStaticText && userNameEditText)
      add(trimColons(userNameStaticText->stringValue()), userNameEditText->stringValue());
    if (jobNameStaticText && jobNameEditText)
      add(trimColons(jobNameStaticText->stringValue()), jobNameEditText->stringValue());
  }
  pdeEpilog(this, "summaryInfo:");
  return summary;
}

}  // namespace jc
