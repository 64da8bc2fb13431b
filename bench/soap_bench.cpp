// The folder-list exchange: one request on the loopback interface through the
// SOAP client against the same request made by the curl command-line tool,
// and parsing answers of growing size.
//
// The exchanges go to jc_printer_simulator, started here as a child process
// (found beside this executable, or at $JC_PRINTER_SIMULATOR).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "soap/folder_list_parser.h"
#include "soap/soap_client.h"

extern char** environ;

namespace jc {
namespace {

constexpr int kExchanges = 200;

std::string requestBody() {
  std::ifstream in(std::filesystem::path(JC_BUILD_BUNDLE_DIR) / "listfiles.xml", std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  if (!text.str().empty()) return text.str();
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
         "<listfiles-request><path>/</path></listfiles-request></s:Body></s:Envelope>\n";
}

bench::SimulatorProcess& simulator() {
  static bench::SimulatorProcess process(3);
  return process;
}

std::string serviceUrl() {
  return "http://127.0.0.1:" + std::to_string(simulator().port()) + "/korvel-mfp-srv";
}

using bench::scratchFolder;

void BM_ClientExchange(benchmark::State& state) {
  if (simulator().port() == 0) return state.SkipWithError("jc_printer_simulator did not start");
  const std::string body = requestBody();
  const std::vector<unsigned char> bytes(body.begin(), body.end());
  const std::string url = serviceUrl();
  const auto file = scratchFolder() / "vwxyz.xml";
  IdleRunLoop loop;
  for (auto _ : state) {
    auto client = KorvelPrintPdeVx418JCSOAPClient::initWithServerName(url, nullptr, loop, file);
    if (client->sendMessage(bytes) != KorvelPrintPdeVx418JCSOAPClient::Outcome::Success) {
      return state.SkipWithError("exchange failed");
    }
  }
}
BENCHMARK(BM_ClientExchange)->Iterations(kExchanges)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CurlCommandExchange(benchmark::State& state) {
  if (simulator().port() == 0) return state.SkipWithError("jc_printer_simulator did not start");
  const auto bodyFile = scratchFolder() / "listfiles.xml";
  std::ofstream(bodyFile, std::ios::binary) << requestBody();
  const std::string out = (scratchFolder() / "curl.xml").string();
  // Appended, not summed: GCC 12 warns falsely (-Wrestrict) on the sum at -O3.
  std::string bodyArgument = "@";
  bodyArgument += bodyFile.string();
  std::vector<std::string> args = {
      "curl",          "--silent",
      "--fail",        "--location",
      "--max-time",    "60",
      "--output",      out,
      "--header",      "SOAPAction: \"SoapActionDummy\"",
      "--header",      "Content-Type: application/soap; charset=\"utf-8\"",
      "--header",      "Cache-Control: no-cache",
      "--header",      "Pragma: no-cache",
      "--header",      "Expect:",
      "--data-binary", bodyArgument,
      serviceUrl()};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    pid_t pid = -1;
    int status = 0;
    if (posix_spawnp(&pid, "curl", nullptr, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      return state.SkipWithError("the curl command failed or is not installed");
    }
  }
}
BENCHMARK(BM_CurlCommandExchange)
    ->Iterations(kExchanges)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

const std::string& answerOf(std::size_t folders) {
  static std::map<std::size_t, std::string> answers;
  auto [it, added] = answers.try_emplace(folders);
  if (added) it->second = bench::folderListAnswer(folders);
  return it->second;
}

void BM_ParseFolderList(benchmark::State& state) {
  const auto folders = static_cast<std::size_t>(state.range(0));
  const std::string& xml = answerOf(folders);
  for (auto _ : state) {
    FolderListParse parse = parseFolderListAnswer(xml);
    if (parse.folders.size() != folders) return state.SkipWithError("wrong folder count");
    benchmark::DoNotOptimize(parse);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(folders));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(xml.size()));
}
BENCHMARK(BM_ParseFolderList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace jc

int main(int argc, char** argv) {
  return jc::bench::runWithRatios(argc, argv, [](const jc::bench::RatioReporter& reporter) {
    auto client = reporter.time("BM_ClientExchange/iterations:200/real_time");
    auto curl = reporter.time("BM_CurlCommandExchange/iterations:200/real_time");
    if (client && curl) {
      std::printf("exchange: client %.3f ms, curl command %.3f ms (%d each)\n", *client, *curl,
                  jc::kExchanges);
      std::printf("ratio client/curl = %.3f\n", *client / *curl);
    }
    // Parsing is single-threaded work: its CPU time is the steadier figure on
    // a busy machine.
    reporter.printGrowth("BM_ParseFolderList", "parse");
  });
}
