#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "jbw/SoundUnitAbi.h"
#include "platform/DynamicModule.h"
#include "platform/ModuleResources.h"

using namespace platform;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SoundUnitKitTest, BuiltUnitListsItsClipsInOrderAndServesTheirWaveFiles) {
  HMODULE m = LoadLibraryA(JBW_TEST_UNIT);
  ASSERT_NE(m, nullptr) << LastModuleError();
  auto count =
      reinterpret_cast<JbwNumberofSoundsFn>(GetProcAddress(m, JBW_EXPORT_NUMBER_OF_SOUNDS));
  auto list = reinterpret_cast<JbwSoundsListFn>(GetProcAddress(m, JBW_EXPORT_SOUNDS_LIST));
  ASSERT_TRUE(count && list);

  ASSERT_EQ(count(), 3);
  EXPECT_STREQ(list(0), "TestUnit:Test Sounds");
  EXPECT_STREQ(list(1), "Pattern:Stereo Pattern");
  EXPECT_STREQ(list(2), "Long:A Long One");
  EXPECT_STREQ(list(3), "Odd:Name:Low Tone");  // a name part may hold ':'
  EXPECT_STREQ(list(4), "");
  EXPECT_STREQ(list(-1), "");

  const std::pair<const char*, const char*> clips[] = {
      {"Pattern", "Pattern.wav"}, {"Long", "Long.wav"}, {"Odd:Name", "Low.wav"}};
  for (const auto& [name, file] : clips) {
    auto data = FindWaveResource(m, name);
    ASSERT_TRUE(data) << name;
    EXPECT_EQ(std::string(data->begin(), data->end()), ReadAll(std::string(JBW_TEST_DATA) + file));
    // Embedded data is aligned for readers that want to map samples directly.
    EXPECT_EQ(reinterpret_cast<uintptr_t>(data->data()) % 16, 0u) << name;
  }
  FreeLibrary(m);
}

}  // namespace
