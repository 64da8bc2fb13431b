#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "prefs/domain_store.h"
#include "soap/response_file.h"
#include "support/file_text.h"
#include "support/temp_dir.h"

namespace jc {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

// Every name in `folder` but the ones listed.
std::vector<std::string> namesBesides(const fs::path& folder, const std::vector<fs::path>& known) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    bool isKnown = false;
    for (const fs::path& file : known) isKnown = isKnown || entry.path() == file;
    if (!isKnown) names.push_back(entry.path().filename().string());
  }
  return names;
}

// A writer of whole files, as each of the project's file writers is used.
struct Writer {
  const char* name;
  // Writes `contents` to the file it owns in `folder`; answers its path.
  std::function<bool(const fs::path& folder, const std::string& contents)> write;
  std::function<fs::path(const fs::path& folder)> file;
};

std::vector<Writer> writers() {
  auto domainStore = [](const fs::path& folder, const std::string& contents) {
    FileDomainStore store(folder);
    return store.update("korvel.mfp.Killed", [&](plist_t domain) {
      plist_dict_set_item(domain, "blob", plist_new_string(contents.c_str()));
      return true;
    });
  };
  return {
      {"response file",
       [](const fs::path& folder, const std::string& contents) {
         return writeResponseFile(folder / "vwxyz.xml", contents);
       },
       [](const fs::path& folder) { return folder / "vwxyz.xml"; }},
      {"preference domain", domainStore,
       [](const fs::path& folder) { return FileDomainStore(folder).fileFor("korvel.mfp.Killed"); }},
  };
}

// Starts a child that rewrites the file over and over, and kills it while it
// writes.
void killWriterMidWrite(const Writer& writer, const fs::path& folder) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(ready[0]);
    const std::string big(3u << 20, 'x');
    const char one = '1';
    if (::write(ready[1], &one, 1) != 1) ::_exit(1);
    for (;;) writer.write(folder, big);
  }
  ::close(ready[1]);
  char signal = 0;
  ASSERT_EQ(::read(ready[0], &signal, 1), 1);
  ::close(ready[0]);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  ::kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
}

TEST(AtomicFileTest, AWriterKilledMidWriteLeavesNoTemporaryFile) {
  for (const Writer& writer : writers()) {
    SCOPED_TRACE(writer.name);
    TempDir temp;
    const fs::path file = writer.file(temp.path());
    const fs::path lock = file.string() + ".lock";
    ASSERT_TRUE(writer.write(temp.path(), "before"));

    killWriterMidWrite(writer, temp.path());
    ASSERT_TRUE(writer.write(temp.path(), "after"));
    EXPECT_NE(readFile(file).find("after"), std::string::npos);
    EXPECT_EQ(namesBesides(temp.path(), {file, lock}), std::vector<std::string>());
  }
}

pid_t deadProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST(AtomicFileTest, RemovesOnlyTheTemporaryFilesOfGoneWriters) {
  TempDir temp;
  const fs::path file = temp.path() / "settings.json";
  const std::string self = std::to_string(::getpid());
  const fs::path deadWriter =
      temp.path() / (".settings.json.tmp-" + std::to_string(deadProcess()) + "-0");
  const fs::path oldWriter = temp.path() / (".settings.json.tmp-" + self + "-1");
  const fs::path liveWriter = temp.path() / (".settings.json.tmp-" + self + "-2");
  const fs::path otherTarget =
      temp.path() / (".other.json.tmp-" + std::to_string(deadProcess()) + "-3");
  for (const fs::path& stray : {deadWriter, oldWriter, liveWriter, otherTarget})
    writeFile(stray, "x");
  fs::last_write_time(oldWriter, fs::file_time_type::clock::now() -
                                     std::chrono::seconds(kStaleTemporaryAgeSeconds + 60));

  ASSERT_FALSE(replaceFileAtomically(file, "{}", 0600));
  EXPECT_FALSE(fs::exists(deadWriter));
  EXPECT_FALSE(fs::exists(oldWriter));
  EXPECT_TRUE(fs::exists(liveWriter));
  EXPECT_TRUE(fs::exists(otherTarget));
  EXPECT_EQ(readFile(file), "{}");
}

TEST(AtomicFileTest, GivesExactlyTheModeAndReplacesALinkUnfollowed) {
  TempDir temp;
  const fs::path outside = temp.path() / "outside";
  writeFile(outside, "keep");
  const struct {
    mode_t mode;
    bool linkFirst;
  } cases[] = {{0600, false}, {0644, false}, {0600, true}};
  const mode_t previous = ::umask(077);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    const fs::path file = temp.path() / "file";
    fs::remove(file);
    if (c.linkFirst) fs::create_symlink(outside, file);
    ASSERT_FALSE(replaceFileAtomically(file, "new", c.mode));
    struct stat info {};
    ASSERT_EQ(::lstat(file.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, c.mode);
    EXPECT_EQ(readFile(file), "new");
  }
  ::umask(previous);
  EXPECT_EQ(readFile(outside), "keep");
}

TEST(AtomicFileTest, AFailedReplaceLeavesTheTargetAndNoTemporaryFile) {
  TempDir temp;
  const fs::path folderAtTarget = temp.path() / "target";
  fs::create_directory(folderAtTarget);
  const std::error_code error = replaceFileAtomically(folderAtTarget, "new", 0600);
  EXPECT_TRUE(error);
  EXPECT_TRUE(fs::is_directory(folderAtTarget));
  EXPECT_EQ(namesBesides(temp.path(), {folderAtTarget}), std::vector<std::string>());

  EXPECT_EQ(replaceFileAtomically(temp.path() / "missing" / "file", "x", 0600),
            std::make_error_code(std::errc::no_such_file_or_directory));
}

}  // namespace
}  // namespace jc
