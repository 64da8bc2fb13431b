// The bundled sample printer and the encoding test printers, read by libcups.
#include <cups/ppd.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace jc {
namespace {

namespace fs = std::filesystem;

struct PpdClose {
  void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};
using PpdPtr = std::unique_ptr<ppd_file_t, PpdClose>;

PpdPtr open(const fs::path& file) { return PpdPtr(ppdOpenFile(file.c_str())); }

std::string attribute(ppd_file_t* ppd, const char* name) {
  ppd_attr_t* attr = ppdFindAttr(ppd, name, nullptr);
  return attr && attr->value ? attr->value : "";
}

TEST(SamplePpdTest, OpensWithItsModelAndEncoding) {
  const fs::path file = fs::path(JC_BUILD_BUNDLE_DIR) / "printer/Sample_MFP.ppd";
  PpdPtr ppd = open(file);
  ASSERT_TRUE(ppd) << ppdErrorString(ppdLastError(nullptr));
  EXPECT_STREQ(ppd->modelname, "Korvel Sample MFP");
  EXPECT_EQ(attribute(ppd.get(), "LanguageEncoding"), "ISOLatin1");
  EXPECT_NE(ppdFindOption(ppd.get(), "PageSize"), nullptr);
  ASSERT_NE(ppdFindOption(ppd.get(), "Duplex"), nullptr);
  ASSERT_NE(ppdFindOption(ppd.get(), "MediaType"), nullptr);
  EXPECT_EQ(ppdFindOption(ppd.get(), "Duplex")->num_choices, 3);
  EXPECT_EQ(ppdFindOption(ppd.get(), "MediaType")->num_choices, 3);
}

TEST(SamplePpdTest, TransparenciesCannotBePrintedOnBothSides) {
  PpdPtr ppd = open(fs::path(JC_BUILD_BUNDLE_DIR) / "printer/Sample_MFP.ppd");
  ASSERT_TRUE(ppd);
  ppdMarkDefaults(ppd.get());
  EXPECT_EQ(ppdConflicts(ppd.get()), 0) << "the defaults agree";

  const struct {
    const char* media;
    const char* duplex;
    bool conflict;
  } cases[] = {
      {"Plain", "DuplexNoTumble", false},     {"Plain", "DuplexTumble", false},
      {"Transparency", "None", false},        {"Transparency", "DuplexNoTumble", true},
      {"Transparency", "DuplexTumble", true}, {"Labels", "DuplexNoTumble", true},
  };
  for (const auto& c : cases) {
    ppdMarkDefaults(ppd.get());
    ppdMarkOption(ppd.get(), "MediaType", c.media);
    ppdMarkOption(ppd.get(), "Duplex", c.duplex);
    EXPECT_EQ(ppdConflicts(ppd.get()) > 0, c.conflict) << c.media << " + " << c.duplex;
  }
}

TEST(SamplePpdTest, EncodingPrintersDifferOnlyInTheirEncoding) {
  const fs::path dir = fs::path(JC_TEST_DATA_DIR) / "ppd";
  const struct {
    const char* file;
    const char* encoding;  // as written in the file; empty when the keyword is missing
  } cases[] = {
      {"encoding_ISOLatin1.ppd", "ISOLatin1"},
      {"encoding_WindowsANSI.ppd", "WindowsANSI"},
      {"encoding_JIS83-RKSJ.ppd", "JIS83-RKSJ"},
      {"encoding_UTF-8.ppd", "UTF-8"},
      {"encoding_UTF8.ppd", "UTF8"},
      {"encoding_utf-8_lowercase.ppd", "utf-8"},
      {"encoding_none.ppd", ""},
  };
  for (const auto& c : cases) {
    PpdPtr ppd = open(dir / c.file);
    ASSERT_TRUE(ppd) << c.file;
    EXPECT_STREQ(ppd->modelname, "Korvel Encoding Test") << c.file;
    EXPECT_EQ(attribute(ppd.get(), "LanguageEncoding"), c.encoding) << c.file;
  }
}

}  // namespace
}  // namespace jc
