#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace soten {

// True for a byte that begins a double-byte character in code page 932.
constexpr bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The characters of a code page 932 text, in order, each a view of its bytes:
// a lead byte and the byte after it are one character, any other byte (a
// half-width kana among them, or a lead byte that ends the text) is one
// character by itself.
class Cp932Characters {
public:
    class Iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;

        constexpr Iterator() = default;
        constexpr Iterator(const char* at, const char* end) : at_(at), end_(end) {}

        constexpr std::string_view operator*() const { return {at_, Length()}; }
        constexpr Iterator& operator++() {
            at_ += Length();
            return *this;
        }
        constexpr Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        constexpr bool operator==(const Iterator& other) const { return at_ == other.at_; }

    private:
        constexpr std::size_t Length() const {
            return IsLeadByte(static_cast<unsigned char>(*at_)) && end_ - at_ > 1 ? 2 : 1;
        }

        const char* at_ = nullptr;
        const char* end_ = nullptr;
    };

    constexpr explicit Cp932Characters(std::string_view text) : text_(text) {}

    constexpr Iterator begin() const { return {text_.data(), text_.data() + text_.size()}; }
    constexpr Iterator end() const {
        return {text_.data() + text_.size(), text_.data() + text_.size()};
    }

    constexpr int Count() const {
        int count = 0;
        for (Iterator it = begin(); it != end(); ++it) ++count;
        return count;
    }

    // Character k (from 1), empty past the end.
    constexpr std::string_view At(int k) const {
        for (const std::string_view character : *this) {
            if (--k == 0) return character;
        }
        return {};
    }

private:
    std::string_view text_;
};

// Number of characters in a code page 932 string, as Cp932Characters walks it.
constexpr int CountCharacters(std::string_view cp932) {
    return Cp932Characters(cp932).Count();
}

// The code of a 2-byte unit: first byte high, second byte low.
constexpr unsigned UnitCode(std::string_view unit) {
    return static_cast<unsigned char>(unit[0]) << 8 | static_cast<unsigned char>(unit[1]);
}

// Unit k (from 1) of a text walked two bytes at a time: bytes 2k − 1 and 2k,
// shorter (one byte or empty) where the text ends first.
constexpr std::string_view Unit(std::string_view text, std::size_t k) {
    const std::size_t start = 2 * (k - 1);
    if (start >= text.size()) return {};
    return text.substr(start, 2);
}

// A UTF-8 literal of our own, converted to code page 932. Used to build the
// program's fixed sentences once; throws if the literal cannot be encoded.
std::string Cp932Text(std::string_view utf8);

}  // namespace soten
