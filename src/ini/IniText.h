#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ini {

// Longest text a name, key, value, line or file name may hold; longer text is cut.
inline constexpr size_t kMaxText = 255;

inline std::string_view Cut(std::string_view text) {
  return text.substr(0, kMaxText);
}

// Case folding of 8-bit text. ASCII letters fold by table; bytes from 128 up fold with
// toupper() of the C library's current locale (setlocale), which is how the system's
// code page decides what a letter is. Under a UTF-8 locale those bytes are not letters
// and compare exactly; under a single-byte locale such as ISO-8859-1 they fold too.
unsigned char FoldHighByte(unsigned char c);
inline unsigned char FoldByte(unsigned char c) {
  if (c < 128) return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
  return FoldHighByte(c);
}

// Section names and keys compare equal ignoring letter case.
bool SameText(std::string_view a, std::string_view b);

// Ordering of folded text, consistent with SameText: equal names sort together.
int CompareText(std::string_view a, std::string_view b);

// A hash of the folded text, equal for names that SameText finds equal.
uint64_t HashText(std::string_view text);

}  // namespace ini
