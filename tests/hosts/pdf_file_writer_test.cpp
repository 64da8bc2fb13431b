// Printing to a file: a PDF copied as it is, another file made a PDF by
// CUPS's filters (pdfinfo reads it), anything else refused with nothing
// written; and the file name the dialog offers.
#include "hosts/common/pdf_file_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/file_text.h"
#include "support/process_runner.h"
#include "support/temp_dir.h"

namespace jc::test {
namespace {

namespace fs = std::filesystem;

// What pdfinfo says of the file, or empty when it cannot read it.
std::string pdfInfo(const fs::path& file) {
  const ProcessResult info = runProcess({"/usr/bin/pdfinfo", file.string()});
  return info.exitStatus == 0 ? info.out : std::string();
}

TEST(PdfFileWriterTest, WritesAPdfOrRefusesWithNothingWritten) {
  if (access("/usr/sbin/cupsfilter", X_OK) != 0 || access("/usr/bin/pdfinfo", X_OK) != 0)
    GTEST_SKIP() << "cupsfilter (cups) or pdfinfo (poppler-utils) is missing";
  TempDir dir;
  const fs::path text = dir.path() / "notes.txt";
  writeFile(text, "Quarterly notes\n");
  const fs::path converted = dir.path() / "notes.pdf";
  writePdfFile({text.string()}, converted);
  EXPECT_NE(pdfInfo(converted).find("Pages:"), std::string::npos);

  // A PDF goes as it is, also over an older file; onto itself it stays.
  const fs::path copy = dir.path() / "copy.pdf";
  writeFile(copy, "older");
  writePdfFile({converted.string()}, copy);
  EXPECT_EQ(readFile(copy), readFile(converted));
  writePdfFile({converted.string()}, converted);
  EXPECT_EQ(readFile(copy), readFile(converted));

  const fs::path binary = dir.path() / "image.bin";
  writeFile(binary, std::string("\x00\x01\x02\xff\xfe", 5));
  struct Refusal {
    const char* what;
    std::vector<std::string> files;
    const char* says;
  };
  const Refusal refusals[] = {
      {"two files", {text.string(), converted.string()}, "Print to File writes one file"},
      {"a file the filters do not take", {binary.string()}, "cannot make"},
  };
  for (const Refusal& r : refusals) {
    const fs::path out = dir.path() / "refused.pdf";
    try {
      writePdfFile(r.files, out);
      ADD_FAILURE() << r.what << ": written";
    } catch (const HostError& e) {
      EXPECT_NE(e.message().pattern.find(r.says), std::string::npos) << r.what;
    }
    EXPECT_FALSE(fs::exists(out)) << r.what;
  }
  // No partial file is left behind.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 4);
}

TEST(PdfFileWriterTest, OfferedNameReplacesTheExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"report.pdf", "report.pdf"},
      {"report.txt", "report.pdf"},
      {"Job Control test page", "Job Control test page.pdf"},
      {"archive.tar.gz", "archive.tar.pdf"},
      {".profile", ".profile.pdf"},
      {"", "print.pdf"},
  };
  for (const auto& [title, name] : cases) EXPECT_EQ(pdfFileNameFor(title), name) << title;
}

}  // namespace
}  // namespace jc::test
