#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace soten {

// The two parts of a name. Per-part arrays are indexed by these values.
enum NamePart : int { Surname = 1, GivenName = 2 };

enum class StrokeStyle : std::int32_t { Shinji = 0, Honji = 1 };

// Index order of the five numbers in `Fortunes` and `FortuneLabels`.
enum FortuneKind : int { Heaven = 0, Person = 1, Earth = 2, Outer = 3, Total = 4 };

inline constexpr int MaxPartChars = 10;
inline constexpr int MaxTotalChars = 12;
inline constexpr int FortuneCount = 5;

// A fixed array indexed from 1 to N. Every access is checked, so no reader can
// step past the ten stroke entries of a part whatever a rejected attempt left
// in `Lengths`.
template <typename T, std::size_t N>
class OneBasedArray {
public:
    T& operator[](std::size_t index) { return items_.at(index - 1); }
    const T& operator[](std::size_t index) const { return items_.at(index - 1); }
    static constexpr std::size_t size() { return N; }
    bool operator==(const OneBasedArray&) const = default;

private:
    std::array<T, N> items_{};
};

template <typename T>
using PerPart = OneBasedArray<T, 2>;
using StrokeCounts = OneBasedArray<std::int32_t, MaxPartChars>;

// A name as counted: its two parts (code page 932 bytes), their character
// counts and stroke counts, the "①" added to a one-character part, and the
// five numbers.
struct NameRecord {
    PerPart<std::string> Names;
    PerPart<StrokeCounts> Strokes;
    PerPart<std::int32_t> Lengths;
    std::array<std::int32_t, FortuneCount> Fortunes{};
    PerPart<std::int32_t> SpiritOne;
};

}  // namespace soten
