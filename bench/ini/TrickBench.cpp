// What each speed trick of the INI engine buys: every row beside the plain way it replaces.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BenchInputs.h"
#include "ini/BigIni.h"
#include "ini/FileContent.h"
#include "ini/IniText.h"
#include "ini/LargeMemory.h"
#include "ini/LineSplit.h"

namespace {

using bench::InputFile;

std::string& LargeText() {
  static std::string text = [] {
    std::ifstream in(InputFile(bench::kLarge).path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  return text;
}

void Throughput(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_CountLineEnds_Sse2(benchmark::State& state) {
  const std::string& text = LargeText();
  for (auto _ : state) benchmark::DoNotOptimize(ini::CountLineEnds(text.data(), text.size()));
  Throughput(state, LargeText().size());
}

void BM_CountLineEnds_Plain(benchmark::State& state) {
  const std::string& text = LargeText();
  for (auto _ : state) {
    size_t count = 0;
    for (char c : text) count += c == '\r';
    benchmark::DoNotOptimize(count);
  }
  Throughput(state, LargeText().size());
}

void BM_SplitLines_Mask(benchmark::State& state) {
  std::string& text = LargeText();
  for (auto _ : state) {
    size_t lines = 0;
    ini::ForEachLine(text.data(), text.size(), [&](char*, size_t) { ++lines; });
    benchmark::DoNotOptimize(lines);
  }
  Throughput(state, LargeText().size());
}

void BM_SplitLines_Memchr(benchmark::State& state) {
  const std::string& text = LargeText();
  for (auto _ : state) {
    size_t lines = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
      const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(end - p)));
      ++lines;
      if (!cr) break;
      p = cr + 1;
      if (p < end && *p == '\n') ++p;
    }
    benchmark::DoNotOptimize(lines);
  }
  Throughput(state, LargeText().size());
}

// The large file read into fresh memory, as a load does: huge pages against the 4 KiB
// pages that a heap block of this size gets when the heap has handed its memory back.
void ReadInto(char* buffer) {
  const std::string& path = InputFile(bench::kLarge).path;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  benchmark::DoNotOptimize(::read(fd, buffer, InputFile(bench::kLarge).bytes));
  ::close(fd);
}

void BM_ReadFile_HugePages(benchmark::State& state) {
  const size_t bytes = InputFile(bench::kLarge).bytes;
  for (auto _ : state) {
    ini::LargeBuffer buffer(bytes + 1);
    ReadInto(buffer.get());
  }
  Throughput(state, bytes);
}

void BM_ReadFile_SmallPages(benchmark::State& state) {
  const size_t bytes = InputFile(bench::kLarge).bytes;
  for (auto _ : state) {
    void* buffer =
        ::mmap(nullptr, bytes + 1, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ReadInto(static_cast<char*>(buffer));
    ::munmap(buffer, bytes + 1);
  }
  Throughput(state, bytes);
}

// Beside BM_Load_Jbw/2: the hashed check settles a file without duplicates, while one
// duplicate costs the full sort.
void BM_Load_Jbw_OneDuplicate(benchmark::State& state) {
  const std::string& path = InputFile(bench::kLargeDuplicate).path;
  for (auto _ : state) {
    ini::TBiggerIniFile file(path);
    file.Modified = false;
    benchmark::DoNotOptimize(file.Sections.Count());
  }
  Throughput(state, InputFile(bench::kLargeDuplicate).bytes);
}

std::vector<std::string> SectionNames() {
  std::vector<std::string> names;
  char name[32];
  for (int s = 0; s < 100000; ++s) {
    std::snprintf(name, sizeof name, "Section%06d", s);
    names.emplace_back(name);
  }
  return names;
}

void BM_HashText_Words(benchmark::State& state) {
  const std::vector<std::string> names = SectionNames();
  for (auto _ : state) {
    uint64_t sum = 0;
    for (const std::string& name : names) sum += ini::HashText(name);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * names.size()));
}

// Byte by byte, with the same folding and final spread.
uint64_t HashBytes(std::string_view text) {
  uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : text) h = (h ^ ini::FoldByte(c)) * 0x100000001b3ull;
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  return h ^ (h >> 33);
}

void BM_HashText_Bytes(benchmark::State& state) {
  const std::vector<std::string> names = SectionNames();
  for (auto _ : state) {
    uint64_t sum = 0;
    for (const std::string& name : names) sum += HashBytes(name);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * names.size()));
}

BENCHMARK(BM_CountLineEnds_Sse2);
BENCHMARK(BM_CountLineEnds_Plain);
BENCHMARK(BM_SplitLines_Mask);
BENCHMARK(BM_SplitLines_Memchr);
BENCHMARK(BM_ReadFile_HugePages);
BENCHMARK(BM_ReadFile_SmallPages);
BENCHMARK(BM_Load_Jbw_OneDuplicate);
BENCHMARK(BM_HashText_Words);
BENCHMARK(BM_HashText_Bytes);

}  // namespace
