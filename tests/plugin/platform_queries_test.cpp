// The operating system's version, the PPD's text encoding and label translation.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/file_text.h"
#include "support/panel_fixture.h"

namespace jc::test {
namespace {

std::string versionPlist(const std::string& version) {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>ProductBuildVersion</key>
	<string>8S2167</string>
	<key>ProductName</key>
	<string>Mac OS X</string>
	<key>ProductVersion</key>
	<string>)" +
         version + R"(</string>
</dict>
</plist>
)";
}

struct VersionCase {
  const char* name;
  std::optional<std::string> fileContent;  // none: no file at all
  int major, minor, revision;              // after defaults 91, 92, 93
  bool leopardOrLater;
};

class SystemVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(SystemVersionTest, FillsThePlacesItHasComponentsFor) {
  const VersionCase& c = GetParam();
  TempDir dir;
  const auto file = dir.path() / "SystemVersion.plist";
  if (c.fileContent) writeFile(file, *c.fileContent);
  int major = 91, minor = 92, revision = 93;
  get_system_version(&major, &minor, &revision, file);
  EXPECT_EQ(major, c.major);
  EXPECT_EQ(minor, c.minor);
  EXPECT_EQ(revision, c.revision);
  EXPECT_EQ(runningOnLeopardOrLater(file), c.leopardOrLater);

  // The panel takes its resize flag from the same file.
  PanelFixture f;
  f.env.systemVersionFile = file;
  EXPECT_EQ(f.make().canResizeView, c.leopardOrLater);
}

const std::string kNoVersionKey = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>ProductName</key><string>Mac OS X</string></dict></plist>
)";

