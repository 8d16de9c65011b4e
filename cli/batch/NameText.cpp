#include "cli/batch/NameText.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace soten::cli {
namespace {

// The full-width forms of U+FF61..U+FF9F, in order.
constexpr std::array<char16_t, 63> WideKana = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ',
    u'ョ', u'ッ', u'ー', u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ',
    u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ', u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ',
    u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ', u'ム', u'メ', u'モ', u'ヤ',
    u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜'};

// The code point at `i` of valid UTF-8, and its length.
char32_t DecodeAt(std::string_view text, std::size_t i, std::size_t& length) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80 || i + 1 >= text.size()) {
        length = 1;
        return lead;
    }
    if (lead < 0xE0) {
        length = 2;
        return (char32_t{lead} & 0x1F) << 6 | (byte(1) & 0x3F);
    }
    if (lead < 0xF0 && i + 2 < text.size()) {
        length = 3;
        return (char32_t{lead} & 0x0F) << 12 | (char32_t{byte(1)} & 0x3F) << 6 | (byte(2) & 0x3F);
    }
    if (i + 3 < text.size()) {
        length = 4;
        return (char32_t{lead} & 0x07) << 18 | (char32_t{byte(1)} & 0x3F) << 12 |
               (char32_t{byte(2)} & 0x3F) << 6 | (byte(3) & 0x3F);
    }
    length = 1;
    return lead;
}

bool IsVariationSelector(char32_t c) {
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

// The kana with the mark: ゛ (+1 in the code table) or ゜ (+2, ハ行 only).
char32_t Joined(char32_t kana, bool semiVoiced) {
    const bool haRow = kana >= u'ハ' && kana <= u'ホ' && (kana - u'ハ') % 3 == 0;
    if (semiVoiced) return haRow ? kana + 2 : 0;
    if (haRow) return kana + 1;
    if ((kana >= u'カ' && kana <= u'チ' && (kana - u'カ') % 2 == 0) ||
        (kana >= u'ツ' && kana <= u'ト' && (kana - u'ツ') % 2 == 0)) {
        return kana + 1;
    }
    switch (kana) {
        case u'ウ':
            return u'ヴ';
        case u'ワ':
            return u'ヷ';
        case u'ヲ':
            return u'ヺ';
        default:
            return 0;
    }
}

}  // namespace

bool DropVariationSelectors(std::string& utf8) {
    // U+FE00..FE0F start EF B8, U+E0100..E01EF start F3 A0: rare, so the
    // name is copied only when one is there.
    if (utf8.find("\xEF\xB8") == std::string::npos && utf8.find("\xF3\xA0") == std::string::npos) {
        return false;
    }
    std::string kept;
    bool dropped = false;
    for (std::size_t i = 0, length = 0; i < utf8.size(); i += length) {
        const char32_t c = DecodeAt(utf8, i, length);
        if (IsVariationSelector(c)) {
            dropped = true;
            continue;
        }
        kept.append(utf8, i, length);
    }
    utf8 = std::move(kept);
    return dropped;
}

bool WidenHalfWidthKana(std::string& utf8) {
    // U+FF61..FF9F are EF BD A1..BF and EF BE 80..9F.
    if (utf8.find("\xEF\xBD") == std::string::npos && utf8.find("\xEF\xBE") == std::string::npos) {
        return false;
    }
    std::string wide;
    bool widened = false;
    char32_t last = 0;  // the character before, which a mark may join
    std::size_t lastAt = 0;
    for (std::size_t i = 0, length = 0; i < utf8.size(); i += length) {
        const char32_t c = DecodeAt(utf8, i, length);
        if (c < 0xFF61 || c > 0xFF9F) {
            lastAt = wide.size();
            wide.append(utf8, i, length);
            last = c;
            continue;
        }
        widened = true;
        const char32_t full = WideKana[c - 0xFF61];
        if ((full == u'゛' || full == u'゜') && last != 0) {
            if (const char32_t joined = Joined(last, full == u'゜'); joined != 0) {
                wide.resize(lastAt);
                AppendUtf8(joined, wide);
                last = 0;
                continue;
            }
        }
        lastAt = wide.size();
        AppendUtf8(full, wide);
        last = full;
    }
    utf8 = std::move(wide);
    return widened;
}

std::u32string CodePoints(std::string_view utf8) {
    std::u32string points;
    for (std::size_t i = 0, length = 0; i < utf8.size(); i += length) {
        points.push_back(DecodeAt(utf8, i, length));
    }
    return points;
}

std::string CharacterLabel(char32_t c) {
    const bool invisible = c < 0x20 || (c >= 0x7F && c < 0xA0) || IsVariationSelector(c) ||
                           (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E) ||
                           (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF ||
                           (c >= 0xE0000 && c <= 0xE007F);
    if (invisible) {
        std::array<char, 16> label{};
        std::snprintf(label.data(), label.size(), "U+%04X", static_cast<unsigned>(c));
        return label.data();
    }
    std::string text;
    AppendUtf8(c, text);
    return text;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace soten::cli
