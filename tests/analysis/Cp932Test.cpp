#include <gtest/gtest.h>

#include <iconv.h>

#include <optional>
#include <string_view>
#include <vector>

#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

// What iconv itself makes of one character, converted alone.
std::optional<std::string> ViaIconv(iconv_t cd, std::string character) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char out[16];
    char* src = character.data();
    char* dst = out;
    size_t srcLeft = character.size();
    size_t dstLeft = sizeof out;
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return std::nullopt;
    return std::string(out, dst);
}

TEST(Cp932, RoundTripsJapaneseText) {
    const std::string utf8 = "山田　太郎，ー①ｱ";
    const auto cp932 = Cp932::FromUtf8(utf8);
    ASSERT_TRUE(cp932);
    EXPECT_EQ(*cp932, "\x8E\x52\x93\x63\x81\x40\x91\xBE\x98\x59\x81\x43\x81\x5B\x87\x40\xB1");
    EXPECT_EQ(Cp932::ToUtf8(*cp932), utf8);
}

TEST(Cp932, RefusesWhatItCannotHold) {
    EXPECT_FALSE(Cp932::FromUtf8("山\xF0\x9F\x98\x80"));  // emoji
    EXPECT_FALSE(Cp932::FromUtf8("\xE4\xB8"));            // truncated UTF-8
    EXPECT_FALSE(Cp932::FromUtf8("\xC0\xAF"));            // overlong UTF-8
    EXPECT_FALSE(Cp932::ToUtf8("\x82"));                  // lone lead byte
}

TEST(Cp932, NameEncodingKeepsOneByteForEachUnencodableCharacter) {
    const auto name = Cp932::NameFromUtf8("田\xF0\x9F\x98\x80中\xE2\x82\xAC");  // 田😀中€
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, "\x93\x63\x1A\x92\x86\x1A");
    EXPECT_EQ(CountCharacters(*name), 4);
    EXPECT_FALSE(Cp932::NameFromUtf8("田\xFF"));
}

// Every character of the Basic Multilingual Plane is encoded as iconv itself
// encodes it, in a name (SUB for one code page 932 lacks) and alone.
TEST(Cp932, EncodesLikeIconvCharacterForCharacter) {
    const iconv_t cd = iconv_open("CP932", "UTF-8");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string all;
    std::string expected;
    int mismatches = 0;
    for (char32_t code = 1; code < 0x10000 && mismatches < 5; ++code) {
        if (code >= 0xD800 && code < 0xE000) continue;
        std::string character;
        if (code < 0x80) {
            character = {static_cast<char>(code)};
        } else if (code < 0x800) {
            character = {static_cast<char>(0xC0 | code >> 6),
                         static_cast<char>(0x80 | (code & 0x3F))};
        } else {
            character = {static_cast<char>(0xE0 | code >> 12),
                         static_cast<char>(0x80 | (code >> 6 & 0x3F)),
                         static_cast<char>(0x80 | (code & 0x3F))};
        }
        const std::optional<std::string> viaIconv = ViaIconv(cd, character);
        if (Cp932::FromUtf8(character) != viaIconv) {
            ++mismatches;
            ADD_FAILURE() << std::hex << static_cast<unsigned>(code);
        }
        all += character;
        expected += viaIconv.value_or("\x1A");
    }
    iconv_close(cd);
    EXPECT_EQ(Cp932::NameFromUtf8(all), expected);
}

// Malformed UTF-8 is refused as such wherever it occurs, never taken for a
// character code page 932 cannot hold.
TEST(Cp932, MalformedUtf8IsRefusedNotReplaced) {
    for (const char* bad : {"\xE0\x80\x80",      // overlong U+0000
                            "\xC0\xAF",          // overlong '/'
                            "\xF0\x80\x80\x80",  // overlong, four bytes
                            "\xED\xA0\x80",      // UTF-16 surrogate D800
                            "\xED\xBF\xBF",      // UTF-16 surrogate DFFF
                            "\xF4\x90\x80\x80",  // U+110000
                            "\xF5\x80\x80\x80",  // beyond any plane
                            "\xE4\xB8",          // truncated
                            "\x80"}) {           // lone continuation byte
        const std::string text = std::string("田") + bad + "中";
        EXPECT_FALSE(Cp932::IsUtf8(text)) << text;
        EXPECT_FALSE(Cp932::NameFromUtf8(text)) << text;
        EXPECT_FALSE(Cp932::FromUtf8(text)) << text;
    }
    // The edges that are well-formed: U+FFFF, U+10FFFF, U+E000 after the surrogates.
    for (const char* good : {"\xEF\xBF\xBF", "\xF4\x8F\xBF\xBF", "\xEE\x80\x80"}) {
        EXPECT_TRUE(Cp932::IsUtf8(good)) << good;
        EXPECT_TRUE(Cp932::NameFromUtf8(good)) << good;
    }
}

