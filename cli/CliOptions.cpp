#include "CliOptions.h"

#include <charconv>

namespace soten::cli {

const char* const UsageText =
    "Usage: soten-cli [--style shinji|honji] [--format text|json|tsv] [--no-report]\n"
    "                 [--encoding utf-8|cp932] [--pdf FILE] SURNAME GIVEN\n"
    "       soten-cli --batch [--style shinji|honji] [--format json|tsv] [--lines]\n"
    "                 [--no-report] [--jobs N]\n"
    "       soten-cli --strokes TEXT [--style shinji|honji]\n"
    "       soten-cli --help | --version\n"
    "\n"
    "--batch reads lines \"SURNAME GIVEN [shinji|honji]\" on stdin and writes one\n"
    "record per non-empty line, in input order: JSON lines (add --lines for the\n"
    "screen and print lines) or, with --format tsv, tab-separated UTF-8 with a\n"
    "header row. --jobs N reads on N threads (default: one per processor).\n"
    "\n"
    "Exit status: 0 every reading made, 1 some names refused, 2 usage error or a\n"
    "malformed input line, 3 input/output failure (output closed, disk full, PDF\n"
    "not writable).\n";

namespace {

std::optional<unsigned> ParseJobs(const std::string& text) {
    unsigned jobs = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (failure != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (jobs < 1 || jobs > MaxJobs) return std::nullopt;
    return jobs;
}

}  // namespace

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
            } else if (*v == "tsv") {
                options.format = Format::Tsv;
            } else {
                error = "--format must be text, json or tsv";
                return std::nullopt;
            }
            options.formatGiven = true;
        } else if (arg == "--lines") {
            options.lines = true;
        } else if (arg == "--no-report") {
            options.report = false;
        } else if (arg == "--jobs") {
            const std::string* v = value("--jobs");
            if (!v) return std::nullopt;
            const auto jobs = ParseJobs(*v);
            if (!jobs) {
                error = "--jobs must be a number from 1 to " + std::to_string(MaxJobs);
                return std::nullopt;
            }
            options.jobs = *jobs;
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
        if (batch && options.formatGiven && options.format == Format::Text) {
            error = "--batch writes json or tsv";
            return std::nullopt;
        }
        if (strokes && (options.formatGiven || options.lines || !options.report)) {
            error = "--strokes lists characters and takes no --format, --lines or --no-report";
            return std::nullopt;
        }
        if (batch && options.lines && options.format == Format::Tsv) {
            error = "--lines needs --format json";
            return std::nullopt;
        }
        if (batch && !options.formatGiven) options.format = Format::Json;
        options.mode = batch ? Mode::Batch : Mode::Strokes;
        return options;
    }
    if (options.format == Format::Text && !options.report) {
        error = "--no-report needs --format json or tsv";
        return std::nullopt;
    }
    if (options.lines && options.format != Format::Json) {
        error = "--lines needs --format json";
        return std::nullopt;
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
