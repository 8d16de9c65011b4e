#include "CliOptions.h"

namespace soten::cli {

const char* const UsageText =
    "Usage: soten-cli [--style shinji|honji] [--format text|json] [--encoding utf-8|cp932]\n"
    "                 [--pdf FILE] SURNAME GIVEN\n"
    "       soten-cli --batch [--style shinji|honji]     (lines \"SURNAME GIVEN [style]\" on "
    "stdin, JSON lines out)\n"
    "       soten-cli --strokes TEXT [--style shinji|honji]\n"
    "       soten-cli --help | --version\n"
    "\n"
    "Exit status: 0 reading made, 1 names refused, 2 usage error.\n";

std::optional<StrokeStyle> ParseStyle(const std::string& text) {
    if (text == "shinji" || text == "新字式") return StrokeStyle::Shinji;
    if (text == "honji" || text == "本字式") return StrokeStyle::Honji;
    return std::nullopt;
}

const char* StyleName(StrokeStyle style) {
    return style == StrokeStyle::Honji ? "honji" : "shinji";
}

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args,
                                          std::string& error) {
    CliOptions options;
    std::vector<std::string> positional;
    bool batch = false;
    bool strokes = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](const char* name) -> const std::string* {
            if (i + 1 >= args.size()) {
                error = std::string(name) + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            options.mode = Mode::Help;
            return options;
        }
        if (arg == "--version") {
            options.mode = Mode::Version;
            return options;
        }
        if (arg == "--style") {
            const std::string* v = value("--style");
            if (!v) return std::nullopt;
            const auto style = ParseStyle(*v);
            if (!style) {
                error = "--style must be shinji or honji";
                return std::nullopt;
            }
            options.style = *style;
        } else if (arg == "--format") {
            const std::string* v = value("--format");
            if (!v) return std::nullopt;
            if (*v == "text") {
                options.format = Format::Text;
            } else if (*v == "json") {
                options.format = Format::Json;
            } else {
                error = "--format must be text or json";
                return std::nullopt;
            }
        } else if (arg == "--encoding") {
            const std::string* v = value("--encoding");
            if (!v) return std::nullopt;
            if (*v == "utf-8" || *v == "utf8") {
                options.encoding = Encoding::Utf8;
            } else if (*v == "cp932" || *v == "shift-jis" || *v == "sjis") {
                options.encoding = Encoding::Cp932;
            } else {
                error = "--encoding must be utf-8 or cp932";
                return std::nullopt;
            }
        } else if (arg == "--pdf") {
            const std::string* v = value("--pdf");
            if (!v) return std::nullopt;
            if (v->empty()) {
                error = "--pdf needs a file name";
                return std::nullopt;
            }
            options.pdfPath = *v;
        } else if (arg == "--batch") {
            batch = true;
        } else if (arg == "--strokes") {
            const std::string* v = value("--strokes");
            if (!v) return std::nullopt;
            strokes = true;
            options.strokesText = *v;
        } else if (arg == "--") {
            positional.insert(positional.end(), args.begin() + static_cast<long>(i) + 1,
                              args.end());
            break;
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }

    if (batch && strokes) {
        error = "--batch and --strokes cannot be combined";
        return std::nullopt;
    }
    if (batch || strokes) {
        if (!positional.empty()) {
            error = "unexpected argument " + positional.front();
            return std::nullopt;
        }
        if (!options.pdfPath.empty()) {
            error = "--pdf prints one reading and cannot be used with --batch or --strokes";
            return std::nullopt;
        }
        if (strokes && options.strokesText.empty()) {
            error = "--strokes needs a non-empty text";
            return std::nullopt;
        }
        options.mode = batch ? Mode::Batch : Mode::Strokes;
        return options;
    }
    if (positional.size() != 2) {
        error = positional.size() < 2 ? "a surname and a given name are needed"
                                      : "too many arguments: give a surname and a given name";
        return std::nullopt;
    }
    if (positional[0].empty() || positional[1].empty()) {
        error = "the surname and the given name must not be empty";
        return std::nullopt;
    }
    options.surname = positional[0];
    options.given = positional[1];
    return options;
}

}  // namespace soten::cli
