#pragma once

// WAVE file images built byte by byte, for tests that need them well-formed or not.
#include <cstdint>
#include <span>
#include <string>

inline std::span<const uint8_t> View(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

inline void Put(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

struct Fmt {
  uint16_t tag = 1, channels = 2;
  uint32_t rate = 8000;
  uint16_t blockAlign = 4, bits = 16;
};

inline std::string Chunk(const char* id, const std::string& body, uint32_t declared) {
  std::string out(id, 4);
  Put(out, declared, 4);
  out += body;
  if (body.size() & 1) out.push_back('\0');
  return out;
}
inline std::string Chunk(const char* id, const std::string& body) {
  return Chunk(id, body, static_cast<uint32_t>(body.size()));
}

inline std::string FmtBody(const Fmt& f) {
  std::string b;
  Put(b, f.tag, 2);
  Put(b, f.channels, 2);
  Put(b, f.rate, 4);
  Put(b, f.rate * f.blockAlign, 4);
  Put(b, f.blockAlign, 2);
  Put(b, f.bits, 2);
  return b;
}

inline std::string Riff(const std::string& chunks) {
  std::string out = "RIFF";
  Put(out, static_cast<uint32_t>(4 + chunks.size()), 4);
  return out + "WAVE" + chunks;
}

inline std::string Samples(size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(i * 7 + 1));
  return s;
}

// A well-formed file of `f` holding `samples`.
inline std::string Wave(const Fmt& f, const std::string& samples) {
  return Riff(Chunk("fmt ", FmtBody(f)) + Chunk("data", samples));
}
