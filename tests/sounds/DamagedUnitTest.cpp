#include <string>
#include <vector>

#include "CatalogueFixture.h"
#include "sounds/SoundUnitReader.h"

namespace {

using DamagedUnit = CatalogueFixture;

// Units that cannot be loaded or lack an export keep their slot, so the units after
// them still refer to the right paths; only loadable units get menus.
TEST_F(DamagedUnit, KeepsItsIndexAndGetsNoMenu) {
  WriteFile("junk.BSU", "not a module at all");
  const std::string junk = state_.appFolder + "junk.BSU";
  state_.unitSlotLimit = 6;
  WriteUnits({state_.appFolder + "missing.BSU", junk, FAKE_UNIT_NO_LIST, "", FAKE_UNIT_NULL,
              FAKE_UNIT_A3});
  catalogue_->ReadSettings(nullptr);

  EXPECT_EQ(state_.unitList.size(), 7u);
  EXPECT_EQ(state_.unitList[6], FAKE_UNIT_A3);
  ASSERT_EQ(TopLevelCount(), 8);

  // Null strings read as empty: an empty caption, an empty identifier, empty clips.
  EXPECT_EQ(TopLevel(6)->Name(), "Menu6");
  EXPECT_EQ(TopLevel(6)->Caption(), "");
  ASSERT_EQ(TopLevel(6)->Count(), 2);
  EXPECT_EQ(state_.soundList[1], "DLL||5");

  EXPECT_EQ(TopLevel(7)->Caption(), "Unit A");
  EXPECT_EQ(state_.soundList[3], "DLL|clip1|6");
  EXPECT_EQ(TopLevel(7)->Items(0)->Tag(), 3);
}

TEST_F(DamagedUnit, ClipCountBelowZeroOrAbsurdlyHighIsBounded) {
  WriteUnits({FAKE_UNIT_NEGATIVE, FAKE_UNIT_HUGE});
  catalogue_->ReadSettings(nullptr);
  ASSERT_EQ(TopLevelCount(), 8);
  EXPECT_EQ(TopLevel(6)->Caption(), "Negative");
  EXPECT_EQ(TopLevel(6)->Count(), 0);
  EXPECT_EQ(TopLevel(7)->Count(), sounds::kMaxClipsPerUnit);
  EXPECT_EQ(state_.soundList.size(), 1u + sounds::kMaxClipsPerUnit);
}

}  // namespace
