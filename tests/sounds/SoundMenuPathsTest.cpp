// Sound entries named "<menu caption>/<entry caption>", as calls from outside give them.
#include "CatalogueFixture.h"
#include "sounds/SoundMenuPaths.h"

namespace {

class Paths : public CatalogueFixture {
 protected:
  std::vector<std::string> List() { return sounds::SoundMenuPaths(catalogue_->SoundMenus()); }
  tk::TMenuItem* Find(const std::string& path) {
    return sounds::FindSoundMenuPath(catalogue_->SoundMenus(), path);
  }
};

TEST_F(Paths, ListsExternalSoundsThenEachUnitsClipsAndNothingElse) {
  WriteUnits({FAKE_UNIT_A3, FAKE_UNIT_B4});
  WriteExternals("1", 1);
  catalogue_->ReadSettings(nullptr);
  External()->SetCaption("External Sounds");
  // The fixed menus hold no sounds, even with entries of their own.
  TopLevel(2)->SetCaption("Timer");
  auto* off = new tk::TMenuItem(&owner_);
  off->SetCaption("Off");
  TopLevel(2)->Add(off);

  EXPECT_EQ(List(), (std::vector<std::string>{"External Sounds/Sound 1", "Unit A/Clip 1",
                                              "Unit A/Clip 2", "Unit A/Clip 3", "Unit B/B 1",
                                              "Unit B/B 2", "Unit B/B 3", "Unit B/B 4"}));
  EXPECT_EQ(Find("Unit B/B 3"), TopLevel(7)->Items(2));
  EXPECT_EQ(Find("Timer/Off"), nullptr);
  EXPECT_EQ(Find("Unit B/B 5"), nullptr);
  EXPECT_EQ(Find("Unit B/"), nullptr);
  EXPECT_EQ(Find("Unit B"), nullptr);
  EXPECT_EQ(Find("unit b/B 3"), nullptr);
}

TEST_F(Paths, SlashesAccessKeysAndTwinCaptions) {
  WriteFile("External.ini",
            "[Settings]\nNumberOfSounds=4\n[Sound-List]\n1=/a.wav\n2=/b.wav\n3=/c.wav\n4=/d.wav\n"
            "[Sound-Menu]\n1=AC/DC\n2=&Door\n3=Twin\n4=Twin\n");
  catalogue_->ReadSettings(nullptr);
  External()->SetCaption("External Sounds");

  EXPECT_EQ(Find("External Sounds/AC/DC"), External()->Items(0));
  EXPECT_EQ(Find("External Sounds/&Door"), External()->Items(1));
  EXPECT_EQ(Find("External Sounds/Door"), External()->Items(1));
  EXPECT_EQ(Find("External Sounds/Twin"), External()->Items(2));
  EXPECT_EQ(List()[0], "External Sounds/AC/DC");
}

TEST_F(Paths, AnEmptyMenuListsNothing) {
  catalogue_->ReadSettings(nullptr);
  EXPECT_TRUE(List().empty());
  EXPECT_EQ(Find("/"), nullptr);
}

}  // namespace
