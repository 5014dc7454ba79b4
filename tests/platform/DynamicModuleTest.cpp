#include "platform/DynamicModule.h"

#include <elf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "support/TempFolder.h"

using namespace platform;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

using NumberFn = int32_t (*)();

class DynamicModuleTest : public ::testing::Test {
 protected:
  TempFolder folder;
  const std::string unit = ReadAll(JBW_TEST_UNIT);

  std::string Patched(size_t offset, const void* bytes, size_t size) const {
    std::string copy = unit;
    std::memcpy(copy.data() + offset, bytes, size);
    return copy;
  }
};

TEST_F(DynamicModuleTest, RefusesFilesThatAreNotWholeModulesForThisMachine) {
  ASSERT_GT(unit.size(), 4096u);
  const Elf64_Ehdr* eh = reinterpret_cast<const Elf64_Ehdr*>(unit.data());
  const Elf64_Half aarch64 = EM_AARCH64, exec = ET_EXEC;
  const Elf64_Off farAway = Elf64_Off{1} << 40;
  const unsigned char class32 = ELFCLASS32, bigEndian = ELFDATA2MSB;

  const std::vector<std::pair<std::string, std::string>> corpus = {
      {"empty", ""},
      {"text", "Identifier:Caption\nnot a module at all\n"},
      {"header only", unit.substr(0, sizeof(Elf64_Ehdr))},
      {"half", unit.substr(0, unit.size() / 2)},
      {"one page", unit.substr(0, 4096)},
      {"wrong machine", Patched(offsetof(Elf64_Ehdr, e_machine), &aarch64, 2)},
      {"32-bit", Patched(EI_CLASS, &class32, 1)},
      {"big-endian", Patched(EI_DATA, &bigEndian, 1)},
      {"executable", Patched(offsetof(Elf64_Ehdr, e_type), &exec, 2)},
      {"headers far away", Patched(offsetof(Elf64_Ehdr, e_phoff), &farAway, 8)},
  };
  // Cut just before the end of the last loadable segment: everything the loader
  // reads at first is there, but mapping the rest would raise SIGBUS.
  uint64_t loadEnd = 0;
  for (int i = 0; i < eh->e_phnum; ++i) {
    const auto* ph = reinterpret_cast<const Elf64_Phdr*>(unit.data() + eh->e_phoff) + i;
    if (ph->p_type == PT_LOAD) loadEnd = std::max(loadEnd, ph->p_offset + ph->p_filesz);
  }
  ASSERT_GT(loadEnd, 0u);

  auto all = corpus;
  all.emplace_back("segment cut short", unit.substr(0, loadEnd - 1));
  for (const auto& [name, bytes] : all) {
    folder.Write("Damaged.BSU", bytes);
    EXPECT_EQ(LoadLibraryA(folder.File("Damaged.BSU").c_str()), nullptr) << name;
    EXPECT_FALSE(LastModuleError().empty()) << name;
  }

  // A file that is whole up to its segments' end loads, whatever follows it.
  folder.Write("Whole.BSU", unit.substr(0, loadEnd) + "appended payload");
  HMODULE whole = LoadLibraryA(folder.File("Whole.BSU").c_str());
  EXPECT_NE(whole, nullptr) << LastModuleError();
  FreeLibrary(whole);
}

TEST_F(DynamicModuleTest, RefusesPathsThatNameNoFileWithoutBlocking) {
  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
  EXPECT_EQ(LoadLibraryA(""), nullptr);
  EXPECT_EQ(LoadLibraryA(folder.File("Missing.BSU").c_str()), nullptr);
  EXPECT_EQ(LoadLibraryA(folder.Path().c_str()), nullptr);
  ASSERT_EQ(mkfifo(folder.File("Pipe.BSU").c_str(), 0600), 0);
  EXPECT_EQ(LoadLibraryA(folder.File("Pipe.BSU").c_str()), nullptr);
}

TEST_F(DynamicModuleTest, BareNameIsTakenFromTheCurrentFolderNotTheLibraryPath) {
  folder.Write("Here.BSU", unit);
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  HMODULE here = LoadLibraryA("Here.BSU");
  HMODULE libc = LoadLibraryA("libc.so.6");  // on the library path, not here
  std::filesystem::current_path(previous);

  ASSERT_NE(here, nullptr) << LastModuleError();
  EXPECT_EQ(here->path, folder.File("Here.BSU"));
  EXPECT_EQ(libc, nullptr);
  FreeLibrary(here);
}

TEST_F(DynamicModuleTest, ExportsAreFoundByExactName) {
  HMODULE m = LoadLibraryA(JBW_TEST_UNIT);
  ASSERT_NE(m, nullptr) << LastModuleError();
  auto count = reinterpret_cast<NumberFn>(GetProcAddress(m, "NumberofSounds"));
  ASSERT_NE(count, nullptr);
  EXPECT_EQ(count(), 3);
  EXPECT_EQ(GetProcAddress(m, "NumberOfSounds"), nullptr);
  EXPECT_EQ(GetProcAddress(m, "jbw_clip_0"), nullptr);  // the kit keeps its data private
  EXPECT_EQ(GetProcAddress(m, nullptr), nullptr);
  EXPECT_EQ(FreeLibrary(m), 1);

  HMODULE bare = LoadLibraryA(JBW_NO_EXPORTS_UNIT);
  ASSERT_NE(bare, nullptr) << LastModuleError();
  EXPECT_EQ(GetProcAddress(bare, "NumberofSounds"), nullptr);
  EXPECT_EQ(GetProcAddress(bare, "SoundsList"), nullptr);
  FreeLibrary(bare);

  EXPECT_EQ(GetProcAddress(nullptr, "NumberofSounds"), nullptr);
  EXPECT_EQ(FreeLibrary(nullptr), 0);
}

TEST_F(DynamicModuleTest, OverlappingLoadsOnManyThreadsShareOneImage) {
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 40; ++i) {
        HMODULE m = LoadLibraryA(JBW_TEST_UNIT);
        auto count = m ? reinterpret_cast<NumberFn>(GetProcAddress(m, "NumberofSounds")) : nullptr;
        if (!count || count() != 3) ++failures;
        FreeLibrary(m);
      }
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures.load(), 0);

  HMODULE a = LoadLibraryA(JBW_TEST_UNIT);
  HMODULE b = LoadLibraryA(JBW_TEST_UNIT);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(GetProcAddress(a, "SoundsList"), GetProcAddress(b, "SoundsList"));
  FreeLibrary(a);
  // The second handle keeps the image alive.
  auto count = reinterpret_cast<NumberFn>(GetProcAddress(b, "NumberofSounds"));
  EXPECT_EQ(count(), 3);
  FreeLibrary(b);
}

}  // namespace
