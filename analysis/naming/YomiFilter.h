#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace soten {

// The yomi (kana pronunciation) of a given name, as the name search filters
// it; "reading" elsewhere in the program is the divination of a name.

// The longest yomi text or length a filter may ask for, in kana.
inline constexpr int MaxYomiKana = 40;

// The yomi filters of the name search, all of which must hold. Text is
// hiragana in code page 932 (ー allowed); empty or 0 means any.
struct YomiFilters {
    std::string exact;
    std::string prefix;
    std::string suffix;
    std::string contains;
    int length = 0;  // in kana
    int morae = 0;   // in morae: ゃゅょぁぃぅぇぉゎ do not count, っ ん ー do

    bool Active() const {
        return !exact.empty() || !prefix.empty() || !suffix.empty() || !contains.empty() ||
               length != 0 || morae != 0;
    }
};

// The morae of a hiragana yomi (code page 932).
int CountMorae(std::string_view yomi);

// Reads a yomi kana by kana and tells whether it passes the filters: an
// automaton whose state packs how much of the prefix, the suffix and the
// contained text is matched and how many kana and morae were read, so that
// the yomi of a name's characters can be followed one after the other.
// The exact yomi acts as a prefix of its own length.
class YomiMatcher {
public:
    using State = std::uint64_t;
    static constexpr State Dead = ~State{0};

    explicit YomiMatcher(const YomiFilters& filters);

    bool Active() const { return active_; }
    State Start() const { return 0; }
    State Step(State state, unsigned code) const;
    State Read(State state, std::string_view kana) const;
    bool Accepts(State state) const;
    bool Matches(std::string_view yomi) const { return Accepts(Read(Start(), yomi)); }
    // Whether any kana text at all passes: false when the filters contradict
    // each other (ゆう… ending in き in two kana). Texts the matcher cannot
    // tell apart are tried once, so the answer usually comes after a few
    // thousand states; past MaxSearchedStates it is taken as true.
    bool Satisfiable() const;
    static constexpr std::size_t MaxSearchedStates = 200'000;

private:
    struct Pattern {
        std::vector<unsigned> codes;
        std::vector<std::size_t> fail;  // KMP failure links
    };
    static Pattern MakePattern(std::string_view kana);
    static std::size_t Advance(const Pattern& pattern, std::size_t matched, unsigned code);

    bool active_ = false;
    std::vector<unsigned> prefix_;
    Pattern suffix_;
    Pattern contains_;
    int length_ = 0;
    int morae_ = 0;
};

}  // namespace soten
