#include "analysis/naming/NameLikeness.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "analysis/naming/Kana.h"
#include "analysis/naming/NameSearchData.h"
#include "analysis/naming/YomiPartsCache.h"
#include "analysis/text/ShiftJis.h"
#include "analysis/text/TextLines.h"

namespace soten {
namespace {

// Kana are handled as Unicode code points: code page 932 lists the hiragana
// ぁ..ん in Unicode's order.
constexpr unsigned HiraganaCp932First = 0x829F;
constexpr unsigned HiraganaCp932Last = 0x82F1;
constexpr char16_t HiraganaFirst = u'ぁ';
constexpr unsigned LongMarkCp932 = 0x815B;

std::u16string ToCodes(std::string_view cp932) {
    std::u16string codes;
    for (std::size_t i = 0; i + 1 < cp932.size(); i += 2) {
        const unsigned code = UnitCode(cp932.substr(i, 2));
        if (code >= HiraganaCp932First && code <= HiraganaCp932Last) {
            codes += static_cast<char16_t>(HiraganaFirst + (code - HiraganaCp932First));
        } else if (code == LongMarkCp932) {
            codes += u'ー';
        } else {
            codes += u'\uFFFF';  // matches nothing
        }
    }
    return codes;
}

std::string ToCp932(std::u16string_view codes) {
    std::string text;
    for (const char16_t c : codes) {
        const unsigned code = c == u'ー' ? LongMarkCp932 : HiraganaCp932First + (c - HiraganaFirst);
        text += static_cast<char>(code >> 8);
        text += static_cast<char>(code & 0xFF);
    }
    return text;
}

bool IsSmall(char16_t c) {
    return std::u16string_view(u"ゃゅょぁぃぅぇぉゎ").find(c) != std::u16string_view::npos;
}

// The vowel row of a kana (あ い う え お), or 0.
char16_t VowelOf(char16_t c) {
    static constexpr std::array<std::pair<char16_t, std::u16string_view>, 5> rows = {{
        {u'あ', u"あかさたなはまやらわがざだばぱ"},
        {u'い', u"いきしちにひみりぎじぢびぴ"},
        {u'う', u"うくすつぬふむゆるぐずづぶぷゅ"},
        {u'え', u"えけせてねへめれげぜでべぺ"},
        {u'お', u"おこそとのほもよろごぞどぼぽょ"},
    }};
    for (const auto& [vowel, row] : rows) {
        if (row.find(c) != std::u16string_view::npos) return vowel;
    }
    return 0;
}

// The voiced forms of a kana (連濁): か → が, は → ば ぱ, ち → ぢ じ, つ → づ ず.
std::u16string Voiced(char16_t c) {
    constexpr std::u16string_view plain = u"かきくけこさしすせそたちつてとはひふへほ";
    if (plain.find(c) == std::u16string_view::npos) return {};
    std::u16string forms(1, static_cast<char16_t>(c + 1));
    if (std::u16string_view(u"はひふへほ").find(c) != std::u16string_view::npos) {
        forms += static_cast<char16_t>(c + 2);
    }
    if (c == u'ち') forms += u'じ';
    if (c == u'つ') forms += u'ず';
    return forms;
}

void AddLongForms(std::vector<std::u16string>& forms, const std::u16string& form) {
    for (std::size_t i = 1; i < form.size(); ++i) {
        const char16_t before = VowelOf(form[i - 1]);
        const char16_t c = form[i];
        if (before == 0) continue;
        if (c == before || (c == u'う' && before == u'お') || (c == u'い' && before == u'え')) {
            std::u16string longer = form;
            longer[i] = u'ー';
            forms.push_back(std::move(longer));
        }
    }
}

// The standard surface forms of a reading: itself, voiced at a
// non-initial character, with a small っ before another character, and
// with its long vowels written ー.
std::vector<std::u16string> SurfaceForms(const std::u16string& reading, bool initial, bool final) {
    std::vector<std::u16string> forms{reading};
    if (reading.empty()) return forms;
    if (!initial) {
        for (const char16_t v : Voiced(reading[0])) forms.push_back(v + reading.substr(1));
    }
    if (!final && reading.size() >= 2 &&
        std::u16string_view(u"つちくき").find(reading.back()) != std::u16string_view::npos) {
        const std::size_t plain = forms.size();
        for (std::size_t i = 0; i < plain; ++i) {
            forms.push_back(forms[i].substr(0, forms[i].size() - 1) + u'っ');
        }
    }
    const std::size_t plain = forms.size();
    for (std::size_t i = 0; i < plain; ++i) AddLongForms(forms, std::u16string(forms[i]));
    return forms;
}

}  // namespace

// The parts one character can take at a position, with their class and
// table row (not file-local: a search's YomiPartsCache holds them).
struct CharacterPart {
    std::u16string kana;
    YomiClass kind;
    const LikenessPart* row;
};

namespace {

void AddPart(std::vector<CharacterPart>& parts, std::u16string kana, YomiClass kind) {
    for (CharacterPart& part : parts) {
        if (part.kana == kana) {
            part.kind = std::min(part.kind, kind);
            return;
        }
    }
    parts.push_back({std::move(kana), kind, nullptr});
}

std::vector<CharacterPart> PartsAt(const NameSearchData& data, std::string_view character,
                                   std::size_t position, std::size_t chars) {
    std::vector<CharacterPart> parts;
    const bool initial = position == 0;
    const bool final = position + 1 == chars;
    const auto index = data.KanjiIndex(character);
    if (!index) {
        // A kana reads as itself.
        const std::u16string own = ToCodes(ToHiragana(character));
        if (own.find(u'\uFFFF') == std::u16string::npos) {
            AddPart(parts, own, YomiClass::Standard);
        }
        return parts;
    }
    for (const KanjiYomi& yomi : data.Yomi(*index)) {
        const std::u16string reading = ToCodes(yomi.kana);
        for (std::u16string& form : SurfaceForms(reading, initial, final)) {
            AddPart(parts, std::move(form), YomiClass::Standard);
        }
    }
    for (const KanjiYomi& yomi : data.Yomi(*index)) {
        if (yomi.kind == YomiKind::On) continue;
        for (const std::u16string& form : SurfaceForms(ToCodes(yomi.kana), initial, true)) {
            // Every leading part of at least one mora, shorter than the form.
            for (std::size_t end = 1; end < form.size(); ++end) {
                if (IsSmall(form[end])) continue;
                AddPart(parts, form.substr(0, end), YomiClass::Partial);
            }
        }
    }
    const NameLikeness& likeness = data.Likeness();
    if (!likeness.Empty()) {
        const std::size_t folded = data.FoldedIndex(*index);
        for (const LikenessPart& row : likeness.PartsOf(folded)) {
            AddPart(parts, ToCodes(row.kana), row.kind);
        }
        for (CharacterPart& part : parts) part.row = likeness.Find(folded, ToCp932(part.kana));
    }
    return parts;
}

// The cache of the search running on this thread, if any.
thread_local YomiPartsCache* currentCache = nullptr;

}  // namespace

struct YomiPartsCache::Parts {
    const NameSearchData* data;
    // By kanji index and place: first (1), last (2), both (3), neither (0).
    std::vector<std::unique_ptr<const std::vector<CharacterPart>>> byKanji;
};

YomiPartsCache::YomiPartsCache(const NameSearchData& data)
    : parts_(std::make_unique<Parts>(Parts{&data, {}})), previous_(currentCache) {
    parts_->byKanji.resize(data.Kanji().size() * 4);
    currentCache = this;
}

YomiPartsCache::~YomiPartsCache() {
    currentCache = previous_;
}

YomiPartsCache::Parts* YomiPartsCache::For(const NameSearchData& data) const {
    return parts_->data == &data ? parts_.get() : nullptr;
}

namespace {

// The parts of a character, from this thread's cache where it has them.
const std::vector<CharacterPart>& CachedPartsAt(const NameSearchData& data,
                                                std::string_view character, std::size_t position,
                                                std::size_t chars,
                                                std::vector<CharacterPart>& uncached) {
    const auto index = data.KanjiIndex(character);
    YomiPartsCache::Parts* cache = currentCache ? currentCache->For(data) : nullptr;
    if (!cache || !index) {
        uncached = PartsAt(data, character, position, chars);
        return uncached;
    }
    const std::size_t place = (position == 0 ? 1 : 0) | (position + 1 == chars ? 2 : 0);
    auto& slot = cache->byKanji[*index * 4 + place];
    if (!slot)
        slot = std::make_unique<const std::vector<CharacterPart>>(
            PartsAt(data, character, position, chars));
    return *slot;
}

std::uint32_t ParseCount(std::string_view field) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) {
        throw std::invalid_argument("malformed name-likeness count");
    }
    return value;
}

}  // namespace

