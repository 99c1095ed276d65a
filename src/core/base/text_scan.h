#pragma once
// Reading values out of the lines of hand-editable text files: the hall of fame, the
// settings, the configuration. One way to read a number, one way to trim, everywhere.

#include <cstddef>
#include <optional>
#include <string_view>

namespace vorblin {

// A blank or a tab, the two the files put between values.
bool IsBlank(char c);

// Without the blanks and tabs at either end.
std::string_view Trim(std::string_view s);

// Equal but for the letter case of ASCII letters.
bool SameIgnoringCase(std::string_view a, std::string_view b);

// The bytes of the UTF-8 sequence a lead byte starts (1 for a stray or ASCII byte).
size_t Utf8SequenceLength(unsigned char lead);

enum class NumberForm {
    Decimal,       // a sign, digits and at most one point: "12", "-0.5", "+3."
    WithExponent,  // and an exponent after them: "1.5e3" (hand-edited tables carry them)
};

// The number a line begins with (blanks before it allowed), read as far as it goes and
// whatever the locale; nothing when the line does not begin with one ("inf", "nan", ".",
// "-" are none). A number too large for a double is the largest one of its sign, so an
// order built on it stays an order; "-0" reads as 0.
std::optional<double> LeadingNumber(std::string_view line, NumberForm form);

// The leading decimal number rounded to the nearest whole number, halves to even.
std::optional<double> LeadingWholeNumber(std::string_view line);

}  // namespace vorblin
