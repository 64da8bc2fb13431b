#include "platform/mo_catalog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace jc {
namespace {

// Writes a .mo file by hand, in either byte order: header, originals table,
// translations table, then the strings (each NUL-terminated).
std::string makeMo(const std::vector<std::pair<std::string, std::string>>& entries, bool bigEndian,
                   std::uint32_t revision = 0) {
  std::string out;
  auto put = [&](std::uint32_t v) {
    const char b[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff),
                       char(v >> 24)};
    if (bigEndian) {
      out.append({b[3], b[2], b[1], b[0]});
    } else {
      out.append(b, 4);
    }
  };
  const auto n = static_cast<std::uint32_t>(entries.size());
  const std::uint32_t originals = 28;
  const std::uint32_t translations = originals + 8 * n;
  std::uint32_t offset = translations + 8 * n;
  put(0x950412de);
  put(revision);
  put(n);
  put(originals);
  put(translations);
  put(0);
  put(0);
  std::string strings;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> keyEntries, valueEntries;
  for (const auto& [key, value] : entries) {
    keyEntries.emplace_back(std::uint32_t(key.size()), offset + std::uint32_t(strings.size()));
    strings += key;
    strings += '\0';
  }
  for (const auto& [key, value] : entries) {
    valueEntries.emplace_back(std::uint32_t(value.size()), offset + std::uint32_t(strings.size()));
    strings += value;
    strings += '\0';
  }
  for (auto [len, off] : keyEntries) {
    put(len);
    put(off);
  }
  for (auto [len, off] : valueEntries) {
    put(len);
    put(off);
  }
  return out + strings;
}

const std::vector<std::pair<std::string, std::string>> kEntries = {
    {"", "Content-Type: text/plain; charset=UTF-8\n"},
    {"Job Control", "ジョブコントロール"},
    {"Pass Code", "パスコード"},
    {std::string("folder") + '\0' + "folders", std::string("フォルダー") + '\0' + "フォルダー複数"},
};

TEST(MoCatalogTest, ReadsBothByteOrders) {
  for (bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
    const auto catalog = MoCatalog::fromBytes(makeMo(kEntries, bigEndian));
    EXPECT_EQ(catalog.size(), 3u);
    ASSERT_NE(catalog.find("Job Control"), nullptr);
    EXPECT_EQ(*catalog.find("Job Control"), "ジョブコントロール");
    ASSERT_NE(catalog.find("Pass Code"), nullptr);
    EXPECT_EQ(*catalog.find("Pass Code"), "パスコード");
    // A plural entry is found by its singular and gives the first form.
    ASSERT_NE(catalog.find("folder"), nullptr);
    EXPECT_EQ(*catalog.find("folder"), "フォルダー");
    // Neither the header entry nor unknown keys are translations.
    EXPECT_EQ(catalog.find(""), nullptr);
    EXPECT_EQ(catalog.find("Pass Code:"), nullptr);
    EXPECT_EQ(catalog.find("pass code"), nullptr);
  }
}

TEST(MoCatalogTest, EveryTruncationReadsAsEmpty) {
  const std::string whole = makeMo(kEntries, false);
  ASSERT_FALSE(MoCatalog::fromBytes(whole).empty());
  // Cutting off the last string's terminator still leaves every string whole.
  for (std::size_t size = 0; size + 1 < whole.size(); ++size) {
    EXPECT_TRUE(MoCatalog::fromBytes(whole.substr(0, size)).empty()) << "size " << size;
  }
}

TEST(MoCatalogTest, MalformedFilesReadAsEmpty) {
  const std::string good = makeMo(kEntries, false);
  auto patched = [&](std::size_t at, std::uint32_t v) {
    std::string s = good;
    for (int i = 0; i < 4; ++i) s[at + i] = char((v >> (8 * i)) & 0xff);
    return s;
  };
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"text", "this is not a catalogue, but it is long enough to have a header"},
      {"wrong magic", patched(0, 0x12345678)},
      {"unknown major revision", patched(4, 0x00020000)},
      {"count past the end", patched(8, 0x10000000)},
      {"count that overflows the table size", patched(8, 0xffffffff)},
      {"originals table past the end", patched(12, 0xfffffff0)},
      {"translations table past the end", patched(16, std::uint32_t(good.size()))},
      {"string length past the end", patched(28 + 8, 0xffffff00)},
      {"string offset past the end", patched(28 + 12, std::uint32_t(good.size() + 1))},
      {"offset and length that wrap around",
       [&] {
         std::string s = patched(28 + 8, 0x20);
         for (int i = 0; i < 4; ++i) s[28 + 12 + i] = char((0xfffffff0u >> (8 * i)) & 0xff);
         return s;
       }()},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(MoCatalog::fromBytes(c.bytes).empty()) << c.what;
  }
  EXPECT_FALSE(MoCatalog::fromBytes(makeMo(kEntries, false, 0x00010001)).empty())
      << "minor revisions and major revision 1 share the layout";
}

TEST(MoCatalogTest, MissingFileReadsAsEmpty) {
  EXPECT_TRUE(MoCatalog::fromFile("/nonexistent/jobcontrol.mo").empty());
  EXPECT_TRUE(MoCatalog::fromFile(std::filesystem::temp_directory_path()).empty());
}

TEST(MoCatalogTest, ReadsTheCataloguesThatMsgfmtBuilt) {
  const std::filesystem::path locale = std::filesystem::path(JC_BUILD_BUNDLE_DIR) / "locale";
  const auto ja = MoCatalog::fromFile(locale / "ja/LC_MESSAGES/jobcontrol.mo");
  ASSERT_NE(ja.find("Could not retrieve Folder Names."), nullptr);
  EXPECT_EQ(*ja.find("Could not retrieve Folder Names."), "フォルダー名を取得できませんでした。");
  ASSERT_NE(ja.find("Login Name / Password"), nullptr);
  EXPECT_EQ(*ja.find("Login Name / Password"), "ログイン名/パスワード");
  // English uses the keys themselves: msgfmt writes no untranslated entry.
  const auto en = MoCatalog::fromFile(locale / "en/LC_MESSAGES/jobcontrol.mo");
  EXPECT_EQ(en.find("Job Control"), nullptr);
}

}  // namespace
}  // namespace jc