std::string_view YomiClassKey(YomiClass kind) {
    switch (kind) {
        case YomiClass::Standard:
            return "standard";
        case YomiClass::Partial:
            return "partial";
        case YomiClass::Customary:
            return "customary";
        case YomiClass::Unverified:
            break;
    }
    return "unverified";
}

const std::string& YomiClassLabel(YomiClass kind) {
    static const std::array<std::string, 4> labels = {
        Cp932Text("一般の読み"), Cp932Text("部分音訓"), Cp932Text("名前での慣用"),
        Cp932Text("要確認")};
    return labels[static_cast<std::size_t>(kind)];
}

NamePosition PositionIn(std::size_t index, std::size_t chars) {
    if (chars <= 1) return NamePosition::Alone;
    if (index == 0) return NamePosition::First;
    return index + 1 == chars ? NamePosition::Last : NamePosition::Middle;
}

GenderLean LeanOf(std::uint64_t girls, std::uint64_t boys, const GenderBalance& balance) {
    if (girls * balance.boys >= 2 * (boys + 1) * balance.girls) return GenderLean::Girls;
    if (boys * balance.girls >= 2 * (girls + 1) * balance.boys) return GenderLean::Boys;
    return GenderLean::Neither;
}

const std::string& GenderLeanLabel(GenderLean lean) {
    static const std::array<std::string, 3> labels = {
        Cp932Text("どちらにも"), Cp932Text("女の子に多い"), Cp932Text("男の子に多い")};
    return labels[static_cast<std::size_t>(lean)];
}

