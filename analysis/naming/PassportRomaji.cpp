#include "analysis/naming/PassportRomaji.h"

#include <array>
#include <utility>

#include "analysis/naming/Kana.h"
#include "analysis/text/ShiftJis.h"

namespace soten {
namespace {

// The kana of one sound: its consonant in Hepburn and its vowel. ん, っ and
// ー are marks of their own.
enum class Mark { Sound, N, Sokuon, Long };
struct Mora {
    Mark mark = Mark::Sound;
    std::string consonant;
    char vowel = 0;
};

struct KanaSpelling {
    unsigned code;  // the hiragana's code page 932 code
    const char* consonant;
    char vowel;
};

// ぁ..ん in code page 932 order (0x829F..0x82F1); the small vowels have
// no consonant and lend their vowel to the kana before them.
constexpr std::array<KanaSpelling, 83> Hiragana = {{
    {0x829F, "", 'A'},   {0x82A0, "", 'A'},  {0x82A1, "", 'I'},   {0x82A2, "", 'I'},
    {0x82A3, "", 'U'},   {0x82A4, "", 'U'},  {0x82A5, "", 'E'},   {0x82A6, "", 'E'},
    {0x82A7, "", 'O'},   {0x82A8, "", 'O'},  {0x82A9, "K", 'A'},  {0x82AA, "G", 'A'},
    {0x82AB, "K", 'I'},  {0x82AC, "G", 'I'}, {0x82AD, "K", 'U'},  {0x82AE, "G", 'U'},
    {0x82AF, "K", 'E'},  {0x82B0, "G", 'E'}, {0x82B1, "K", 'O'},  {0x82B2, "G", 'O'},
    {0x82B3, "S", 'A'},  {0x82B4, "Z", 'A'}, {0x82B5, "SH", 'I'}, {0x82B6, "J", 'I'},
    {0x82B7, "S", 'U'},  {0x82B8, "Z", 'U'}, {0x82B9, "S", 'E'},  {0x82BA, "Z", 'E'},
    {0x82BB, "S", 'O'},  {0x82BC, "Z", 'O'}, {0x82BD, "T", 'A'},  {0x82BE, "D", 'A'},
    {0x82BF, "CH", 'I'}, {0x82C0, "J", 'I'}, {0x82C1, "", 0},     {0x82C2, "TS", 'U'},
    {0x82C3, "Z", 'U'},  {0x82C4, "T", 'E'}, {0x82C5, "D", 'E'},  {0x82C6, "T", 'O'},
    {0x82C7, "D", 'O'},  {0x82C8, "N", 'A'}, {0x82C9, "N", 'I'},  {0x82CA, "N", 'U'},
    {0x82CB, "N", 'E'},  {0x82CC, "N", 'O'}, {0x82CD, "H", 'A'},  {0x82CE, "B", 'A'},
    {0x82CF, "P", 'A'},  {0x82D0, "H", 'I'}, {0x82D1, "B", 'I'},  {0x82D2, "P", 'I'},
    {0x82D3, "F", 'U'},  {0x82D4, "B", 'U'}, {0x82D5, "P", 'U'},  {0x82D6, "H", 'E'},
    {0x82D7, "B", 'E'},  {0x82D8, "P", 'E'}, {0x82D9, "H", 'O'},  {0x82DA, "B", 'O'},
    {0x82DB, "P", 'O'},  {0x82DC, "M", 'A'}, {0x82DD, "M", 'I'},  {0x82DE, "M", 'U'},
    {0x82DF, "M", 'E'},  {0x82E0, "M", 'O'}, {0x82E1, "Y", 'A'},  {0x82E2, "Y", 'A'},
    {0x82E3, "Y", 'U'},  {0x82E4, "Y", 'U'}, {0x82E5, "Y", 'O'},  {0x82E6, "Y", 'O'},
    {0x82E7, "R", 'A'},  {0x82E8, "R", 'I'}, {0x82E9, "R", 'U'},  {0x82EA, "R", 'E'},
    {0x82EB, "R", 'O'},  {0x82EC, "W", 'A'}, {0x82ED, "W", 'A'},  {0x82EE, "", 'I'},
    {0x82EF, "", 'E'},   {0x82F0, "", 'O'},  {0x82F1, "", 0},
}};

constexpr unsigned SmallTsu = 0x82C1;
constexpr unsigned Hatsuon = 0x82F1;
constexpr unsigned LongMark = 0x815B;  // ー
constexpr unsigned Vu = 0x8394;        // ヴ, which has no hiragana here

bool IsSmallY(unsigned code) {
    return code == 0x82E1 || code == 0x82E3 || code == 0x82E5;
}
bool IsSmallVowel(unsigned code) {
    return code >= 0x829F && code <= 0x82A7 && code % 2 == 1;
}

std::optional<std::vector<Mora>> MorasOf(std::string_view kanaCp932) {
    std::vector<Mora> moras;
    const std::string hiragana = ToHiragana(kanaCp932);
    for (const std::string_view character : Cp932Characters(hiragana)) {
        if (character.size() != 2) return std::nullopt;
        const unsigned code = UnitCode(character);
        if (code == SmallTsu) {
            moras.push_back({Mark::Sokuon, {}, 0});
            continue;
        }
        if (code == Hatsuon) {
            moras.push_back({Mark::N, {}, 0});
            continue;
        }
        if (code == LongMark) {
            if (moras.empty() || moras.back().mark != Mark::Sound) return std::nullopt;
            moras.push_back({Mark::Long, {}, moras.back().vowel});
            continue;
        }
        if (code == Vu) {  // ヴ: a passport writes B
            moras.push_back({Mark::Sound, "B", 'U'});
            continue;
        }
        if (code < 0x829F || code > 0x82F1) return std::nullopt;
        const KanaSpelling& kana = Hiragana[code - 0x829F];
        const bool follows = !moras.empty() && moras.back().mark == Mark::Sound;
        if (follows && IsSmallY(code) && moras.back().vowel == 'I') {
            // きゃ KYA, しゃ SHA, ちゃ CHA, じゃ JA: the Y goes after a plain
            // consonant only.
            Mora& before = moras.back();
            if (before.consonant.empty()) return std::nullopt;
            const bool palatal =
                before.consonant == "SH" || before.consonant == "CH" || before.consonant == "J";
            if (!palatal) before.consonant += 'Y';
            before.vowel = kana.vowel;
            continue;
        }
        if (follows && IsSmallVowel(code)) {
            // ふぁ FA, てぃ TI: the small vowel replaces the vowel.
            Mora& before = moras.back();
            if (before.consonant == "CH" || before.consonant == "SH" || before.consonant == "J") {
                if (kana.vowel == 'I') return std::nullopt;
            }
            before.vowel = kana.vowel;
            continue;
        }
        moras.push_back({Mark::Sound, kana.consonant, kana.vowel});
    }
    if (moras.empty()) return std::nullopt;
    return moras;
}

// How a long vowel is written: left out (the passport's rule), as OH, or
// with both vowels.
enum class LongForm { Omitted, Oh, Written };

// True when moras[at] is a vowel that lengthens the one before it: う after
// an O or a U, お after an O, or ー.
bool Lengthens(const std::vector<Mora>& moras, std::size_t at) {
    if (at == 0 || moras[at - 1].mark != Mark::Sound) return false;
    const Mora& mora = moras[at];
    const char before = moras[at - 1].vowel;
    if (mora.mark == Mark::Long) return true;
    if (mora.mark != Mark::Sound || !mora.consonant.empty()) return false;
    return (mora.vowel == 'U' && (before == 'O' || before == 'U')) ||
           (mora.vowel == 'O' && before == 'O');
}

std::string Spell(const std::vector<Mora>& moras, LongForm form) {
    std::string out;
    for (std::size_t at = 0; at < moras.size(); ++at) {
        const Mora& mora = moras[at];
        if (Lengthens(moras, at)) {
            const char before = moras[at - 1].vowel;
            if (form == LongForm::Oh && before == 'O') out += 'H';
            if (form == LongForm::Written && mora.mark != Mark::Long) out += mora.vowel;
            continue;
        }
        const Mora* next = at + 1 < moras.size() ? &moras[at + 1] : nullptr;
        switch (mora.mark) {
            case Mark::N: {
                const char following =
                    next && !next->consonant.empty() ? next->consonant.front() : 0;
                out += following == 'B' || following == 'M' || following == 'P' ? 'M' : 'N';
                break;
            }
            case Mark::Sokuon:
                if (next && next->mark == Mark::Sound && !next->consonant.empty()) {
                    out += next->consonant.starts_with("CH") ? 'T' : next->consonant.front();
                }
                break;
            case Mark::Long:
                break;
            case Mark::Sound:
                out += mora.consonant;
                out += mora.vowel;
                break;
        }
    }
    return out;
}

}  // namespace

std::optional<PassportSpelling> SpellForPassport(std::string_view kanaCp932) {
    const std::optional<std::vector<Mora>> moras = MorasOf(kanaCp932);
    if (!moras) return std::nullopt;
    PassportSpelling spelling{Spell(*moras, LongForm::Omitted), {}};
    for (const LongForm form : {LongForm::Oh, LongForm::Written}) {
        std::string other = Spell(*moras, form);
        if (other == spelling.romaji) continue;
        bool known = false;
        for (const std::string& alternative : spelling.alternatives) known |= alternative == other;
        if (!known) spelling.alternatives.push_back(std::move(other));
    }
    return spelling;
}

PassportName PassportNameOf(std::string_view surnameRomaji, std::string_view givenRomaji) {
    if (surnameRomaji.empty() || givenRomaji.empty()) return {};
    PassportName name;
    name.fullName.append(surnameRomaji).append(" ").append(givenRomaji);
    name.initials = {givenRomaji.front(), '.', surnameRomaji.front(), '.'};
    return name;
}

}  // namespace soten
