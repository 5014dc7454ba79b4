#include "platform/ModuleResources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/DynamicModule.h"

using namespace platform;

namespace {

std::string Bytes(std::span<const uint8_t> s) {
  return std::string(s.begin(), s.end());
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Unit {
 public:
  explicit Unit(const char* path) : m_(LoadLibraryA(path)) {}
  ~Unit() { FreeLibrary(m_); }
  HMODULE get() const { return m_; }

 private:
  HMODULE m_;
};

TEST(ModuleResourcesTest, FindsWaveDataByNameIgnoringCase) {
  Unit unit(JBW_TEST_UNIT);
  ASSERT_NE(unit.get(), nullptr) << LastModuleError();
  const std::string pattern = ReadAll(JBW_TEST_DATA "Pattern.wav");
  for (const char* name : {"Pattern", "PATTERN", "pattern"}) {
    auto found = FindWaveResource(unit.get(), name);
    ASSERT_TRUE(found) << name;
    EXPECT_EQ(Bytes(*found), pattern) << name;
  }
  auto odd = FindWaveResource(unit.get(), "odd:NAME");
  ASSERT_TRUE(odd);
  EXPECT_EQ(Bytes(*odd), ReadAll(JBW_TEST_DATA "Low.wav"));

  EXPECT_FALSE(FindWaveResource(unit.get(), "Patter"));
  EXPECT_FALSE(FindWaveResource(unit.get(), "Patterns"));
  EXPECT_FALSE(FindWaveResource(unit.get(), ""));
  EXPECT_FALSE(FindWaveResource(unit.get(), nullptr));
  EXPECT_FALSE(FindModuleResource(unit.get(), "Pattern", "BITMAP"));
  EXPECT_TRUE(FindModuleResource(unit.get(), "Pattern", "wave"));
  EXPECT_FALSE(FindWaveResource(nullptr, "Pattern"));
}

TEST(ModuleResourcesTest, DamagedOrMissingTablesYieldNothingButTheirGoodEntries) {
  Unit damaged(JBW_DAMAGED_TABLE_UNIT);
  ASSERT_NE(damaged.get(), nullptr) << LastModuleError();
  for (const char* skipped : {"NoType", "NoData", "Empty", "Absurd"})
    EXPECT_FALSE(FindWaveResource(damaged.get(), skipped)) << skipped;
  // Found past the damaged entries; the lying count stops at the end marker.
  auto good = FindWaveResource(damaged.get(), "good");
  ASSERT_TRUE(good);
  EXPECT_EQ(good->size(), 48u);
  EXPECT_FALSE(FindWaveResource(damaged.get(), "Beyond"));

  for (const char* path : {JBW_NULL_TABLE_UNIT, JBW_NEGATIVE_UNIT, JBW_NO_EXPORTS_UNIT}) {
    Unit unit(path);
    ASSERT_NE(unit.get(), nullptr) << LastModuleError();
    EXPECT_FALSE(FindWaveResource(unit.get(), "Good")) << path;
  }
}

}  // namespace
