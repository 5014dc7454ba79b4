#include "sounds/SoundEntry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SoundEntry, SplitsAtTheLastColon) {
  EXPECT_EQ(sounds::SplitAtLastColon("a:b:c").name, "a:b");
  EXPECT_EQ(sounds::SplitAtLastColon("a:b:c").caption, "c");
  EXPECT_EQ(sounds::SplitAtLastColon("no colon").name, "");
  EXPECT_EQ(sounds::SplitAtLastColon("no colon").caption, "no colon");
  EXPECT_EQ(sounds::SplitAtLastColon("name:").caption, "");
}

TEST(SoundEntry, UnitEntriesRoundTripAndBrokenOnesAreRejected) {
  const auto clip = sounds::ParseUnitEntry(sounds::UnitEntry("res:1", 3));
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->resourceName, "res:1");
  EXPECT_EQ(clip->unitIndex, 3);
  EXPECT_FALSE(sounds::ParseUnitEntry("DLL|name"));
  EXPECT_FALSE(sounds::ParseUnitEntry("DLL|name|x"));
  EXPECT_FALSE(sounds::ParseUnitEntry("DLL"));
  EXPECT_TRUE(sounds::IsUnitEntry("DLLx"));
  EXPECT_FALSE(sounds::IsUnitEntry("dll|a|1"));
  EXPECT_FALSE(sounds::IsUnitEntry("DL"));
}

TEST(SoundEntry, ExternalEntriesAreCutTo255Characters) {
  const std::string path(300, 'p');
  const std::string entry = sounds::ExternalEntry(path);
  EXPECT_EQ(entry.size(), 255u);
  EXPECT_EQ(sounds::ExternalPath(entry), path.substr(0, 251));
  EXPECT_EQ(sounds::ExternalPath("EXT|"), "");
  EXPECT_EQ(sounds::ExternalPath("Bog"), "");
}

}  // namespace
