#include "prefs/domain_file_name.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace jc {
namespace {

using namespace std::string_literals;

TEST(DomainFileNameTest, PrinterDomainKeepsItsReadableName) {
  EXPECT_EQ(domainFileName("korvel.mfp.Sample_MFP"), "korvel.mfp.Sample_MFP.plist");
  EXPECT_EQ(domainFileName("korvel.mfp.ipp-printer_2"), "korvel.mfp.ipp-printer_2.plist");
}

TEST(DomainFileNameTest, EscapesEveryByteUnfitForAFileName) {
  const struct {
    std::string domain;
    std::string file;
  } cases[] = {
      {"../x", "%2E.%2Fx.plist"},
      {"a/b", "a%2Fb.plist"},
      {"..", "%2E..plist"},
      {".", "%2E.plist"},
      {".hidden", "%2Ehidden.plist"},
      {"", ".plist"},
      {"x\n", "x%0A.plist"},
      {"a\0b"s, "a%00b.plist"},
      {"Office Printer", "Office%20Printer.plist"},
      {"a%2Fb", "a%252Fb.plist"},
      {"~", "%7E.plist"},
      {"Dr\xC3\xBC"
       "cker",
       "Dr%C3%BCcker.plist"},
      {"\xFF", "%FF.plist"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.domain);
    EXPECT_EQ(domainFileName(c.domain), c.file);
    EXPECT_EQ(domainFromFileName(c.file), c.domain);
  }
}

TEST(DomainFileNameTest, LongNameEndsWithDigestOfWholeName) {
  // Reference digests computed independently (Python hashlib).
  const std::string allA(1000, 'a');
  const std::string name = domainFileName(allA);
  EXPECT_EQ(name, std::string(129, 'a') +
                      "~41EDECE42D63E8D9BF515A9BA6932E1C20CBC9F5A5D134645ADB5DB1B9737EA3.plist");
  EXPECT_EQ(name.size(), kMaxDomainFileNameBytes);

  // The readable prefix never ends inside an escape.
  const std::string slashes = domainFileName("korvel.mfp." + std::string(989, '/'));
  const std::string::size_type mark = slashes.find('~');
  ASSERT_NE(mark, std::string::npos);
  const std::string prefix = slashes.substr(0, mark);
  EXPECT_EQ(prefix.rfind("%2F"), prefix.size() - 3);
  EXPECT_EQ(slashes.substr(mark + 1, 64),
            "62A956C0E031A948FF03746B4ED9BB58CC0FBFFD8DEB9DFD166ABCD50F045BED");
  EXPECT_FALSE(domainFromFileName(slashes).has_value());
}

TEST(DomainFileNameTest, DistinctDomainsGetDistinctSafeNames) {
  std::vector<std::string> domains = {
      "../x",    "a/b", "a%2Fb",        "a%252Fb",   "..",       ".",         "",  "x\n",
      "x",       "X",   "a b",          "a_b",       "a-b",      "%2E",       "~", "%7E",
      "a.plist", "a",   "\xE2\x82\xAC", "%E2%82%AC", "\xC3\xA9", "e\xCC\x81",
  };
  const std::string longBase(1000, 'p');
  domains.push_back(longBase);
  domains.push_back(longBase + "q");
  domains.push_back("q" + longBase);
  domains.push_back(longBase.substr(0, 194));  // just fits
  domains.push_back(longBase.substr(0, 195));  // just too long
  domains.push_back(std::string(300, '%'));
  domains.push_back(std::string(300, '%') + "x");

  std::set<std::string> seen;
  for (const std::string& domain : domains) {
    SCOPED_TRACE(domain.substr(0, 40));
    const std::string name = domainFileName(domain);
    EXPECT_TRUE(seen.insert(name).second) << name;
    EXPECT_LE(name.size(), kMaxDomainFileNameBytes);
    EXPECT_EQ(name.find('/'), std::string::npos);
    EXPECT_NE(name, ".");
    EXPECT_NE(name, "..");
    for (const char c : name) EXPECT_GT(static_cast<unsigned char>(c), 0x20);
    if (name.find('~') == std::string::npos) {
      EXPECT_EQ(domainFromFileName(name), domain);
    }
  }
}

TEST(DomainFileNameTest, OnlyCanonicalNamesDecode) {
  for (const char* name : {"%41.plist", "a%2fb.plist", "a%2.plist", "a%.plist", ".hidden.plist",
                           "a b.plist", "a~b.plist", "name.txt", "name"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(domainFromFileName(name).has_value());
  }
}

}  // namespace
}  // namespace jc
