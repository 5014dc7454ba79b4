#include <string>
#include <vector>

#include "CatalogueFixture.h"
#include "ini/BigIni.h"
#include "rtl/RuntimeErrors.h"

namespace {

using Catalogue = CatalogueFixture;

std::vector<std::string> Lines(const std::string& path, const char* section) {
  ini::TBiggerIniFile ini(path);
  ini::TStringList sections, values;
  ini.ReadSections(sections);
  EXPECT_EQ(sections, ini::TStringList{"Settings"});
  ini.ReadSectionValues(section, values);
  return values;
}

TEST_F(Catalogue, FortyFiveClipsFillThreeColumns) {
  WriteUnits({FAKE_UNIT_45});
  catalogue_->ReadSettings(nullptr);

  ASSERT_EQ(TopLevelCount(), 7);
  tk::TMenuItem* menu = TopLevel(6);
  EXPECT_EQ(menu->Caption(), "Big Unit");
  EXPECT_EQ(menu->Name(), "MenuBig6");
  EXPECT_EQ(menu->Owner(), &owner_);
  ASSERT_EQ(menu->Count(), 45);
  for (int i = 0; i < 45; ++i) {
    tk::TMenuItem* entry = menu->Items(i);
    const bool breaks = i == 20 || i == 41;
    EXPECT_EQ(entry->Break() == tk::TMenuBreak::mbBarBreak, breaks) << "entry " << i + 1;
    EXPECT_EQ(entry->Name(), "SubMenu" + std::to_string(i));
    EXPECT_EQ(entry->Caption(), "Clip " + std::to_string(i + 1));
    EXPECT_EQ(entry->Tag(), i + 1);
    EXPECT_TRUE(entry->Enabled());
    EXPECT_FALSE(entry->Checked());
  }
  EXPECT_EQ(state_.soundList[45], "DLL|clip45|1");
  EXPECT_EQ(state_.recentCapacity, 10);
}

// Units of 3 and 4 clips and two external sounds, as the tray shows them.
TEST_F(Catalogue, UnitsComeFirstThenExternalSounds) {
  WriteUnits({FAKE_UNIT_A3, FAKE_UNIT_B4});
  WriteExternals("2", 2);
  catalogue_->ReadSettings(nullptr);

  EXPECT_EQ(state_.unitList, (std::vector<std::string>{"Bogus", FAKE_UNIT_A3, FAKE_UNIT_B4}));
  EXPECT_EQ(state_.soundList,
            (std::vector<std::string>{"Bogus", "DLL|clip1|1", "DLL|clip2|1", "DLL|clip3|1",
                                      "DLL|b1|2", "DLL|b2|2", "DLL|b3|2", "DLL|b4|2",
                                      "EXT|/sounds/wav1.wav", "EXT|/sounds/wav2.wav"}));
  EXPECT_EQ(state_.recentCapacity, 0);

  // One identifier, two menus: the names differ in their number.
  ASSERT_EQ(TopLevelCount(), 8);
  EXPECT_EQ(TopLevel(6)->Name(), "MenuSame6");
  EXPECT_EQ(TopLevel(7)->Name(), "MenuSame7");
  EXPECT_EQ(TopLevel(7)->Caption(), "Unit B");
  ASSERT_EQ(TopLevel(7)->Count(), 4);
  EXPECT_EQ(TopLevel(7)->Items(0)->Tag(), 4);
  EXPECT_EQ(TopLevel(7)->Items(3)->Tag(), 7);
  EXPECT_EQ(TopLevel(7)->Items(3)->Caption(), "B 4");

  ASSERT_EQ(External()->Count(), 2);
  EXPECT_EQ(External()->Items(1)->Name(), "SubMenu1");
  EXPECT_EQ(External()->Items(1)->Caption(), "Sound 2");
  EXPECT_EQ(External()->Items(1)->Tag(), 9);
}

TEST_F(Catalogue, CountsAboveTheSlotLimitsReadOnlyTheFirstSlots) {
  WriteUnits("5", {FAKE_UNIT_A3, FAKE_UNIT_A3, FAKE_UNIT_A3, FAKE_UNIT_B4, FAKE_UNIT_B4});
  WriteExternals("12", 12);
  catalogue_->ReadSettings(nullptr);

  EXPECT_EQ(state_.unitList.size(), 4u);
  ASSERT_EQ(TopLevelCount(), 9);
  EXPECT_EQ(TopLevel(8)->Caption(), "Unit A");
  ASSERT_EQ(External()->Count(), 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(External()->Items(i)->Break(), tk::TMenuBreak::mbNone);
  EXPECT_EQ(state_.soundList.back(), "EXT|/sounds/wav10.wav");
}

TEST_F(Catalogue, ExternalCountsBelowOneOrBeyondTheEntries) {
  WriteExternals("-1", 3);
  catalogue_->ReadSettings(nullptr);
  EXPECT_EQ(state_.soundList.size(), 1u);
  EXPECT_EQ(External()->Count(), 0);

  // Missing slots are not skipped: they become empty entries.
  WriteExternals("4", 2);
  catalogue_->ReadSettings(nullptr);
  EXPECT_EQ(state_.soundList, (std::vector<std::string>{"Bogus", "EXT|/sounds/wav1.wav",
                                                        "EXT|/sounds/wav2.wav", "EXT|", "EXT|"}));
  ASSERT_EQ(External()->Count(), 4);
  EXPECT_EQ(External()->Items(3)->Caption(), "");
  EXPECT_EQ(External()->Items(3)->Tag(), 4);
}

TEST_F(Catalogue, ClipNameKeepsAllButTheLastColonAndIdentifierIsMadeUsable) {
  WriteUnits({FAKE_UNIT_COLONS});
  catalogue_->ReadSettings(nullptr);
  ASSERT_EQ(TopLevelCount(), 7);
  EXPECT_EQ(TopLevel(6)->Name(), "MenuOdd_Id_x6");
  EXPECT_EQ(TopLevel(6)->Caption(), "Odd");
  EXPECT_EQ(state_.soundList[1], "DLL|res:1|1");
  EXPECT_EQ(TopLevel(6)->Items(0)->Caption(), "Clip 1");
}

TEST_F(Catalogue, CapacityGrowsByFiveForEveryTwentyPlayableEntries) {
  const std::vector<std::string> one{FAKE_UNIT_TEN},
      three{FAKE_UNIT_TEN, FAKE_UNIT_TEN, FAKE_UNIT_TEN};
  struct Case {
    std::vector<std::string> units;
    int externals;
    int capacity;
  };
  for (const Case& c :
       {Case{one, 9, 0}, Case{one, 10, 5}, Case{three, 9, 5}, Case{three, 10, 10}}) {
    WriteUnits(c.units);
    WriteExternals(std::to_string(c.externals), c.externals);
    catalogue_->ReadSettings(nullptr);
    EXPECT_EQ(state_.recentCapacity, c.capacity) << state_.soundList.size() - 1 << " entries";
  }
}

TEST_F(Catalogue, RebuildReplacesSoundMenusAndKeepsFixedItems) {
  std::vector<tk::TMenuItem*> fixed;
  for (int i = 0; i < 6; ++i) fixed.push_back(TopLevel(i));
  auto* timerEntry = new tk::TMenuItem(nullptr);
  TopLevel(2)->Add(timerEntry);

  int restores = 0;
  size_t soundsAtRestore = 0;
  restoreTimer_ = [&] {
    ++restores;
    soundsAtRestore = state_.soundList.size();
  };

  WriteUnits({FAKE_UNIT_45, FAKE_UNIT_A3});
  WriteExternals("2", 2);
  catalogue_->ReadSettings(nullptr);
  for (int i = 0; i < 4; ++i) catalogue_->PickRandomSound(nullptr);
  EXPECT_EQ(state_.recentPicks.size(), 5u);

  WriteUnits({FAKE_UNIT_B4});
  WriteExternals("1", 1);
  catalogue_->ReadSettings(nullptr);

  EXPECT_EQ(restores, 2);
  EXPECT_EQ(soundsAtRestore, 6u);  // the timer is restored after the catalogue is complete
  EXPECT_EQ(state_.recentPicks, std::vector<std::string>{"Bogus"});
  EXPECT_EQ(state_.recentCapacity, 0);
  ASSERT_EQ(TopLevelCount(), 7);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(TopLevel(i), fixed[i]);
  EXPECT_EQ(TopLevel(2)->Count(), 1);
  EXPECT_EQ(TopLevel(6)->Name(), "MenuSame6");
  ASSERT_EQ(External()->Count(), 1);
  EXPECT_EQ(External()->Items(0)->Name(), "SubMenu0");
  EXPECT_EQ(External()->Items(0)->Tag(), 5);
  // The old unit menus are gone from the owner too.
  EXPECT_EQ(owner_.ComponentCount(), 1 + 6 + 1);
}

TEST_F(Catalogue, MissingFilesAreCreatedWithDefaultsAndNothingIsRead) {
  catalogue_->ReadSettings(nullptr);
  EXPECT_EQ(Lines(state_.appFolder + "BSUs.ini", "Settings"),
            std::vector<std::string>{"NumberOfBSUs=0"});
  EXPECT_EQ(Lines(state_.appFolder + "External.ini", "Settings"),
            (std::vector<std::string>{"NumberOfSounds=0", "LastDir=" + state_.appFolder + "Wavs"}));
  EXPECT_EQ(state_.soundList.size(), 1u);
  EXPECT_EQ(state_.unitList.size(), 1u);
  EXPECT_EQ(TopLevelCount(), 6);

  // An existing file is only read, never rewritten.
  WriteUnits("1", {FAKE_UNIT_A3});
  const std::string before = ReadFile("BSUs.ini");
  catalogue_->ReadSettings(nullptr);
  EXPECT_EQ(ReadFile("BSUs.ini"), before);
  EXPECT_EQ(state_.soundList.size(), 4u);
}

TEST_F(Catalogue, CountThatIsNotANumberStopsTheRebuildAndKeepsWhatWasBuilt) {
  WriteUnits({FAKE_UNIT_45});
  catalogue_->ReadSettings(nullptr);
  ASSERT_EQ(state_.recentCapacity, 10);

  WriteUnits({FAKE_UNIT_A3});
  WriteExternals("abc", 2);
  try {
    catalogue_->ReadSettings(nullptr);
    FAIL() << "no error";
  } catch (const rtl::EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(state_.soundList.size(), 4u);
  ASSERT_EQ(TopLevelCount(), 7);
  EXPECT_EQ(TopLevel(6)->Caption(), "Unit A");
  // The old capacity of 10 would make random picks wait forever for a fourth sound.
  EXPECT_EQ(state_.recentCapacity, 0);
  for (int i = 0; i < 20; ++i) catalogue_->PickRandomSound(nullptr);
}

}  // namespace
