// Decodes arbitrary bytes into the job's print-settings entries and lets a
// real panel restore from them and save, then restore from its own save and
// save again, twice. None of it may crash.
//
// On the panel's own entries the second save gives exactly the first. On
// arbitrary entries it may not, in two ways that follow the reader's rules: a
// user name whose hex gives no bytes leaves the (empty) field as it is, the
// save then writes no user name, and the next restore takes the full user
// name instead; and a hold bit the job's holdButton set for a field whose
// entry is read but not saved again (an unreadable pass code) is saved once,
// then dropped. So the second save must match the first apart from the user
// name entries and holdButton, and from there on restore and save must be a
// fixed point.
#include <cups/ppd.h>
#include <stdlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "fuzz/fuzz_folder.h"
#include "hosts/headless/headless_toolkit.h"
#include "platform/clock.h"
#include "platform/directory_bundle.h"
#include "plugin/host.h"
#include "plugin/panel.h"
#include "prefs/domain_store.h"
#include "settings/print_settings_keys.h"

namespace {

namespace fs = std::filesystem;

class StoppedClock final : public jc::Clock {
 public:
  std::time_t now() const override { return 1796657204; }  // 7 Dec 2026 15:26:44 UTC
};

struct PpdCloser {
  void operator()(ppd_file_t* ppd) const {
    if (ppd) ppdClose(ppd);
  }
};

// A print dialog with one printer, the job's entries and the in-memory toolkit.
class FuzzHost final : public jc::HostCallback, public jc::PrintSession, public jc::Printer {
 public:
  explicit FuzzHost(ppd_file_t* ppd) : ppd_(ppd) {}

  bool respondsToWillChangePPDOptionKeyValue() const override { return true; }
  ppd_file_t* ppdFile() override { return ppd_; }
  jc::PrintSession* printSession() override { return this; }
  jc::PrintSettings* printSettings() override { return &settings; }
  jc::Toolkit* toolkit() override { return &toolkit_; }

  jc::Printer* currentPrinter() override { return this; }
  std::optional<std::string> deviceURI() const override { return "socket://localhost:9100"; }
  std::string printerID() const override { return "Sample_MFP"; }

  jc::PrintSettings settings;

 private:
  ppd_file_t* ppd_;
  jc::HeadlessToolkit toolkit_;
};

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entriesOf(const jc::PrintSettings& settings) {
  Entries out;
  for (int i = 0; i < settings.count(); ++i)
    out.emplace_back(settings.options()[i].name, settings.options()[i].value);
  std::sort(out.begin(), out.end());
  return out;
}

Entries restoreAndSave(jc::KorvelPrintPdeVx418JC& panel, const FuzzHost& host) {
  panel.restoreValuesAndReturnError(nullptr);
  panel.saveValuesAndReturnError(nullptr);
  return entriesOf(host.settings);
}

// The entries less those that one round of restore and save may still settle.
Entries withoutSettledEntries(Entries entries) {
  namespace k = jc::keys;
  std::erase_if(entries, [](const auto& entry) {
    return entry.first == k::kUserName || entry.first == k::kUserName2 ||
           entry.first == k::kHoldButton;
  });
  return entries;
}

// The entries the bytes spell, one a line: "<suffix>=<value>" stands for the
// entry korvel.print.PrintSettings.<suffix>; a line without '=' is skipped.
jc::PrintSettings decodeEntries(std::string_view bytes) {
  jc::PrintSettings settings;
  while (!bytes.empty()) {
    const size_t end = std::min(bytes.find('\n'), bytes.size());
    const std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    settings.setValue(std::string(jc::keys::kPrefix) + std::string(line.substr(0, equals)),
                      line.substr(equals + 1));
  }
  return settings;
}

struct Dialog {
  FuzzFolder folder{"print-settings"};
  std::unique_ptr<ppd_file_t, PpdCloser> ppd;
  StoppedClock clock;
  jc::PanelEnvironment env;

  Dialog() {
    const fs::path bundle = JC_BUILD_BUNDLE_DIR;
    ppd.reset(ppdOpenFile((bundle / "printer" / "Sample_MFP.ppd").c_str()));
    if (!ppd) std::abort();
    ppdMarkDefaults(ppd.get());
    env.bundle = std::make_shared<jc::DirectoryBundle>(bundle, "en");
    env.clock = &clock;
    env.systemEncoding = jc::kCFStringEncodingMacRoman;
    env.fullUserName = u"Fuzz User";
    env.systemVersionFile = folder.path / "SystemVersion.plist";
    env.responseFile = folder.path / "vwxyz.xml";
  }

  // A fresh preference folder for each input, so inputs do not meet.
  void resetPreferences() {
    std::error_code ignored;
    fs::remove_all(folder.path / "prefs", ignored);
    env.preferences = std::make_shared<jc::FileDomainStore>(folder.path / "prefs");
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Dialog dialog;
  dialog.resetPreferences();
  FuzzHost host(dialog.ppd.get());
  host.settings = decodeEntries(std::string_view(reinterpret_cast<const char*>(data), size));

  jc::KorvelPrintPdeVx418JC panel(&host, dialog.env);
  if (!panel.panelView()) std::abort();
  panel.willShow();
  const Entries first = restoreAndSave(panel, host);

  const Entries second = restoreAndSave(panel, host);
  if (withoutSettledEntries(second) != withoutSettledEntries(first)) std::abort();
  if (restoreAndSave(panel, host) != second) std::abort();
  return 0;
}
