// Load throughput and the settings access pattern of the INI engine and its peers.
#include <INIReader.h>
#include <SimpleIni.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <glib.h>
#include <ini.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSettings>
#include <QString>
#include <cstring>
#include <memory>

#include "BenchInputs.h"
#include "ini/BigIni.h"

namespace {

using bench::InputFile;

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(bench::kSmall)->Arg(bench::kMedium)->Arg(bench::kLarge);
}

void Throughput(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(InputFile(static_cast<int>(state.range(0))).bytes));
}

// Reading the file and finding its lines, with nothing kept: the floor for any loader.
size_t RawLines(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  struct stat st;
  ::fstat(fd, &st);
  std::unique_ptr<char[]> text(new char[st.st_size + 1]);
  const ssize_t n = ::read(fd, text.get(), st.st_size);
  ::close(fd);
  size_t lines = 0;
  const char* p = text.get();
  const char* end = p + (n > 0 ? n : 0);
  while (p < end) {
    const void* cr = std::memchr(p, '\r', static_cast<size_t>(end - p));
    if (!cr) break;
    p = static_cast<const char*>(cr) + 1;
    ++lines;
  }
  return lines;
}

// QSettings keeps parsed files keyed by name and skips an unchanged file; a new
// modification time makes every load a real one.
void Touch(const char* path) {
  static long stamp = 0;
  const timespec times[2] = {{1000000 + ++stamp, 0}, {1000000 + stamp, 0}};
  ::utimensat(AT_FDCWD, path, times, 0);
}

void BM_Load_Raw(benchmark::State& state) {
  const char* path = InputFile(static_cast<int>(state.range(0))).path.c_str();
  for (auto _ : state) benchmark::DoNotOptimize(RawLines(path));
  Throughput(state);
}

void BM_Load_Jbw(benchmark::State& state) {
  const std::string& path = InputFile(static_cast<int>(state.range(0))).path;
  for (auto _ : state) {
    ini::TBiggerIniFile file(path);
    benchmark::DoNotOptimize(file.Sections.Count());
  }
  Throughput(state);
}

int CountEntry(void* user, const char*, const char*, const char*) {
  ++*static_cast<long*>(user);
  return 1;
}

void BM_Load_inih(benchmark::State& state) {
  const char* path = InputFile(static_cast<int>(state.range(0))).path.c_str();
  for (auto _ : state) {
    long entries = 0;
    ini_parse(path, CountEntry, &entries);
    benchmark::DoNotOptimize(entries);
  }
  Throughput(state);
}

void BM_Load_INIReader(benchmark::State& state) {
  const std::string& path = InputFile(static_cast<int>(state.range(0))).path;
  for (auto _ : state) {
    INIReader reader(path);
    benchmark::DoNotOptimize(reader.ParseError());
  }
  Throughput(state);
}

void BM_Load_SimpleIni(benchmark::State& state) {
  const char* path = InputFile(static_cast<int>(state.range(0))).path.c_str();
  for (auto _ : state) {
    CSimpleIniA file;
    if (file.LoadFile(path) < 0) state.SkipWithError("SimpleIni failed");
    benchmark::DoNotOptimize(file.GetSectionSize(bench::kSection));
  }
  Throughput(state);
}

void BM_Load_QSettings(benchmark::State& state) {
  const std::string& path = InputFile(static_cast<int>(state.range(0))).path;
  const QString name = QString::fromLocal8Bit(path);
  for (auto _ : state) {
    Touch(path.c_str());
    QSettings settings(name, QSettings::IniFormat);
    benchmark::DoNotOptimize(settings.childGroups().size());
  }
  Throughput(state);
}

void BM_Load_GKeyFile(benchmark::State& state) {
  const char* path = InputFile(static_cast<int>(state.range(0))).path.c_str();
  for (auto _ : state) {
    GKeyFile* file = g_key_file_new();
    if (!g_key_file_load_from_file(file, path, G_KEY_FILE_NONE, nullptr)) {
      state.SkipWithError("GKeyFile failed");
    }
    g_key_file_free(file);
  }
  Throughput(state);
}

BENCHMARK(BM_Load_Raw)->Apply(Sizes);
BENCHMARK(BM_Load_Jbw)->Apply(Sizes);
BENCHMARK(BM_Load_inih)->Apply(Sizes);
BENCHMARK(BM_Load_INIReader)->Apply(Sizes);
BENCHMARK(BM_Load_SimpleIni)->Apply(Sizes);
BENCHMARK(BM_Load_QSettings)->Apply(Sizes);
BENCHMARK(BM_Load_GKeyFile)->Apply(Sizes);

// The settings access pattern: open the small file, read three values, let it go.
const char* SmallPath() {
  return InputFile(bench::kSmall).path.c_str();
}

void BM_Access_Raw(benchmark::State& state) {
  const char* path = SmallPath();
  char buffer[4096];
  for (auto _ : state) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
    ::close(fd);
  }
}

void BM_Access_Jbw(benchmark::State& state) {
  const std::string path = SmallPath();
  for (auto _ : state) {
    ini::TBiggerIniFile file(path);
    for (const char* key : bench::kKeys) {
      benchmark::DoNotOptimize(file.ReadString(bench::kSection, key, ""));
    }
  }
}

void BM_Access_INIReader(benchmark::State& state) {
  const std::string path = SmallPath();
  for (auto _ : state) {
    INIReader reader(path);
    for (const char* key : bench::kKeys) {
      benchmark::DoNotOptimize(reader.Get(bench::kSection, key, ""));
    }
  }
}

void BM_Access_SimpleIni(benchmark::State& state) {
  const char* path = SmallPath();
  for (auto _ : state) {
    CSimpleIniA file;
    file.LoadFile(path);
    for (const char* key : bench::kKeys) {
      benchmark::DoNotOptimize(file.GetValue(bench::kSection, key, ""));
    }
  }
}

// Without a touch: QSettings serves an unchanged file from its cache, as it would in use.
void BM_Access_QSettings(benchmark::State& state) {
  const QString name = QString::fromLocal8Bit(SmallPath());
  for (auto _ : state) {
    QSettings settings(name, QSettings::IniFormat);
    for (const char* key : bench::kKeys) {
      benchmark::DoNotOptimize(
          settings.value(QString::fromLatin1(bench::kSection) + '/' + QLatin1String(key)));
    }
  }
}

void BM_Access_GKeyFile(benchmark::State& state) {
  const char* path = SmallPath();
  for (auto _ : state) {
    GKeyFile* file = g_key_file_new();
    g_key_file_load_from_file(file, path, G_KEY_FILE_NONE, nullptr);
    for (const char* key : bench::kKeys) {
      gchar* value = g_key_file_get_string(file, bench::kSection, key, nullptr);
      benchmark::DoNotOptimize(value);
      g_free(value);
    }
    g_key_file_free(file);
  }
}

BENCHMARK(BM_Access_Raw);
BENCHMARK(BM_Access_Jbw);
BENCHMARK(BM_Access_INIReader);
BENCHMARK(BM_Access_SimpleIni);
BENCHMARK(BM_Access_QSettings);
BENCHMARK(BM_Access_GKeyFile);

}  // namespace
