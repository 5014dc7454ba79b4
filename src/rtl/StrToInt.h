#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rtl {

// The runtime's integer conversion: optional leading blanks, an optional sign, then
// decimal digits, or hexadecimal digits after "$". The whole text must convert and the
// number must fit in 32 bits. ("0x" is ReadInteger's, and only at the very start.)
std::optional<int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, but raises EConvertError "'<text>' is not a valid integer value".
int32_t StrToInt(std::string_view text);

}  // namespace rtl
