// jc_printer_simulator: the printer's folder-list service on 127.0.0.1, for
// end-to-end runs and benchmarks. Prints the port it listens on, then serves
// until SIGINT or SIGTERM, until its standard input closes (with
// --until-stdin-closes), or until its lifetime is over.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "support/printer_simulator.h"

namespace {

using jc::test::PrinterSimulator;
using Mode = PrinterSimulator::Mode;

const std::map<std::string, Mode> kModes = {
    {"folders", Mode::FolderList},
    {"refusal", Mode::Refusal},
    {"no-files", Mode::NoFiles},
    {"empty-files", Mode::EmptyFiles},
    {"prefixed", Mode::PrefixedNames},
    {"server-error", Mode::ServerError},
    {"pieces", Mode::Pieces},
    {"redirect", Mode::Redirect},
    {"stall", Mode::Stall},
    {"slow-drip", Mode::SlowDrip},
    {"close-mid-body", Mode::CloseMidBody},
    {"oversized", Mode::Oversized},
    {"custom", Mode::Custom},
};

int usage(const char* why) {
  std::fprintf(stderr,
               "jc_printer_simulator: %s\n"
               "usage: jc_printer_simulator [--mode MODE] [--folder NAME]... [--locked-folder "
               "NAME]...\n"
               "       [--count N] [--status CODE --body-file FILE] [--pieces N] [--pause-ms N]\n"
               "       [--drip-bytes N] [--delay-ms N] [--redirect-status CODE]\n"
               "       [--lifetime SECONDS] [--until-stdin-closes]\n"
               "MODE: folders refusal no-files empty-files prefixed server-error pieces redirect\n"
               "      stall slow-drip close-mid-body oversized custom\n",
               why);
  return 2;
}

long number(const char* text) {
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  return (end && *end == '\0' && value >= 0) ? value : -1;
}

}  // namespace

int main(int argc, char** argv) {
  PrinterSimulator::Options options;
  bool namedFolders = false;
  long lifetime = 600;
  bool untilStdinCloses = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    auto takeNumber = [&](long& out) {
      if (!value || (out = number(value)) < 0) return false;
      ++i;
      return true;
    };
    long n = 0;
    if (arg == "--until-stdin-closes") {
      untilStdinCloses = true;
    } else if (arg == "--mode" && value) {
      auto it = kModes.find(value);
      if (it == kModes.end()) return usage("unknown mode");
      options.mode = it->second;
      ++i;
    } else if ((arg == "--folder" || arg == "--locked-folder") && value) {
      if (!namedFolders) options.folders.clear();
      namedFolders = true;
      options.folders.push_back({value, arg == "--locked-folder", true});
      ++i;
    } else if (arg == "--count" && takeNumber(n)) {
      options.folders = jc::test::numberedFolders(static_cast<std::size_t>(n));
      namedFolders = true;
    } else if (arg == "--status" && takeNumber(n)) {
      options.status = static_cast<int>(n);
    } else if (arg == "--body-file" && value) {
      std::ifstream in(value, std::ios::binary);
      if (!in) return usage("cannot read the body file");
      std::ostringstream text;
      text << in.rdbuf();
      options.body = text.str();
      ++i;
    } else if (arg == "--pieces" && takeNumber(n)) {
      options.pieces = static_cast<int>(n);
    } else if (arg == "--pause-ms" && takeNumber(n)) {
      options.pause = std::chrono::milliseconds(n);
    } else if (arg == "--drip-bytes" && takeNumber(n)) {
      options.dripBytes = static_cast<std::size_t>(n);
    } else if (arg == "--delay-ms" && takeNumber(n)) {
      options.delay = std::chrono::milliseconds(n);
    } else if (arg == "--redirect-status" && takeNumber(n)) {
      options.redirectStatus = static_cast<int>(n);
    } else if (arg == "--lifetime" && takeNumber(n)) {
      lifetime = n;
    } else {
      return usage(("unknown or incomplete option " + arg).c_str());
    }
  }

  // The server's threads inherit the blocked signals; the main thread waits for them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  PrinterSimulator simulator(options);
  std::printf("%u\n", static_cast<unsigned>(simulator.port()));
  std::fflush(stdout);

  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(lifetime);
  while (std::chrono::steady_clock::now() < end) {
    timespec step{0, 200 * 1000 * 1000};
    if (sigtimedwait(&stopSignals, nullptr, &step) > 0) break;
    if (untilStdinCloses) {
      pollfd p{STDIN_FILENO, POLLIN, 0};
      char byte;
      if (::poll(&p, 1, 0) > 0 && ::read(STDIN_FILENO, &byte, 1) <= 0) break;
    }
  }
  return 0;
}
