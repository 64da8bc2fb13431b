// The factory the print dialog asks for its panels, directly and as the loaded module.
#include "plugin/plugin_factory.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "support/panel_fixture.h"
#include "support/scoped_env.h"

namespace jc::test {
namespace {

// Only the print dialog's type, spelled exactly, yields a panel; any other
// type yields an empty list, never none.
void expectTypeMatching(PDEPlugIn& factory, HostCallback* host) {
  const std::pair<std::string, std::size_t> cases[] = {
      {"BDB091F4-E57F-11D3-B5CC-0050E4603277", 1},
      {"bdb091f4-e57f-11d3-b5cc-0050e4603277", 0},
      {"BDB091F4-E57F-11D3-B5CC-0050E460327", 0},
      {"BDB091F4-E57F-11D3-B5CC-0050E4603277 ", 0},
      {"", 0},
      {"6D6AD3B4-6E4C-11D6-A8F2-0003936DD4B4", 0},
  };
  for (const auto& [type, count] : cases) {
    std::optional<PanelList> panels = factory.PDEPanelsForType(type, host);
    ASSERT_TRUE(panels.has_value()) << type;
    EXPECT_EQ(panels->size(), count) << type;
  }
}

class FactoryTest : public ::testing::Test {
 protected:
  PanelFixture f;
  KorvelPrintPdeVx418JCPDEPlugIn factory{[this](HostCallback*) { return f.env; }};
};

TEST_F(FactoryTest, AnswersThePrintDialogTypeOnly) { expectTypeMatching(factory, &f.host); }

TEST_F(FactoryTest, InitWithBundleAnswersYesForAnyBundle) {
  EXPECT_TRUE(factory.initWithBundle(nullptr));
  EXPECT_TRUE(factory.initWithBundle(f.env.bundle.get()));
}

TEST_F(FactoryTest, EachCallMakesANewIndependentPanel) {
  auto first = factory.PDEPanelsForType(kPrintDialogPanelType, &f.host);
  auto second = factory.PDEPanelsForType(kPrintDialogPanelType, &f.host);
  ASSERT_TRUE(first && second);
  ASSERT_EQ(first->size(), 1u);
  ASSERT_EQ(second->size(), 1u);
  PrintDialogExtension* a = first->front().get();
  PrintDialogExtension* b = second->front().get();
  EXPECT_NE(a, b);
  auto* panel = dynamic_cast<KorvelPrintPdeVx418JC*>(a);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->callback(), &f.host);
  EXPECT_EQ(panel->preferenceName, "korvel.mfp.Sample_MFP");

  View* viewA = a->panelView();
  EXPECT_FALSE(b->lifecycleFlags().hasInited);
  View* viewB = b->panelView();
  ASSERT_TRUE(viewA && viewB);
  EXPECT_NE(viewA, viewB);
}

TEST_F(FactoryTest, WithoutHostInfoMakesAPanelWithoutPrinter) {
  auto panels = factory.PDEPanelsForType(kPrintDialogPanelType, nullptr);
  ASSERT_TRUE(panels);
  ASSERT_EQ(panels->size(), 1u);
  auto* panel = dynamic_cast<KorvelPrintPdeVx418JC*>(panels->front().get());
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->callback(), nullptr);
  EXPECT_FALSE(panel->useConstraintHandling);
  EXPECT_EQ(panel->ppd, nullptr);
  EXPECT_EQ(panel->preferenceName, std::nullopt);
  EXPECT_EQ(panel->mfpURL, std::nullopt);
  EXPECT_EQ(panel->panelView(), nullptr);
  EXPECT_TRUE(panel->restoreValuesAndReturnError(nullptr));
  EXPECT_TRUE(panel->saveValuesAndReturnError(nullptr));
  EXPECT_TRUE(panel->shouldPrint());
  EXPECT_TRUE(panel->summaryInfo().empty());
}

TEST(FactoryFailureTest, AnswersNoneWhenThePanelCannotBeMade) {
  PanelFixture f;
  KorvelPrintPdeVx418JCPDEPlugIn factory(
      [](HostCallback*) -> PanelEnvironment { throw std::runtime_error("no environment"); });
  EXPECT_EQ(factory.PDEPanelsForType(kPrintDialogPanelType, &f.host), std::nullopt);
  const auto other = factory.PDEPanelsForType("other", &f.host);
  ASSERT_TRUE(other);
  EXPECT_TRUE(other->empty());
}

// The module as a host loads it: dlopen, the entry point, the factory. The
// panels it makes find their resources beside the module.
class LoadedModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env.set("XDG_CONFIG_HOME", config.path().string())
        .set("JOBCONTROL_BUNDLE_DIR", std::nullopt)
        .set("LANGUAGE", "ja");
    module.handle = dlopen(JC_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module.handle, nullptr) << dlerror();
    auto create =
        reinterpret_cast<PDEPlugInCreateFunction>(dlsym(module.handle, kPDEPlugInCreateSymbol));
    ASSERT_NE(create, nullptr);
    factory.reset(create());
    ASSERT_NE(factory, nullptr);
  }

  struct Module {
    void* handle = nullptr;
    ~Module() {
      if (handle) dlclose(handle);
    }
  };

  TempDir config;
  ScopedEnv env;
  TestHost host;
  Module module;  // closed after everything it made is gone
  std::unique_ptr<PDEPlugIn> factory;
};

TEST_F(LoadedModuleTest, ExportsTheFactoryAlone) {
  EXPECT_EQ(dlsym(module.handle, "_ZN2jc18getEncodingFromPPDEP10ppd_file_s"), nullptr);
  EXPECT_TRUE(factory->initWithBundle(nullptr));
  expectTypeMatching(*factory, &host);
}

TEST_F(LoadedModuleTest, MakesAWorkingPanelWithItsOwnResources) {
  auto panels = factory->PDEPanelsForType(kPrintDialogPanelType, &host);
  ASSERT_TRUE(panels);
  ASSERT_EQ(panels->size(), 1u);
  PrintDialogExtension& panel = *panels->front();
  EXPECT_EQ(panel.panelName(), u"ジョブコントロール");
  EXPECT_EQ(panel.panelKind(), "korvel.print.pde.vx418.JobControlKind");
  auto* view = dynamic_cast<HeadlessView*>(panel.panelView());
  ASSERT_NE(view, nullptr);
  panel.willShow();
  EXPECT_TRUE(panel.restoreValuesAndReturnError(nullptr));
  ASSERT_NE(view->control("printersAddressEditText"), nullptr);
  EXPECT_EQ(view->control("printersAddressEditText")->stringValue(), u"localhost");
  EXPECT_EQ(view->control("retentionCheckBox")->title(), u"リテンション");
  const LifecycleFlags flags = panel.lifecycleFlags();
  EXPECT_TRUE(flags.hasInited);
  EXPECT_TRUE(flags.callRestoreValuesFunction);
  EXPECT_FALSE(flags.callSaveValuesFunction);
  EXPECT_FALSE(flags.isPanelViewRetain);
  EXPECT_TRUE(
      std::filesystem::exists(config.path() / "jobcontrol" / "korvel.mfp.Sample_MFP.plist"));

  auto bare = factory->PDEPanelsForType(kPrintDialogPanelType, nullptr);
  ASSERT_TRUE(bare);
  ASSERT_EQ(bare->size(), 1u);
  EXPECT_EQ(bare->front()->panelView(), nullptr);
  EXPECT_TRUE(bare->front()->lifecycleFlags().hasInited);
}

}  // namespace
}  // namespace jc::test
