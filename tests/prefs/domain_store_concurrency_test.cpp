#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "prefs/domain_store.h"
#include "prefs/prefs_test_support.h"
#include "support/temp_dir.h"

namespace jc {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

constexpr char kDomain[] = "korvel.mfp.Shared_Queue";
constexpr int kWriters = 4;
constexpr int kRounds = 50;

std::string counterKey(int writer) { return "counter " + std::to_string(writer); }

uint64_t counterIn(plist_t domain, int writer) {
  plist_t node = domain ? plist_dict_get_item(domain, counterKey(writer).c_str()) : nullptr;
  uint64_t value = 0;
  if (node) plist_get_uint_val(node, &value);
  return value;
}

// Each round reads the domain, adds one to this writer's counter and writes
// the whole domain back: without the lock, rounds of other writers get lost.
bool incrementRounds(FileDomainStore& store, int writer) {
  for (int round = 0; round < kRounds; ++round) {
    const bool written = store.update(kDomain, [&](plist_t domain) {
      const uint64_t next = counterIn(domain, writer) + 1;
      plist_dict_set_item(domain, counterKey(writer).c_str(), plist_new_uint(next));
      return true;
    });
    if (!written) return false;
  }
  return true;
}

void expectEveryRoundKept(const fs::path& folder) {
  FileDomainStore store(folder);
  const PlistPtr domain = store.read(kDomain);
  ASSERT_TRUE(domain);
  for (int writer = 0; writer < kWriters; ++writer) {
    EXPECT_EQ(counterIn(domain.get(), writer), static_cast<uint64_t>(kRounds)) << writer;
  }
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.ends_with(".plist") || name.ends_with(".plist.lock")) << name;
  }
}

TEST(DomainStoreConcurrencyTest, WriterProcessesKeepEachOthersChanges) {
  TempDir temp;
  const fs::path folder = temp.path() / "jobcontrol";
  std::vector<pid_t> children;
  for (int writer = 0; writer < kWriters; ++writer) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      FileDomainStore store(folder);
      ::_exit(incrementRounds(store, writer) ? 0 : 1);
    }
    children.push_back(pid);
  }
  // A reader alongside never sees a torn or vanished file once one exists.
  const pid_t reader = ::fork();
  ASSERT_GE(reader, 0);
  if (reader == 0) {
    FileDomainStore store(folder);
    bool seen = false;
    for (int i = 0; i < 2000; ++i) {
      const bool present = static_cast<bool>(store.read(kDomain));
      if (seen && !present) ::_exit(2);
      seen = seen || present;
    }
    ::_exit(0);
  }
  children.push_back(reader);

  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child " << pid << " " << status;
  }
  expectEveryRoundKept(folder);
}

TEST(DomainStoreConcurrencyTest, WriterThreadsKeepEachOthersChanges) {
  TempDir temp;
  const fs::path folder = temp.path() / "jobcontrol";
  std::vector<std::thread> threads;
  std::vector<char> succeeded(kWriters, 0);
  for (int writer = 0; writer < kWriters; ++writer) {
    threads.emplace_back([&, writer] {
      FileDomainStore store(folder);  // one store per dialog
      succeeded[writer] = incrementRounds(store, writer);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int writer = 0; writer < kWriters; ++writer) EXPECT_TRUE(succeeded[writer]) << writer;
  expectEveryRoundKept(folder);
}

}  // namespace
}  // namespace jc