NameLikeness::NameLikeness(std::string_view cp932, const std::vector<std::string>& kanji)
    : parts_(kanji.size()) {
    for (const std::string_view line : LinesOf(cp932)) {
        std::array<std::string_view, 9> fields;
        std::size_t count = 0;
        for (std::size_t from = 0; count < fields.size(); ++count) {
            const std::size_t tab = line.find('\t', from);
            fields[count] = line.substr(from, tab - from);
            if (tab == std::string_view::npos) {
                ++count;
                break;
            }
            from = tab + 1;
        }
        if (count != fields.size() || fields[2].size() != 1 ||
            std::string_view("spc").find(fields[2][0]) == std::string_view::npos) {
            throw std::invalid_argument("malformed name-likeness row");
        }
        const auto found = std::lower_bound(kanji.begin(), kanji.end(), fields[0]);
        if (found == kanji.end() || *found != fields[0]) continue;
        LikenessPart part;
        part.kana = std::string(fields[1]);
        part.kind = static_cast<YomiClass>(std::string_view("spc").find(fields[2][0]));
        for (std::size_t p = 0; p < 4; ++p) part.at[p] = ParseCount(fields[3 + p]);
        part.girls = ParseCount(fields[7]);
        part.boys = ParseCount(fields[8]);
        for (std::size_t p = 0; p < 4; ++p) total_[p] += part.at[p];
        all_ += part.Names();
        ++rows_;
        auto& list = parts_[static_cast<std::size_t>(found - kanji.begin())];
        list.push_back(std::move(part));
    }
    GenderBalance counted{0, 0};
    for (auto& list : parts_) {
        std::sort(list.begin(), list.end(),
                  [](const LikenessPart& a, const LikenessPart& b) { return a.kana < b.kana; });
        for (const LikenessPart& part : list) {
            counted.girls += part.girls;
            counted.boys += part.boys;
        }
    }
    if (counted.girls > 0 && counted.boys > 0) balance_ = counted;
}

