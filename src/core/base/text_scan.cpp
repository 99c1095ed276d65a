#include "core/base/text_scan.h"

#include <locale.h>
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace vorblin {

namespace {

// strtod as the "C" locale reads it: the program's locale (which the window toolkit sets
// from the desktop's) may take a comma for the decimal point, the files never do.
double CStrtod(const std::string& number) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c != nullptr ? strtod_l(number.c_str(), nullptr, c)
                        : std::strtod(number.c_str(), nullptr);
}

}  // namespace

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

std::optional<double> LeadingNumber(std::string_view line, NumberForm form) {
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    const size_t start = i;
    auto digits = [&] {
        const size_t from = i;
        while (i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])))
            ++i;
        return i - from;
    };
    if (i < line.size() && (line[i] == '-' || line[i] == '+'))
        ++i;
    size_t mantissa = digits();
    if (i < line.size() && line[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    // An exponent without digits ("1e", "1e+") is no part of the number; strtod stops before
    // it as well.
    if (form == NumberForm::WithExponent && i < line.size() && (line[i] == 'e' || line[i] == 'E')) {
        ++i;
        if (i < line.size() && (line[i] == '-' || line[i] == '+'))
            ++i;
        digits();
    }
    // Too large for a double: the largest there is, of its sign.
    const double value =
        std::clamp(CStrtod(std::string(line.substr(start, i - start))),
                   std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max());
    return value + 0.0;  // no "-0"
}

std::optional<double> LeadingWholeNumber(std::string_view line) {
    const std::optional<double> value = LeadingNumber(line, NumberForm::Decimal);
    if (!value)
        return std::nullopt;
    return std::nearbyint(*value);
}

}  // namespace vorblin
