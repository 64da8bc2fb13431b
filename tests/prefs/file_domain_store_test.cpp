#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "prefs/domain_store.h"
#include "prefs/plist_xml_reader.h"
#include "prefs/prefs_test_support.h"
#include "support/file_text.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace jc {
namespace {

namespace fs = std::filesystem;
using prefs_test::xmlOf;
using test::readFile;
using test::TempDir;
using test::writeFile;

constexpr char kDomain[] = "korvel.mfp.Sample_MFP";

mode_t modeOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

std::optional<std::string> stringAt(plist_t dict, const char* key) {
  plist_t node = dict ? plist_dict_get_item(dict, key) : nullptr;
  if (!node || plist_get_node_type(node) != PLIST_STRING) return std::nullopt;
  char* value = nullptr;
  plist_get_string_val(node, &value);
  std::string text(value ? value : "");
  std::free(value);
  return text;
}

bool setString(FileDomainStore& store, const std::string& domain, const char* key,
               const std::string& value) {
  return store.update(domain, [&](plist_t d) {
    plist_dict_set_item(d, key, plist_new_string(value.c_str()));
    return true;
  });
}

// Names in the folder other than domain and lock files: temporary files left
// behind, set-aside copies.
std::vector<std::string> strayFiles(const fs::path& folder) {
  std::vector<std::string> stray;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with(".plist") && !name.ends_with(".plist.lock")) stray.push_back(name);
  }
  return stray;
}

class FileDomainStoreTest : public ::testing::Test {
 protected:
  TempDir temp_;
  fs::path folder_ = temp_.path() / "config" / "jobcontrol";
  FileDomainStore store_{folder_};
};

TEST_F(FileDomainStoreTest, RoundTripsANestedDictionary) {
  ASSERT_TRUE(store_.update(kDomain, [](plist_t domain) {
    plist_t jc = plist_new_dict();
    plist_dict_set_item(jc, "Release Number", plist_new_string("2.00"));
    plist_dict_set_item(jc, "hold button", plist_new_uint(static_cast<uint64_t>(-1)));
    plist_dict_set_item(jc, "authentication", plist_new_bool(1));
    plist_dict_set_item(jc, "user name", plist_new_string("Zo\xC3\xAB <&> \"x\""));
    plist_t files = plist_new_array();
    for (const char* name : {"Scans", "Invoices"}) {
      plist_t entry = plist_new_dict();
      plist_dict_set_item(entry, "name", plist_new_string(name));
      plist_dict_set_item(entry, "add", plist_new_bool(0));
      plist_array_append_item(files, entry);
    }
    plist_dict_set_item(jc, "files", files);
    plist_dict_set_item(domain, "Job Control", jc);
    return true;
  }));
  const std::string written = readFile(store_.fileFor(kDomain));

  const PlistPtr read = store_.read(kDomain);
  ASSERT_TRUE(read);
  EXPECT_EQ(xmlOf(read.get()), written);
  plist_t jc = plist_dict_get_item(read.get(), "Job Control");
  uint64_t hold = 0;
  plist_get_uint_val(plist_dict_get_item(jc, "hold button"), &hold);
  EXPECT_EQ(static_cast<int32_t>(hold), -1);
  EXPECT_EQ(stringAt(plist_array_get_item(plist_dict_get_item(jc, "files"), 1), "name"),
            "Invoices");
}

TEST_F(FileDomainStoreTest, MissingDomainReadsNullWithoutCreatingAnything) {
  EXPECT_FALSE(store_.read(kDomain));
  EXPECT_FALSE(fs::exists(folder_));
  ASSERT_TRUE(setString(store_, "other", "a", "b"));
  EXPECT_FALSE(store_.read(kDomain));
  EXPECT_TRUE(strayFiles(folder_).empty());
}

TEST_F(FileDomainStoreTest, FolderAndFilesArePrivateEvenWithUmaskZero) {
  const mode_t previous = ::umask(0);
  const bool written = setString(store_, kDomain, "pass code", "0123456789ABCDEF");
  ::umask(previous);
  ASSERT_TRUE(written);
  EXPECT_EQ(modeOf(temp_.path() / "config"), 0700u);  // a missing parent
  EXPECT_EQ(modeOf(folder_), 0700u);
  EXPECT_EQ(modeOf(store_.fileFor(kDomain)), 0600u);
  EXPECT_EQ(modeOf(store_.fileFor(kDomain).string() + ".lock"), 0600u);

  // A folder of ours that was opened up is narrowed again.
  ASSERT_EQ(::chmod(folder_.c_str(), 0755), 0);
  ASSERT_TRUE(setString(store_, kDomain, "a", "b"));
  EXPECT_EQ(modeOf(folder_), 0700u);
}

