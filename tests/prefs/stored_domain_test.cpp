#include "prefs/stored_domain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"
#include "prefs/domain_store.h"
#include "prefs/prefs_test_support.h"
#include "support/file_text.h"
#include "support/temp_dir.h"

namespace jc {
namespace {

constexpr char kDomain[] = "korvel.mfp.Sample_MFP";

FolderList awkwardFolders() {
  FolderList list;
  const char* names[] = {"Scans",
                         "A & B <c> d>e",
                         " spaced\t\r\n",
                         "",
                         "\xE6\x97\xA5\xE6\x9C\xAC",
                         "\xF0\x9F\x98\x80",
                         "&amp;",
                         "\xFF\xFE bad",
                         "quote\" 'apos'",
                         "]]>"};
  int i = 0;
  for (const char* name : names) {
    list.push_back(FolderEntry{fromUtf8(name), i % 2 == 0, i % 3 == 0, i % 5 == 0});
    ++i;
  }
  return list;
}

// A domain as the store writes it, with entries before and after the list.
std::string domainText(const FolderList& folders) {
  PlistPtr root(plist_new_dict());
  plist_dict_set_item(root.get(), "before", plist_new_string("x"));
  plist_t jobControl = plist_new_dict();
  plist_dict_set_item(jobControl, "Model Name", plist_new_string("Korvel"));
  plist_t files = plist_new_array();
  plist_dict_set_item(jobControl, "files", files);
  plist_dict_set_item(jobControl, "address", plist_new_string("192.0.2.7"));
  plist_dict_set_item(root.get(), "Job Control", jobControl);
  plist_dict_set_item(root.get(), "after", plist_new_real(1.5));
  return plistXml(root.get(), {{files, folderListValue(folders)}});
}

// What the store makes of `xml` when read one way: whether it is a domain,
// its folder list, and the text a rewrite of what was read gives.
struct Reading {
  bool found;
  std::optional<FolderList> folders;
  std::string rewritten;
  bool operator==(const Reading&) const = default;
};

Reading readingOf(std::string_view xml, StoredFolders how) {
  const StoredDomain domain = StoredDomain::parse(xml, how);
  StreamedValues streamed;
  domain.keepFolders(domain.dictionary(), streamed);
  return {static_cast<bool>(domain), domain.folders(),
          domain ? plistXml(domain.dictionary(), streamed) : ""};
}

void replace(std::string& text, std::string_view from, std::string_view to) {
  const auto at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  text.replace(at, from.size(), to);
}

TEST(StoredDomainTest, StreamedListMatchesLibplistAndRewritesByteForByte) {
  for (const FolderList& folders : {awkwardFolders(), FolderList{}}) {
    const std::string xml = domainText(folders);
    const Reading streamed = readingOf(xml, StoredFolders::Read);
    EXPECT_EQ(streamed, readingOf(xml, StoredFolders::AsNodes));
    EXPECT_EQ(streamed.folders, folders);
    EXPECT_EQ(streamed.rewritten, xml);
  }
}

// Documents off the store's form, unusual or damaged around the list: each
// reads as libplist reads it, the damaged ones as no domain at all.
TEST(StoredDomainTest, UnusualAndDamagedDocumentsReadAsLibplistReadsThem) {
  const std::string good = domainText(awkwardFolders());
  const struct {
    const char* from;
    const char* to;
    bool found;
  } edits[] = {
      {"<string>Scans</string>", "<string>Sc<!-- c -->ans</string>", true},
      {"<string>Scans</string>", "<string><![CDATA[Sc&ans]]></string>", true},
      {"<string>Scans</string>", "<string>&#83;cans</string>", true},
      {"<string>Scans</string>", "<string>Sc&quot;ans</string>", true},
      {"<string></string>", "<string/>", true},
      {"<key>password</key>\n\t\t\t\t<true/>", "<key>password</key><string>yes</string>", true},
      {"<key>name</key>\n\t\t\t\t<string>Scans</string>", "", true},
      {"<key>add</key>\n\t\t\t\t<true/>", "<key>add</key><true/><key>extra</key><true/>", true},
      {"<key>address</key>", "<key>files</key><array/><key>address</key>", true},
      {"<key>after</key>", "<key>Job Control</key><dict/><key>after</key>", true},
      {"<key>files</key>", "<key>files </key>", true},
      {"<key>files</key>", "<key>&#102;iles</key>", true},
      {"<key>before</key>", "<!-- <key>files</key> --><key>before</key>", true},
      {"<string>Scans</string>", "<string>Sc&ans</string>", false},
      {"<string>Scans</string>", "<string>Sc<b/>ans</string>", false},
      {"<string>Scans</string>", "<string>Scans</strin>", false},
      {"<true/>", "<maybe/>", false},
      {"</array>", "", false},
      {"<key>dir</key>", "<key>dir</key><key>dir</key>", false},
  };
  for (const auto& edit : edits) {
    SCOPED_TRACE(std::string(edit.from) + " -> " + edit.to);
    std::string xml = good;
    replace(xml, edit.from, edit.to);
    const Reading streamed = readingOf(xml, StoredFolders::Read);
    EXPECT_EQ(streamed, readingOf(xml, StoredFolders::AsNodes));
    EXPECT_EQ(streamed.found, edit.found);
  }
  for (std::size_t cut : {good.size() / 2, good.size() - 10}) {
    SCOPED_TRACE(cut);
    const std::string xml = good.substr(0, cut);
    const Reading asNodes = readingOf(xml, StoredFolders::AsNodes);
    EXPECT_EQ(readingOf(xml, StoredFolders::Read), asNodes);
    EXPECT_EQ(static_cast<bool>(StoredDomain::parse(xml, StoredFolders::Skip)), asNodes.found);
  }
}

class StoredDomainUpdateTest : public ::testing::Test {
 protected:
  test::TempDir temp_;
  FileDomainStore store_{temp_.path()};
  FolderList folders_ = awkwardFolders();

  void storeFolders() { test::writeFile(store_.fileFor(kDomain), domainText(folders_)); }
  std::string stored() { return test::readFile(store_.fileFor(kDomain)); }
};

// A change that leaves the list, with the list read or skipped, writes what
// it writes through libplist's nodes.
TEST_F(StoredDomainUpdateTest, ListLeftByTheChangeIsWrittenBackAsItWas) {
  auto setAddress = [](plist_t domain, StreamedValues&) {
    plist_t jobControl = plist_dict_get_item(domain, "Job Control");
    plist_dict_set_item(jobControl, "address", plist_new_string("198.51.100.1"));
    return true;
  };
  storeFolders();
  ASSERT_TRUE(store_.update(kDomain, setAddress, StoredFolders::AsNodes));
  const std::string asNodes = stored();
  for (StoredFolders how : {StoredFolders::Read, StoredFolders::Skip}) {
    storeFolders();
    ASSERT_TRUE(store_.update(kDomain, setAddress, how));
    EXPECT_EQ(stored(), asNodes);
  }
}

TEST_F(StoredDomainUpdateTest, SkippedListReplacedByTheChangeIsNeverRead) {
  storeFolders();
  const FolderList fresh = {FolderEntry{u"New", true, false, false}};
  ASSERT_TRUE(store_.update(
      kDomain,
      [&](plist_t domain, StreamedValues& streamed) {
        plist_t placeholder = plist_new_array();
        plist_dict_set_item(plist_dict_get_item(domain, "Job Control"), "files", placeholder);
        streamed[placeholder] = folderListValue(fresh);
        return true;
      },
      StoredFolders::Skip));
  EXPECT_EQ(stored(), domainText(fresh));
}

}  // namespace
}  // namespace jc