const LikenessPart* NameLikeness::Find(std::size_t index, std::string_view kana) const {
    if (index >= parts_.size()) return nullptr;
    const auto& list = parts_[index];
    const auto found =
        std::lower_bound(list.begin(), list.end(), kana,
                         [](const LikenessPart& p, std::string_view k) { return p.kana < k; });
    return found != list.end() && found->kana == kana ? &*found : nullptr;
}

double NameLikeness::Weight(const LikenessPart* part, NamePosition position) const {
    const auto p = static_cast<std::size_t>(position);
    const double atPosition = part ? part->at[p] : 0;
    const double anywhere = part ? part->Names() : 0;
    return std::log((atPosition + anywhere / 4 + 0.5) /
                    (total_[p] + all_ / 4 + static_cast<double>(rows_) / 2 + 0.5));
}

YomiCheck CheckYomi(std::string_view written, std::string_view yomi, const NameSearchData& data) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i + 1 < written.size(); i += 2) {
        const std::string unit(written.substr(i, 2));
        const bool repeat = unit == Cp932Text("々") && !characters.empty();
        characters.push_back(repeat ? characters.back() : unit);
    }
    const std::size_t chars = characters.size();
    std::vector<std::vector<CharacterPart>> uncached(chars);
    std::vector<const std::vector<CharacterPart>*> parts;
    parts.reserve(chars);
    for (std::size_t i = 0; i < chars; ++i) {
        parts.push_back(&CachedPartsAt(data, characters[i], i, chars, uncached[i]));
    }
    const NameLikeness& likeness = data.Likeness();
    const std::u16string codes = ToCodes(yomi);

    YomiCheck best;
    best.likeness = 0;
    for (std::size_t i = 0; i < chars; ++i)
        best.likeness += likeness.Weight(nullptr, PositionIn(i, chars));
    bool found = false;
    std::vector<const CharacterPart*> chosen(chars, nullptr);
    auto walk = [&](auto& self, std::size_t i, std::size_t at, YomiClass worst,
                    double weight) -> void {
        if (i == chars) {
            if (at != codes.size()) return;
            if (found && (worst > best.kind || (worst == best.kind && weight <= best.likeness))) {
                return;
            }
            found = true;
            best.kind = worst;
            best.likeness = weight;
            best.parts.clear();
            best.girls = best.boys = 0;
            for (std::size_t k = 0; k < chars; ++k) {
                best.parts.emplace_back(characters[k], ToCp932(chosen[k]->kana));
                if (chosen[k]->row) {
                    best.girls += chosen[k]->row->girls;
                    best.boys += chosen[k]->row->boys;
                }
            }
            return;
        }
        for (const CharacterPart& part : *parts[i]) {
            if (codes.compare(at, part.kana.size(), part.kana) != 0) continue;
            chosen[i] = &part;
            self(self, i + 1, at + part.kana.size(), std::max(worst, part.kind),
                 weight + likeness.Weight(part.row, PositionIn(i, chars)));
        }
    };
    if (chars > 0) walk(walk, 0, 0, YomiClass::Standard, 0);
    if (!found) best.kind = YomiClass::Unverified;
    return best;
}

}  // namespace soten