TEST_F(FileDomainStoreTest, HostileDomainNamesStayInsideTheFolder) {
  const std::vector<std::string> domains = {"../x",
                                            "a/b",
                                            "..",
                                            ".",
                                            "",
                                            "x\n",
                                            "Office Printer 2",
                                            "Dr\xC3\xBC"
                                            "cker \xE2\x82\xAC",
                                            "a%2Fb",
                                            "/etc/passwd",
                                            std::string(1000, 'n'),
                                            std::string(999, 'n') + "m"};
  for (const std::string& domain : domains) {
    SCOPED_TRACE(domain.substr(0, 30));
    ASSERT_TRUE(setString(store_, domain, "name", domain));
    EXPECT_EQ(store_.fileFor(domain).parent_path(), folder_);
  }
  std::set<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder_)) {
    if (entry.path().filename().string().ends_with(".plist")) files.insert(entry.path());
  }
  EXPECT_EQ(files.size(), domains.size());
  for (const std::string& domain : domains) {
    SCOPED_TRACE(domain.substr(0, 30));
    EXPECT_TRUE(files.count(store_.fileFor(domain)));
    EXPECT_EQ(stringAt(store_.read(domain).get(), "name"), domain);
  }
  // Nothing landed beside the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.parent_path()), fs::directory_iterator()),
            1);
}

TEST_F(FileDomainStoreTest, CorruptFileIsSetAsideAndReadsMissing) {
  ASSERT_TRUE(setString(store_, kDomain, "a", "b"));
  const fs::path file = store_.fileFor(kDomain);
  const fs::path corrupt = file.string() + ".corrupt";
  const fs::path corrupt1 = file.string() + ".corrupt.1";

  writeFile(file, "<plist><dict><key>torn");
  EXPECT_FALSE(store_.read(kDomain));
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(readFile(corrupt), "<plist><dict><key>torn");

  // A root that is not a dictionary is no domain either; the first copy stays.
  writeFile(file, "<plist><string>x</string></plist>");
  EXPECT_FALSE(store_.read(kDomain));
  EXPECT_EQ(readFile(corrupt), "<plist><dict><key>torn");
  EXPECT_EQ(readFile(corrupt1), "<plist><string>x</string></plist>");

  // A write sets a bad file aside as well, then writes a good one.
  writeFile(file, "");
  ASSERT_TRUE(setString(store_, kDomain, "fresh", "yes"));
  EXPECT_TRUE(fs::exists(file.string() + ".corrupt.2"));
  const PlistPtr read = store_.read(kDomain);
  EXPECT_EQ(stringAt(read.get(), "fresh"), "yes");
  EXPECT_FALSE(stringAt(read.get(), "a").has_value());
}

std::string nestedArrays(int depth) {
  std::string xml = "<plist><dict><key>deep</key>";
  for (int i = 0; i < depth; ++i) xml += "<array>";
  for (int i = 0; i < depth; ++i) xml += "</array>";
  return xml + "</dict></plist>";
}

// A valid dictionary of exactly `size` bytes.
std::string dictionaryOfSize(std::size_t size) {
  const std::string head = "<plist><dict><key>pad</key><string>";
  const std::string tail = "</string></dict></plist>";
  return head + std::string(size - head.size() - tail.size(), 'p') + tail;
}

