#include "ui/reading/RefusalDetail.h"

#include <algorithm>

#include "analysis/reading/Reading.h"
#include "analysis/text/Cp932.h"

namespace soten::ui {
namespace {

constexpr std::string_view Lacking = "\x1A";

bool IsLatinLetter(const std::string& character) {
    return character.size() == 1 && ((character[0] >= 'A' && character[0] <= 'Z') ||
                                     (character[0] >= 'a' && character[0] <= 'z'));
}

// The characters of `typed` that code page 932 cannot hold, each once, in
// the order typed, as UTF-8.
std::vector<std::string> CharactersOutsideCp932(const QString& typed) {
    std::vector<std::string> found;
    for (const char32_t code : typed.toUcs4()) {
        const QString character = QString::fromUcs4(&code, 1);
        if (Cp932::NameFromUtf8(character.toStdString()).value_or(std::string(Lacking)) !=
            Lacking) {
            continue;
        }
        const std::string named = QChar::isPrint(code)
                                      ? character.toStdString()
                                      : QStringLiteral("U+%1")
                                            .arg(static_cast<uint>(code), 4, 16, QLatin1Char('0'))
                                            .toUpper()
                                            .toStdString();
        if (std::find(found.begin(), found.end(), named) == found.end()) found.push_back(named);
    }
    return found;
}

}  // namespace

QString RefusalDetail(const std::vector<std::string>& characters, const QString& typed) {
    std::vector<std::string> named;
    bool latin = false;
    for (const std::string& character : characters) {
        if (character == Lacking) {
            const std::vector<std::string> outside = CharactersOutsideCp932(typed);
            named.insert(named.end(), outside.begin(), outside.end());
            continue;
        }
        latin = latin || IsLatinLetter(character);
        named.push_back(Cp932::ToUtf8Lossy(character));
    }
    QString detail = QString::fromStdString(LackedCharactersText(named, true));
    if (latin) detail += QStringLiteral("\n日本語入力をオンにしてください");
    return detail;
}

}  // namespace soten::ui
