#include "platform/directory_bundle.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace jc {
namespace {

namespace fs = std::filesystem;

const fs::path kBundle = JC_BUILD_BUNDLE_DIR;

using test::ScopedEnv;
using test::TempDir;

void writeFile(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
}

TEST(DirectoryBundleTest, FindsResourcesAndLayouts) {
  const DirectoryBundle bundle(kBundle, "en");
  EXPECT_EQ(bundle.pathForResource("listfiles", "xml"), kBundle / "listfiles.xml");
  EXPECT_EQ(bundle.pathForResource("vwxyz", "xml"), kBundle / "vwxyz.xml");
  EXPECT_EQ(bundle.pathForResource("space", "png"), kBundle / "space.png");
  for (const char* name :
       {"JobControl", "JobControl2", "JobControl3", "JobControl4", "JobControl5"}) {
    EXPECT_EQ(bundle.layoutPath(name), kBundle / "layouts" / (std::string(name) + ".ui")) << name;
  }
  EXPECT_EQ(bundle.pathForResource("listfiles", "png"), std::nullopt);
  EXPECT_EQ(bundle.pathForResource("missing", "xml"), std::nullopt);
  EXPECT_EQ(bundle.layoutPath("JobControl6"), std::nullopt);
  // Names cannot leave the folder, and a folder is not a resource.
  EXPECT_EQ(bundle.pathForResource("../share/jobcontrol/listfiles", "xml"), std::nullopt);
  EXPECT_EQ(bundle.pathForResource("layouts", ""), std::nullopt);
  EXPECT_EQ(bundle.layoutPath("../layouts/JobControl2"), std::nullopt);
  EXPECT_EQ(bundle.layoutPath(""), std::nullopt);
}

TEST(DirectoryBundleTest, TranslatesFromTheChosenLanguage) {
  const DirectoryBundle ja(kBundle, "ja");
  EXPECT_EQ(ja.catalogLanguage(), "ja");
  EXPECT_EQ(ja.localizedString(u"Job Control"), u"ジョブコントロール");
  EXPECT_EQ(ja.localizedString(u"Pass Code"), u"パスコード");
  EXPECT_EQ(ja.localizedString(u"OK"), u"OK");
  // Keys are exact: no colon, no case folding; a missing key gives itself.
  EXPECT_EQ(ja.localizedString(u"Pass Code:"), u"Pass Code:");
  EXPECT_EQ(ja.localizedString(u"job control"), u"job control");
  EXPECT_EQ(ja.localizedString(u"No such text"), u"No such text");
  EXPECT_EQ(ja.localizedString(u""), u"");

  const DirectoryBundle en(kBundle, "en");
  EXPECT_EQ(en.localizedString(u"Job Control"), u"Job Control");
  EXPECT_EQ(en.localizedString(u"Could not retrieve Folder Names."),
            u"Could not retrieve Folder Names.");
}

TEST(DirectoryBundleTest, EachDomainReadsItsOwnCatalogue) {
  const DirectoryBundle panel(kBundle, "ja_JP.UTF-8");
  const DirectoryBundle cli(kBundle, "ja_JP.UTF-8", DirectoryBundle::kCommandLineDomain);
  EXPECT_EQ(cli.catalogLanguage(), "ja");
  EXPECT_EQ(cli.localizedString(u"unknown option {0}"), u"不明なオプションです: {0}");
  EXPECT_EQ(cli.localizedString(u"Job Control"), u"Job Control");
  EXPECT_EQ(panel.localizedString(u"unknown option {0}"), u"unknown option {0}");

  const DirectoryBundle none(kBundle, "ja", "no-such-domain");
  EXPECT_EQ(none.catalogLanguage(), "");
  EXPECT_EQ(none.localizedString(u"unknown option {0}"), u"unknown option {0}");
}

TEST(DirectoryBundleTest, LocaleNamesFallBackToTheirLanguage) {
  for (const char* name : {"ja_JP", "ja_JP.UTF-8", "ja_JP.eucJP@mod", "ja.UTF-8"}) {
    const DirectoryBundle bundle(kBundle, name);
    EXPECT_EQ(bundle.catalogLanguage(), "ja") << name;
    EXPECT_EQ(bundle.localizedString(u"User Name"), u"ユーザー名") << name;
  }
  for (const char* name : {"fr_FR", "", "C", "../ja", "ja/../ja"}) {
    const DirectoryBundle bundle(kBundle, name);
    EXPECT_EQ(bundle.catalogLanguage(), "") << name;
    EXPECT_EQ(bundle.localizedString(u"User Name"), u"User Name") << name;
  }
}

TEST(DirectoryBundleTest, BadCataloguesGiveTheKeys) {
  TempDir dir;
  const fs::path mo = dir.path() / "locale/xx/LC_MESSAGES/jobcontrol.mo";
  std::ifstream in(kBundle / "locale/ja/LC_MESSAGES/jobcontrol.mo", std::ios::binary);
  const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(good.size(), 100u);

  writeFile(mo, good);
  EXPECT_EQ(DirectoryBundle(dir.path(), "xx").localizedString(u"Job Name"), u"ジョブ名");

  for (const std::string& bytes :
       {good.substr(0, good.size() / 2), std::string(good.size(), '\xff'), std::string()}) {
    writeFile(mo, bytes);
    const DirectoryBundle bundle(dir.path(), "xx");
    EXPECT_EQ(bundle.localizedString(u"Job Name"), u"Job Name");
  }
}

TEST(DirectoryBundleTest, LanguageFromTheEnvironment) {
  const struct {
    const char *language, *lcAll, *lcMessages, *lang, *expected;
  } cases[] = {
      {nullptr, nullptr, nullptr, nullptr, "en"},
      {nullptr, nullptr, nullptr, "ja_JP.UTF-8", "ja_JP"},
      {nullptr, nullptr, "de_DE@euro", "ja_JP.UTF-8", "de_DE"},
      {nullptr, "ja", "de_DE", "fr_FR", "ja"},
      {"ja:en", "de_DE", nullptr, nullptr, "ja"},
      {"", "", "", "ja_JP.UTF-8", "ja_JP"},
      {":en", nullptr, nullptr, "ja", "en"},
      {nullptr, "C", nullptr, "ja_JP", "en"},
      {nullptr, "C.UTF-8", nullptr, nullptr, "en"},
      {nullptr, "POSIX", nullptr, nullptr, "en"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DirectoryBundle::languageFrom(c.language, c.lcAll, c.lcMessages, c.lang), c.expected)
        << (c.language ? c.language : "-") << " " << (c.lcAll ? c.lcAll : "-") << " "
        << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");
  }
  ScopedEnv env;
  env.set("LANGUAGE", std::nullopt).set("LC_ALL", std::nullopt).set("LC_MESSAGES", "ja_JP.UTF-8");
  EXPECT_EQ(DirectoryBundle::languageFromEnvironment(), "ja_JP");
}

void functionInThisExecutable() {}

TEST(DirectoryBundleTest, FindsTheFolderFromTheModulesPlace) {
  ScopedEnv env;
  env.set(DirectoryBundle::kFolderVariable, std::nullopt);
  // The tests run from <build>/bin, the module lives in <build>/lib/jobcontrol.
  const auto fromExecutable =
      DirectoryBundle::findFolder(reinterpret_cast<const void*>(&functionInThisExecutable));
  ASSERT_TRUE(fromExecutable.has_value());
  EXPECT_TRUE(fs::equivalent(*fromExecutable, kBundle));

  const auto fromModule = DirectoryBundle::folderForModule(JC_MODULE_PATH);
  ASSERT_TRUE(fromModule.has_value());
  EXPECT_TRUE(fs::equivalent(*fromModule, kBundle));

  // An address inside the loaded plug-in module: its dynamic section.
  void* module = dlopen(JC_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  link_map* map = nullptr;
  ASSERT_EQ(dlinfo(module, RTLD_DI_LINKMAP, &map), 0);
  const auto fromLoadedModule = DirectoryBundle::findFolder(map->l_ld);
  dlclose(module);
  ASSERT_TRUE(fromLoadedModule.has_value());
  EXPECT_TRUE(fs::equivalent(*fromLoadedModule, kBundle));

  EXPECT_EQ(DirectoryBundle::findFolder(nullptr), std::nullopt);
}

TEST(DirectoryBundleTest, FolderLayoutsOfAnInstallation) {
  TempDir dir;
  const fs::path prefix = dir.path() / "usr";
  fs::create_directories(prefix / "share/jobcontrol");
  const struct {
    const char* module;
    bool found;
  } cases[] = {
      {"lib/jobcontrol/jobcontrol-panel.so", true},
      {"lib64/jobcontrol/jobcontrol-panel.so", true},
      {"lib/x86_64-linux-gnu/jobcontrol/jobcontrol-panel.so", true},
      {"bin/jobcontrol", true},
      {"lib/jobcontrol-panel.so", false},
      {"libexec/other/jobcontrol-panel.so", false},
      {"share/jobcontrol/jobcontrol-panel.so", false},
  };
  for (const auto& c : cases) {
    const auto folder = DirectoryBundle::folderForModule(prefix / c.module);
    EXPECT_EQ(folder.has_value(), c.found) << c.module;
    if (folder) {
      EXPECT_TRUE(fs::equivalent(*folder, prefix / "share/jobcontrol")) << c.module;
    }
  }
  fs::remove(prefix / "share/jobcontrol");
  EXPECT_EQ(DirectoryBundle::folderForModule(prefix / "bin/jobcontrol"), std::nullopt)
      << "no resource folder beside the prefix";
}

TEST(DirectoryBundleTest, EnvironmentOverrideWins) {
  ScopedEnv env;
  env.set(DirectoryBundle::kFolderVariable, "/opt/elsewhere/jobcontrol");
  EXPECT_EQ(DirectoryBundle::findFolder(reinterpret_cast<const void*>(&functionInThisExecutable)),
            fs::path("/opt/elsewhere/jobcontrol"));
  env.set(DirectoryBundle::kFolderVariable, "");
  const auto folder =
      DirectoryBundle::findFolder(reinterpret_cast<const void*>(&functionInThisExecutable));
  ASSERT_TRUE(folder.has_value());
  EXPECT_TRUE(fs::equivalent(*folder, kBundle));
}

}  // namespace
}  // namespace jc
