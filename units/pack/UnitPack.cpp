// jbw-unit-pack: makes a sound unit from WAV files without a compiler, by appending
// the clips to a copy of the prebuilt unit template.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "jbw/PackFormat.h"
#include "platform/linux/wave/SoundFileDecode.h"
#include "platform/linux/wave/WaveImage.h"

namespace fs = std::filesystem;
using namespace jbw::pack;

namespace {

constexpr int kExitBadInput = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: jbw-unit-pack -o Out.BSU --id ID --caption CAPTION [--template FILE]\n"
    "                     clip.wav[=Caption] ...\n"
    "Makes a sound unit from WAV files. Each clip's resource name is its file's base\n"
    "name; its caption is the text after '=', or the base name. ID holds letters,\n"
    "digits and '_'; captions hold no ':'.\n";

struct Clip {
  std::string name;
  std::string caption;
  std::vector<char> wav;
};

struct Options {
  std::string output, id, caption, templatePath;
  std::vector<std::string> inputs;
};

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};
class InputError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

Options ParseArguments(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw UsageError(arg + " needs a value");
      return argv[++i];
    };
    if (arg == "-o" || arg == "--output")
      o.output = value();
    else if (arg == "--id")
      o.id = value();
    else if (arg == "--caption")
      o.caption = value();
    else if (arg == "--template")
      o.templatePath = value();
    else if (arg == "--") {
      for (++i; i < argc; ++i) o.inputs.emplace_back(argv[i]);
    } else if (arg.size() > 1 && arg[0] == '-')
      throw UsageError("unknown option " + arg);
    else
      o.inputs.push_back(arg);
  }
  if (o.output.empty()) throw UsageError("no output file (-o)");
  if (o.id.empty()) throw UsageError("no unit identifier (--id)");
  if (o.caption.empty()) throw UsageError("no unit caption (--caption)");
  if (o.inputs.empty()) throw UsageError("no WAV files");
  if (!std::all_of(o.id.begin(), o.id.end(),
                   [](unsigned char c) { return std::isalnum(c) || c == '_'; }))
    throw UsageError("the identifier may hold only letters, digits and '_': " + o.id);
  if (o.caption.find(':') != std::string::npos) throw UsageError("the caption cannot hold ':'");
  return o;
}

std::vector<char> ReadFile(const fs::path& path, uint64_t limit) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) throw InputError(path.string() + ": not a readable file");
  if (fs::file_size(path, ec) > limit) throw InputError(path.string() + ": file too large");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw InputError(path.string() + ": cannot open");
  return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

std::string Sanitised(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '|' || c == ':'; }, '_');
  return text;
}

// "file.wav=Caption": the split is at the first "=" whose left side names a file, so
// file names holding "=" still work.
std::pair<fs::path, std::optional<std::string>> SplitInput(const std::string& input) {
  std::error_code ec;
  if (fs::exists(input, ec)) return {input, std::nullopt};
  for (size_t eq = input.find('='); eq != std::string::npos; eq = input.find('=', eq + 1))
    if (fs::exists(input.substr(0, eq), ec)) return {input.substr(0, eq), input.substr(eq + 1)};
  throw InputError(input + ": no such file");
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

Clip ReadClip(const std::string& input, const std::vector<Clip>& earlier) {
  auto [path, caption] = SplitInput(input);
  Clip clip;
  clip.wav = ReadFile(path, kMaxClipBytes);
  // Units hold WAVE resources: other formats are stored as 16-bit PCM.
  if (platform::HasOtherSoundFormatName(path.string())) {
    const auto wave = platform::DecodeSoundFileToWave(
        {reinterpret_cast<const uint8_t*>(clip.wav.data()), clip.wav.size()});
    if (!wave) throw InputError(path.string() + ": not a sound file libsndfile can read");
    clip.wav.assign(wave->begin(), wave->end());
  }
  std::string why;
  std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(clip.wav.data()),
                                 clip.wav.size());
  if (!platform::ParseWave(bytes, &why)) throw InputError(path.string() + ": " + why);

  const std::string base = Sanitised(path.stem().string());
  if (caption && caption->find(':') != std::string::npos)
    throw InputError(input + ": a caption cannot hold ':'");
  clip.caption = caption && !caption->empty() ? *caption : base;
  // Resources are found ignoring case, so names must differ by more than case.
  clip.name = base.empty() ? "clip" : base;
  auto taken = [&](const std::string& n) {
    return std::any_of(earlier.begin(), earlier.end(),
                       [&](const Clip& c) { return SameIgnoringCase(c.name, n); });
  };
  for (int n = 2; taken(clip.name); ++n)
    clip.name = (base.empty() ? "clip" : base) + "_" + std::to_string(n);
  if (clip.name.size() > kMaxTextLength || clip.caption.size() > kMaxTextLength)
    throw InputError(input + ": name or caption too long");
  return clip;
}

void Put32(std::string& out, uint32_t v) {
  out.append(reinterpret_cast<const char*>(&v), 4);
}
void Put64(std::string& out, uint64_t v) {
  out.append(reinterpret_cast<const char*>(&v), 8);
}
void PutText(std::string& out, const std::string& s) {
  Put32(out, static_cast<uint32_t>(s.size()));
  out += s;
}

std::string Payload(const Options& o, const std::vector<Clip>& clips) {
  std::string out(kPayloadMagic, 8);
  Put32(out, static_cast<uint32_t>(clips.size()));
  PutText(out, o.id + ":" + o.caption);
  for (const Clip& c : clips) {
    PutText(out, c.name);
    PutText(out, c.caption);
    Put64(out, c.wav.size());
    out.append(c.wav.data(), c.wav.size());
  }
  if (out.size() > kMaxPayloadBytes) throw InputError("the clips together are too large");
  return out;
}

fs::path TemplatePath(const Options& o) {
  if (!o.templatePath.empty()) return o.templatePath;
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return (ec ? fs::path(".") : self.parent_path()) / kTemplateFileName;
}

// Written beside the target and renamed over it, so a unit that is loaded somewhere
// is replaced whole, never rewritten in place.
void WriteUnit(const Options& o, const std::vector<Clip>& clips) {
  std::vector<char> image = ReadFile(TemplatePath(o), kMaxPayloadBytes);
  std::string payload = Payload(o, clips);
  std::string trailer;
  Put64(trailer, image.size());
  Put64(trailer, payload.size());
  trailer.append(kTrailerMagic, 8);

  const fs::path target = o.output;
  const fs::path temp = target.string() + ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(image.data(), static_cast<std::streamsize>(image.size()));
    out << payload << trailer;
    out.close();
    if (!out) {
      std::error_code ec;
      fs::remove(temp, ec);
      throw InputError(target.string() + ": cannot write");
    }
  }
  fs::permissions(temp, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    throw InputError(target.string() + ": cannot replace");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::cout << kUsage;
    return 0;
  }
  try {
    Options options = ParseArguments(argc, argv);
    std::vector<Clip> clips;
    for (const std::string& input : options.inputs) clips.push_back(ReadClip(input, clips));
    WriteUnit(options, clips);
    std::cout << options.output << ": " << clips.size() << " clips\n";
    return 0;
  } catch (const UsageError& e) {
    std::cerr << "jbw-unit-pack: " << e.what() << "\n" << kUsage;
    return kExitUsage;
  } catch (const std::exception& e) {
    std::cerr << "jbw-unit-pack: " << e.what() << "\n";
    return kExitBadInput;
  }
}
