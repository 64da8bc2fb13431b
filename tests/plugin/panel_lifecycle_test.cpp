#include <gtest/gtest.h>

#include "support/panel_fixture.h"

namespace jc::test {
namespace {

TEST(PanelSmokeTest, OpensTheDefaultLayoutWithTheDefaults) {
  PanelFixture f;
  KorvelPrintPdeVx418JC& panel = f.open();
  ASSERT_NE(f.view(), nullptr);
  EXPECT_TRUE(panel.hasInited);
  EXPECT_EQ(panel.mfpURL, "localhost");
  EXPECT_EQ(f.control("printersAddressEditText").stringValue(), u"localhost");
  EXPECT_EQ(f.control("userNameEditText").stringValue(), u"Test User");
  EXPECT_EQ(panel.preferenceName, "korvel.mfp.Sample_MFP");
}

}  // namespace
}  // namespace jc::test