TEST_F(FileDomainStoreTest, UnreadableFileIsSetAsideAndTheNextSaveWorks) {
  constexpr std::size_t kLimit = 64 * 1024;
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"nested 200,000 levels deep", nestedArrays(200'000)},
      {"cut short", dictionaryOfSize(4096).substr(0, 2000)},
      {"over the size limit", dictionaryOfSize(kLimit + 1)},
      {"a NUL byte inside a string",
       "<plist><dict><key>Job Control</key><dict><key>login name</key><array><string>ab" +
           std::string(1, '\0') + "c</string></array></dict></dict></plist>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir temp;
    FileDomainStore store(temp.path(), kLimit);
    const fs::path file = store.fileFor(kDomain);
    writeFile(file, c.bytes);

    EXPECT_FALSE(store.read(kDomain));
    EXPECT_EQ(readFile(file.string() + ".corrupt"), c.bytes);
    ASSERT_TRUE(setString(store, kDomain, "fresh", "yes"));
    EXPECT_EQ(stringAt(store.read(kDomain).get(), "fresh"), "yes");
    EXPECT_EQ(readFile(file.string() + ".corrupt"), c.bytes);
  }
  // At the limit a file is still read.
  TempDir temp;
  FileDomainStore store(temp.path(), kLimit);
  writeFile(store.fileFor(kDomain), dictionaryOfSize(kLimit));
  EXPECT_TRUE(store.read(kDomain));
}

// The domain of a printer that lists `count` folders.
bool saveFolders(FileDomainStore& store, int count) {
  return store.update(kDomain, [count](plist_t domain) {
    plist_t files = plist_new_array();
    for (int i = 0; i < count; ++i) {
      plist_t entry = plist_new_dict();
      plist_dict_set_item(entry, "name", plist_new_string(("Folder " + std::to_string(i)).c_str()));
      plist_dict_set_item(entry, "password", plist_new_bool(0));
      plist_dict_set_item(entry, "dir", plist_new_bool(1));
      plist_dict_set_item(entry, "add", plist_new_bool(0));
      plist_array_append_item(files, entry);
    }
    plist_t jc = plist_new_dict();
    plist_dict_set_item(jc, "files", files);
    plist_dict_set_item(domain, "Job Control", jc);
    return true;
  });
}

TEST_F(FileDomainStoreTest, AHundredThousandFoldersRoundTrip) {
  ASSERT_TRUE(saveFolders(store_, 100'000));
  EXPECT_GT(fs::file_size(store_.fileFor(kDomain)), 17'000'000u);

  const PlistPtr read = store_.read(kDomain);
  ASSERT_TRUE(read);
  plist_t files = plist_dict_get_item(plist_dict_get_item(read.get(), "Job Control"), "files");
  ASSERT_EQ(plist_array_get_size(files), 100'000u);
  EXPECT_EQ(stringAt(plist_array_get_item(files, 99'999), "name"), "Folder 99999");
  EXPECT_TRUE(strayFiles(folder_).empty());
}

TEST_F(FileDomainStoreTest, ADomainOverTheLimitIsNotWrittenAndTheOldFileStays) {
  FileDomainStore store(folder_, 64 * 1024);
  ASSERT_TRUE(saveFolders(store, 10));
  const std::string before = readFile(store.fileFor(kDomain));

  const DomainUpdate refused = store.update(kDomain, [](plist_t domain) {
    plist_dict_set_item(domain, "big", plist_new_string(std::string(64 * 1024, 'b').c_str()));
    return true;
  });
  EXPECT_FALSE(refused.written);
  EXPECT_NE(refused.failure.text().find("more than the 65536"), std::string::npos)
      << refused.failure.text();
  EXPECT_EQ(readFile(store.fileFor(kDomain)), before);
  EXPECT_TRUE(store.read(kDomain));
  EXPECT_TRUE(strayFiles(folder_).empty());
}

TEST_F(FileDomainStoreTest, PlantedSymlinkIsReplacedNotFollowed) {
  fs::create_directories(folder_);
  const fs::path target = temp_.path() / "target.plist";
  const std::string targetBytes =
      "<plist><dict><key>elsewhere</key><string>keep me</string></dict></plist>";
  writeFile(target, targetBytes);
  const fs::path file = store_.fileFor(kDomain);
  fs::create_symlink(target, file);

  EXPECT_FALSE(store_.read(kDomain));
  ASSERT_TRUE(setString(store_, kDomain, "a", "b"));
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(file)));
  EXPECT_EQ(readFile(target), targetBytes);
  const PlistPtr read = store_.read(kDomain);
  EXPECT_EQ(stringAt(read.get(), "a"), "b");
  EXPECT_FALSE(stringAt(read.get(), "elsewhere").has_value());
}

TEST_F(FileDomainStoreTest, EntriesBesideTheChangedOneSurvive) {
  ASSERT_TRUE(store_.update(kDomain, [](plist_t domain) {
    plist_dict_set_item(domain, "Other Tool", plist_new_string("untouched"));
    plist_dict_set_item(domain, "Job Control", plist_new_dict());
    return true;
  }));
  ASSERT_TRUE(store_.update(kDomain, [](plist_t domain) {
    plist_dict_set_item(plist_dict_get_item(domain, "Job Control"), "job name",
                        plist_new_string("Report"));
    return true;
  }));
  const PlistPtr read = store_.read(kDomain);
  EXPECT_EQ(stringAt(read.get(), "Other Tool"), "untouched");
  EXPECT_EQ(stringAt(plist_dict_get_item(read.get(), "Job Control"), "job name"), "Report");
}

TEST_F(FileDomainStoreTest, FailingChangeWritesNothing) {
  EXPECT_FALSE(store_.update(kDomain, [](plist_t domain) {
    plist_dict_set_item(domain, "a", plist_new_string("b"));
    return false;
  }));
  EXPECT_FALSE(fs::exists(store_.fileFor(kDomain)));

  ASSERT_TRUE(setString(store_, kDomain, "a", "old"));
  const std::string before = readFile(store_.fileFor(kDomain));
  EXPECT_FALSE(store_.update(kDomain, [](plist_t domain) {
    plist_dict_set_item(domain, "a", plist_new_string("new"));
    return false;
  }));
  EXPECT_EQ(readFile(store_.fileFor(kDomain)), before);
  EXPECT_TRUE(strayFiles(folder_).empty());
}

TEST_F(FileDomainStoreTest, TreeTooDeepToReadBackIsNotWritten) {
  ASSERT_TRUE(setString(store_, kDomain, "a", "old"));
  const std::string before = readFile(store_.fileFor(kDomain));
  EXPECT_FALSE(store_.update(kDomain, [](plist_t domain) {
    plist_t inner = plist_new_array();
    for (int i = 0; i < kMaxPlistNesting; ++i) {
      plist_t outer = plist_new_array();
      plist_array_append_item(outer, inner);
      inner = outer;
    }
    plist_dict_set_item(domain, "deep", inner);
    return true;
  }));
  EXPECT_EQ(readFile(store_.fileFor(kDomain)), before);
}

TEST_F(FileDomainStoreTest, FailedWriteLeavesOldFileAndNoTemporaryFile) {
  // A directory where the domain file belongs makes the final rename fail.
  ASSERT_TRUE(setString(store_, "other", "a", "b"));
  const std::string otherBefore = readFile(store_.fileFor("other"));
  fs::create_directory(store_.fileFor(kDomain));
  EXPECT_FALSE(setString(store_, kDomain, "a", "b"));
  EXPECT_TRUE(fs::is_directory(store_.fileFor(kDomain)));
  EXPECT_TRUE(strayFiles(folder_).empty());
  EXPECT_EQ(readFile(store_.fileFor("other")), otherBefore);
}

TEST_F(FileDomainStoreTest, UnusableFolderFailsQuietly) {
  writeFile(temp_.path() / "config", "a file, not a folder");
  EXPECT_FALSE(setString(store_, kDomain, "a", "b"));
  EXPECT_FALSE(store_.read(kDomain));

  FileDomainStore nowhere{fs::path()};
  EXPECT_FALSE(setString(nowhere, kDomain, "a", "b"));
  EXPECT_FALSE(nowhere.read(kDomain));
}

TEST(FileDomainStoreDefaultFolderTest, FollowsXdgThenHomeThenPasswordEntry) {
  test::ScopedEnv env;
  env.set("XDG_CONFIG_HOME", "/xdg/config").set("HOME", "/home/someone");
  EXPECT_EQ(FileDomainStore::defaultFolder(), fs::path("/xdg/config/jobcontrol"));

  env.set("XDG_CONFIG_HOME", "relative/config");  // not an absolute path: ignored
  EXPECT_EQ(FileDomainStore::defaultFolder(), fs::path("/home/someone/.config/jobcontrol"));
  env.set("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(FileDomainStore::defaultFolder(), fs::path("/home/someone/.config/jobcontrol"));

  env.set("HOME", std::nullopt);
  const fs::path fromPasswd = FileDomainStore::defaultFolder();
  EXPECT_TRUE(fromPasswd.is_absolute()) << fromPasswd;
  EXPECT_EQ(fromPasswd.filename(), "jobcontrol");
  EXPECT_EQ(fromPasswd.parent_path().filename(), ".config");
}

}  // namespace
}  // namespace jc
