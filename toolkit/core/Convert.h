#pragma once
// Integer <-> text conversions with the program's rules: decimal, or hexadecimal after a "$".
// Pure logic, no platform headers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Parses a whole text as a 32-bit integer: optional blanks before, optional sign, decimal digits,
// or "$"/"0x" followed by hexadecimal digits. Returns nothing when the text is no such number.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, but raises EConvertError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);

std::string IntToStr(std::int64_t value);

// Six (or more) uppercase hexadecimal digits with leading zeros.
std::string IntToHex(std::uint32_t value, int digits);