INSTANTIATE_TEST_SUITE_P(
    Versions, SystemVersionTest,
    ::testing::Values(
        VersionCase{"Tiger", versionPlist("10.4.11"), 10, 4, 11, false},
        VersionCase{"Leopard", versionPlist("10.5"), 10, 5, 93, true},
        VersionCase{"TwoDigitMinor", versionPlist("10.10.5"), 10, 10, 5, true},
        VersionCase{"Eleven", versionPlist("11.2.3"), 11, 2, 3, true},
        VersionCase{"MajorOnly", versionPlist("10"), 10, 92, 93, false},
        VersionCase{"ExtraComponentsIgnored", versionPlist("10.6.8.1"), 10, 6, 8, true},
        VersionCase{"LeadingNumberOfEachComponent", versionPlist("10.5b.2x"), 10, 5, 2, true},
        VersionCase{"NoFile", std::nullopt, 91, 92, 93, false},
        VersionCase{"NoVersionKey", kNoVersionKey, 91, 92, 93, false},
        VersionCase{"NotAPropertyList", "ProductVersion = 10.6", 91, 92, 93, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The encoding test PPDs differ only in their LanguageEncoding line.
TEST(EncodingFromPpdTest, MapsTheLanguageEncodingExactly) {
  const std::pair<const char*, NSStringEncoding> cases[] = {
      {"encoding_ISOLatin1.ppd", 5},  {"encoding_WindowsANSI.ppd", 12},
      {"encoding_JIS83-RKSJ.ppd", 8}, {"encoding_UTF-8.ppd", 4},
      {"encoding_UTF8.ppd", 4},       {"encoding_utf-8_lowercase.ppd", 30},
      {"encoding_none.ppd", 30},
  };
  for (const auto& [file, expected] : cases) {
    PpdPtr ppd = openPpd(testDataPath("ppd/" + std::string(file)));
    ASSERT_NE(ppd, nullptr) << file;
    EXPECT_EQ(getEncodingFromPPD(ppd.get()), expected) << file;
  }
  EXPECT_EQ(getEncodingFromPPD(nullptr), 30u);
}

// A copy of an encoding test PPD whose ModelName holds `modelBytes`.
std::filesystem::path ppdWithModelName(const TempDir& dir, const std::string& encodingFile,
                                       const std::string& modelBytes) {
  std::ifstream in(testDataPath("ppd/" + encodingFile), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string ppd = text.str();
  const std::string line = "*ModelName: \"Korvel Encoding Test\"";
  const auto at = ppd.find(line);
  if (at == std::string::npos) throw std::runtime_error("no ModelName line in " + encodingFile);
  ppd.replace(at, line.size(), "*ModelName: \"" + modelBytes + "\"");
  const auto file = dir.path() / encodingFile;
  writeFile(file, ppd);
  return file;
}

TEST(PanelPpdEncodingTest, DecodesTheModelNameWithThePpdsEncoding) {
  struct Case {
    const char* file;
    std::string modelBytes;
    NSStringEncoding encoding;
    std::optional<std::u16string> model;
  };
  const Case cases[] = {
      {"encoding_ISOLatin1.ppd", "Korvel Caf\xE9", 5, u"Korvel Café"},
      {"encoding_WindowsANSI.ppd", "Korvel \x80", 12, u"Korvel €"},
      {"encoding_JIS83-RKSJ.ppd", "Korvel \x83J\x83\x8B", 8, u"Korvel カル"},
      {"encoding_UTF-8.ppd", "Korvel Caf\xC3\xA9", 4, u"Korvel Café"},
      {"encoding_UTF-8.ppd", "Korvel Caf\xE9", 4, std::nullopt},  // not UTF-8
      {"encoding_none.ppd", "Korvel Caf\x8E", 30, u"Korvel Café"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    PanelFixture f;
    f.host.ppd = openPpd(ppdWithModelName(dir, c.file, c.modelBytes));
    ASSERT_NE(f.host.ppd, nullptr) << c.file;
    KorvelPrintPdeVx418JC& panel = f.make();
    EXPECT_EQ(panel.ppdEncoding, c.encoding) << c.file;
    EXPECT_EQ(panel.modelStringRef, c.model) << c.file;
  }
}

class LocalizedStringValueTest : public ::testing::Test {
 protected:
  LocalizedStringValueTest() {
    f.env.bundle = testBundle("ja");
    f.make();
  }
  std::optional<std::u16string> of(std::u16string text) const {
    return f.panel->localizedStringValue(std::optional<std::u16string>(std::move(text)));
  }
  PanelFixture f;
};

TEST_F(LocalizedStringValueTest, TranslatesUpToTheFirstColon) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"Retention:", u"リテンション:"},
      {u"Retention", u"リテンション"},
      {u"Job Name:default name", u"ジョブ名:"},
      {u"Pass Code:x:y", u"パスコード:"},
      {u"\n\t User Name:", u"ユーザー名:"},
      {u"\u3000\u2003Job ID", u"ジョブID"},  // ideographic and em spaces
      {u":Retention", u":Retention"},
      {u"  :Retention", u"  :Retention"},
      {u"", u""},
      {u"   ", u"   "},
      {u"User Name :", u"User Name :"},  // the space before the colon is part of the key
      {u"No Such Label:", u"No Such Label:"},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(of(text), expected) << toUtf8(text);
  EXPECT_EQ(f.panel->localizedStringValue(std::optional<std::u16string>()), std::nullopt);
}

TEST_F(LocalizedStringValueTest, TakesTheTextByTheControlsKind) {
  HeadlessControl button(ControlKind::PushButton, "b", "QPushButton");
  button.setTitle(u"   User Name:");
  EXPECT_EQ(f.panel->localizedStringValue(ControlRef(&button)), u"ユーザー名:");

  HeadlessControl box(ControlKind::Box, "box", "QGroupBox");
  box.setTitle(u"Job ID");
  EXPECT_EQ(f.panel->localizedStringValue(ControlRef(&box)), u"ジョブID");

  HeadlessControl label(ControlKind::Label, "label", "QLabel");
  label.setStringValue(u"Password:");
  EXPECT_EQ(f.panel->localizedStringValue(ControlRef(&label)), u"パスワード:");

  HeadlessControl popUp(ControlKind::PopUp, "p", "QComboBox");
  EXPECT_EQ(f.panel->localizedStringValue(ControlRef(&popUp)), std::nullopt);
  EXPECT_EQ(f.panel->localizedStringValue(ControlRef()), std::nullopt);
}

}  // namespace
}  // namespace jc::test
