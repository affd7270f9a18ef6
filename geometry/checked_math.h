#pragma once

// The fallible primitives of a calculation. A step of the calculation that
// cannot be evaluated (a division by zero, the root of a negative number, a
// result that overflows, a character past the end of a text) is skipped and
// the value it would have assigned keeps what it held. These helpers are the
// only places that decide what fails; they answer with an empty optional.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace geometry {

// A finite result, or nothing for NaN and the infinities (an invalid
// operation or an overflow).
inline std::optional<double> finiteOrNone(double v) noexcept
{
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

inline std::optional<double> checkedDiv(double numerator, double denominator) noexcept
{
    if (denominator == 0)
        return std::nullopt;
    return finiteOrNone(numerator / denominator);
}

inline std::optional<double> checkedSqrt(double v) noexcept
{
    if (!(v >= 0))
        return std::nullopt;
    return finiteOrNone(std::sqrt(v));
}

// Sign as -1, 0 or +1; nothing for NaN, which has no sign to speak of.
constexpr std::optional<int> checkedSgn(double v) noexcept
{
    if (v < 0)
        return -1;
    if (v > 0)
        return 1;
    if (v == 0)
        return 0;
    return std::nullopt;
}

// The code a single-byte character set gives a UTF-16 unit: ASCII and Latin-1
// keep their value, anything else shows as "?" (63), as such a character set
// would show it. A position past the end has no code.
constexpr std::optional<std::int16_t> charCodeAt(
    std::u16string_view text, std::size_t index) noexcept
{
    constexpr std::int16_t questionMark = 63;
    if (index >= text.size())
        return std::nullopt;
    const char16_t unit = text[index];
    return unit <= 0xFF ? static_cast<std::int16_t>(unit) : questionMark;
}

// Assigns the step's value unless the step failed: the heart of "a failed step
// is skipped and its target keeps its value".
template <typename T, typename U>
constexpr void assignUnlessFailed(T &target, const std::optional<U> &step) noexcept
{
    if (step)
        target = static_cast<T>(*step);
}

} // namespace geometry
