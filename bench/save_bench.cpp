// The costs of a save: the cipher, digest, text and clock primitives it is made
// of, and whole saves with every field filled, through the pure writer and
// through the panel on the in-memory toolkit.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "crypto/aes.h"
#include "crypto/base64.h"
#include "crypto/md5.h"
#include "settings/spool_time.h"
#include "settings/writer.h"
#include "support/panel_fixture.h"

namespace {

// A zero-padded plain-text buffer holding `length` characters, as the writer prepares it.
struct PlainText {
  char bytes[512] = {};
  explicit PlainText(std::size_t length) { std::memset(bytes, 'k', length); }
};

void BM_AesEncryptFixedKey(benchmark::State& state) {
  const PlainText plain(static_cast<std::size_t>(state.range(0)));
  unsigned char out[512];
  for (auto _ : state) {
    jc::my_aes_encrypt(plain.bytes, out, 511);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_AesEncryptFixedKey)->Arg(16)->Arg(32)->Arg(255);

void BM_AesEncryptSpoolKey(benchmark::State& state) {
  const PlainText plain(32);
  const char* spoolTime = "Sun, 6 Dec 2026 15:26:44 +0900";
  unsigned char out[512];
  for (auto _ : state) {
    jc::my_aes_encrypt2(plain.bytes, spoolTime, out, 511);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_AesEncryptSpoolKey);

// Pass code and spool time: the 35-byte text of each digest of a save.
void BM_Md5PassCodeDigest(benchmark::State& state) {
  const char* text = "00123Sun, 6 Dec 2026 15:26:44 +0900";
  char out[33];
  for (auto _ : state) {
    jc::calcMD5(out, text);
    benchmark::DoNotOptimize(out);
  }
}
BENCHMARK(BM_Md5PassCodeDigest);

void BM_Base64Encode256(benchmark::State& state) {
  unsigned char in[256];
  for (int i = 0; i < 256; ++i) in[i] = static_cast<unsigned char>(i);
  char out[512];
  for (auto _ : state) {
    benchmark::DoNotOptimize(jc::Base64encode(out, in, sizeof in));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Base64Encode256);

void BM_GetSpoolTime(benchmark::State& state) {
  char out[32];
  for (auto _ : state) {
    benchmark::DoNotOptimize(jc::GetSpoolTime(out));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GetSpoolTime);

// Every field filled to its byte limit (the login name to two chunks), Mac
// Roman, a custom folder: the most work one save does.
jc::JobControlSettings fullSettings() {
  jc::JobControlSettings s;
  s.retention = true;
  s.suspendRow = 1;
  s.suspendKey = u"12345";
  s.folderRow = 2;
  s.folderPopupIndex = 2;
  s.folderName = u"Quarterly reports \u00e9t\u00e9";
  s.folderPassword = u"54321";
  s.loginAuthentication = true;
  s.loginNameField = true;
  s.loginName = std::u16string(255, u'n');
  s.password = std::u16string(32, u'p');
  s.userNumber = u"12345678";
  s.accountNumber = u"98765";
  s.userName = u"Ren\u00e9e Example-Longname, Dept 7";
  s.jobName = u"Budget \"2027\" final version.pdf";
  s.holdMask = jc::kHoldAll;
  return s;
}

void BM_FullSaveWriter(benchmark::State& state) {
  const jc::JobControlSettings settings = fullSettings();
  char spoolTime[32];
  jc::GetSpoolTime(spoolTime);
  jc::WriterContext context;
  context.spoolTime = spoolTime;
  context.checkHardDisk = true;
  context.systemEncoding = jc::kCFStringEncodingMacRoman;
  jc::PrintSettings first;
  jc::writeJobControlEntries(settings, first, context);
  if (first.count() != 25) state.SkipWithError("the writer did not write every entry");
  for (auto _ : state) {
    jc::PrintSettings out;
    jc::writeJobControlEntries(settings, out, context);
    benchmark::DoNotOptimize(out.count());
  }
}
BENCHMARK(BM_FullSaveWriter)->Unit(benchmark::kMicrosecond);

// The panel's save: its spool time, the controls read into settings, the writer.
void BM_FullSavePanel(benchmark::State& state) {
  jc::test::PanelFixture f;
  f.env.capabilities.uiMode = 5;
  f.env.capabilities.hardDisk = true;
  f.env.systemEncoding = jc::kCFStringEncodingMacRoman;
  jc::KorvelPrintPdeVx418JC& panel = f.open();
  const jc::JobControlSettings s = fullSettings();
  f.control("retentionCheckBox").setState(1);
  f.control("suspendMatrix").selectCellAtRow(*s.suspendRow);
  f.control("suspendKeyEditText").setStringValue(*s.suspendKey);
  f.control("folderSelectionMatrix").selectCellAtRow(*s.folderRow);
  f.control("folderNameEditText").setStringValue(*s.folderName);
  f.control("folderPasswordEditText").setStringValue(*s.folderPassword);
  f.control("loginNameEditText").setStringValue(*s.loginName);
  f.control("passwordEditText").setStringValue(*s.password);
  f.control("userNumberEditText").setStringValue(*s.userNumber);
  f.control("accountNumberEditText").setStringValue(*s.accountNumber);
  f.control("userNameEditText").setStringValue(*s.userName);
  f.control("jobNameEditText").setStringValue(*s.jobName);
  for (const char* box :
       {"suspendKeyButton", "passwordButton", "userNameButton", "jobNameButton",
        "folderPasswordButton", "userNumberButton", "accountNumberButton", "folderNameButton"})
    f.control(box).setState(1);
  panel.writeNonPPDSettingsToPrintSettings();
  if (f.host.settings.count() != 25) state.SkipWithError("the panel did not write every entry");
  for (auto _ : state) {
    f.host.settings = jc::PrintSettings();
    panel.writeNonPPDSettingsToPrintSettings();
    benchmark::DoNotOptimize(f.host.settings.count());
  }
}
BENCHMARK(BM_FullSavePanel)->Unit(benchmark::kMicrosecond);

// Keeps every run's real and CPU time per iteration (the medians when
// repeated) and prints the console report as usual.
struct Times {
  double real = 0, cpu = 0;  // nanoseconds
};

class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const double toNs = 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      const Times t{run.GetAdjustedRealTime() * toNs, run.GetAdjustedCPUTime() * toNs};
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") median_[name] = t;
      } else {
        single_[name] = t;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, Times> times() const {
    std::map<std::string, Times> all = single_;
    for (const auto& [name, t] : median_) all[name] = t;
    return all;
  }

 private:
  std::map<std::string, Times> single_, median_;
};

}  // namespace

// The whole saves against the sum of one run of each primitive, and the
// target. CPU time is the steadier measure on a machine that is busy.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  Times primitives;
  std::vector<std::pair<std::string, Times>> saves;
  for (const auto& [name, t] : reporter.times()) {
    if (name.rfind("BM_FullSave", 0) == 0) {
      saves.emplace_back(name, t);
    } else {
      primitives.real += t.real;
      primitives.cpu += t.cpu;
    }
  }
  if (primitives.cpu <= 0) return 0;
  std::printf("primitives' total (one run of each): real %.2f us, CPU %.2f us\n",
              primitives.real / 1000, primitives.cpu / 1000);
  for (const auto& [name, t] : saves)
    std::printf(
        "%s: real %.2f us (%.1f x primitives), CPU %.2f us (%.1f x primitives); "
        "target 50 us: %s\n",
        name.c_str(), t.real / 1000, t.real / primitives.real, t.cpu / 1000, t.cpu / primitives.cpu,
        t.cpu < 50000 ? "met" : "MISSED");
  return 0;
}