// The decoding table against iconv itself, for every byte and every pair.
TEST(Cp932, DecodesLikeIconvCharacterForCharacter) {
    const iconv_t cd = iconv_open("UTF-8", "CP932");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    int mismatches = 0;
    for (unsigned code = 0; code < 0x10000 && mismatches < 5; ++code) {
        std::string bytes;
        if (code >= 0x100) bytes.push_back(static_cast<char>(code >> 8));
        bytes.push_back(static_cast<char>(code & 0xFF));
        const auto expected = ViaIconv(cd, bytes);
        const auto actual = Cp932::ToUtf8(bytes);
        if (expected != actual) {
            ++mismatches;
            ADD_FAILURE() << std::hex << code;
        }
    }
    iconv_close(cd);
    EXPECT_EQ(Cp932::ToUtf8("a\xB1\x8E\x52\xFA\x5C"), "aｱ山纊");
    EXPECT_EQ(Cp932::ToUtf8Lossy("\x81\x20x"), "\xEF\xBF\xBD x");
}

TEST(Cp932, LossyDecodingMarksBadBytes) {
    EXPECT_EQ(Cp932::ToUtf8Lossy("A\x82"), "A\xEF\xBF\xBD");
}

TEST(Cp932, ExtensionKanjiHaveOneCanonicalCode) {
    // 纊: NEC-selected ED40, IBM FA5C; ⅰ: NEC-selected EEEF, IBM FA40.
    EXPECT_EQ(Cp932::CanonicalCode(0xED40), 0xFA5Cu);
    EXPECT_EQ(Cp932::CanonicalCode(0xEEEF), 0xFA40u);
    EXPECT_EQ(Cp932::CanonicalCode(0xFA5C), 0xFA5Cu);
    EXPECT_EQ(Cp932::CanonicalCode(0x8E52), 0x8E52u);
    // Unassigned codes in the NEC-selected rows stay as they are.
    EXPECT_EQ(Cp932::CanonicalCode(0xEEED), 0xEEEDu);
}

TEST(ShiftJis, CountsCharactersNotBytes) {
    EXPECT_EQ(CountCharacters(""), 0);
    EXPECT_EQ(CountCharacters("abc"), 3);
    EXPECT_EQ(CountCharacters("\x8E\x52\x93\x63"), 2);  // 山田
    EXPECT_EQ(CountCharacters("\xB1\x8E\x52"), 2);      // ｱ山
    EXPECT_EQ(CountCharacters("\x8E\x52\x82"), 2);      // 山 + a lone lead byte
    EXPECT_EQ(CountCharacters(std::string(10000, 'a')), 10000);
}

TEST(ShiftJis, WalksCharactersOfOneOrTwoBytes) {
    struct Case {
        std::string_view text;
        std::vector<std::string_view> characters;
    };
    const Case cases[] = {
        {"", {}},
        {"ab", {"a", "b"}},
        {"\x8E\x52\x93\x63", {"\x8E\x52", "\x93\x63"}},  // 山田
        {"\xA1\xB1\xDF", {"\xA1", "\xB1", "\xDF"}},      // ｡ｱﾟ
        {"\x81\x40\x9F\x40\xE0\x40\xFC\x40", {"\x81\x40", "\x9F\x40", "\xE0\x40", "\xFC\x40"}},
        {"\x80\xA0\xFD", {"\x80", "\xA0", "\xFD"}},  // next to the lead ranges
        {"\x81 ", {"\x81 "}},                        // the second byte goes unchecked
        {"\x8E\x52\x82", {"\x8E\x52", "\x82"}},      // a lone lead byte at the end
    };
    for (const Case& c : cases) {
        const Cp932Characters characters(c.text);
        const std::vector<std::string_view> walked(characters.begin(), characters.end());
        EXPECT_EQ(walked, c.characters) << testing::PrintToString(c.text);
        EXPECT_EQ(characters.Count(), static_cast<int>(c.characters.size()));
        for (std::size_t k = 1; k <= c.characters.size(); ++k) {
            EXPECT_EQ(characters.At(static_cast<int>(k)), c.characters[k - 1]);
        }
        EXPECT_EQ(characters.At(static_cast<int>(c.characters.size()) + 1), "");
    }
}

TEST(ShiftJis, WalksTwoBytesAtATime) {
    const std::string_view text = "\x8E\x52\xB1";
    EXPECT_EQ(Unit(text, 1), "\x8E\x52");
    EXPECT_EQ(Unit(text, 2), "\xB1");
    EXPECT_EQ(Unit(text, 3), "");
}

}  // namespace
}  // namespace soten
