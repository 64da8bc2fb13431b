// A panel on the in-memory toolkit with the build tree's resources, a host
// that answers from memory and a private preferences folder.
#pragma once

#include <cups/ppd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "hosts/headless/headless_toolkit.h"
#include "hosts/headless/headless_view.h"
#include "platform/directory_bundle.h"
#include "plugin/panel.h"
#include "prefs/domain_store.h"
#include "support/temp_dir.h"

namespace jc::test {

// A clock stopped at one moment.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(std::time_t t) : t_(t) {}
  std::time_t now() const override { return t_; }
  void set(std::time_t t) { t_ = t; }

 private:
  std::time_t t_;
};

std::filesystem::path buildBundleFolder();
std::filesystem::path samplePpdPath();
std::filesystem::path testDataPath(const std::string& relative);
std::shared_ptr<DirectoryBundle> testBundle(const std::string& language = "en");

// A parsed PPD with its defaults marked.
struct PpdCloser {
  void operator()(ppd_file_t* ppd) const {
    if (ppd) ppdClose(ppd);
  }
};
using PpdPtr = std::unique_ptr<ppd_file_t, PpdCloser>;
PpdPtr openPpd(const std::filesystem::path& file);

class TestHost final : public HostCallback, public PrintSession, public Printer {
 public:
  TestHost();

  bool respondsToWillChangePPDOptionKeyValue() const override { return constraintHandling; }
  ppd_file_t* ppdFile() override { return ppd.get(); }
  PrintSession* printSession() override { return hasPrinter ? this : nullptr; }
  PrintSettings* printSettings() override { return hasSettings ? &settings : nullptr; }
  bool willChangePPDOptionKeyValue(const char* option, const char* choice) override {
    ++willChangeCalls;
    return willChange ? willChange(option, choice) : true;
  }
  Toolkit* toolkit() override { return withToolkit ? &headless : nullptr; }
  RunLoop* runLoop() override { return loop; }

  Printer* currentPrinter() override { return this; }
  std::optional<std::string> deviceURI() const override { return uri; }
  std::string printerID() const override { return id; }

  bool constraintHandling = true;
  PpdPtr ppd;
  bool hasPrinter = true;
  std::optional<std::string> uri = "socket://localhost:9100";
  std::string id = "Sample_MFP";
  bool hasSettings = true;
  PrintSettings settings;
  bool withToolkit = true;
  HeadlessToolkit headless;
  RunLoop* loop = nullptr;
  std::function<bool(const char*, const char*)> willChange;
  int willChangeCalls = 0;
};

// Everything a panel test needs. Construct, adjust `host` and `env`, then make().
struct PanelFixture {
  PanelFixture();

  KorvelPrintPdeVx418JC& make();
  // The panel after panelView, willShow and restore, as a dialog opens it.
  KorvelPrintPdeVx418JC& open();
  HeadlessView* view() const;
  HeadlessControl& control(const std::string& name) const;  // fails the test when absent
  std::shared_ptr<FileDomainStore> store() const { return store_; }

  TempDir dir;
  TestHost host;
  FixedClock clock{1796657204};  // Mon, 7 Dec 2026 15:26:44 UTC
  PanelEnvironment env;
  std::unique_ptr<KorvelPrintPdeVx418JC> panel;

 private:
  std::shared_ptr<FileDomainStore> store_;
};

}  // namespace jc::test
