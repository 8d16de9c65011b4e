#include "cli/batch/BatchSummary.h"

#include "cli/app/CliRunner.h"

namespace soten::cli {
namespace {

bool IsRefusal(ErrorCode code) {
    return code == ErrorCode::UnknownCharacter || code == ErrorCode::RefusedLength;
}

// "nearly every row": nine in ten or more.
bool NearlyAll(long part, long whole) {
    return whole > 0 && part * 10 >= whole * 9;
}

}  // namespace

InputTraits TraitsOf(const LineBatch& firstBatch) {
    InputTraits traits;
    // A workbook's rows come as cells, read by a reader that knows the format.
    if (firstBatch.split) return traits;
    traits.nulBytes = firstBatch.text.find('\0') != std::string::npos;
    traits.zipFile = !firstBatch.lines.empty() && firstBatch.Line(0).starts_with("PK\x03\x04");
    bool anyLine = false;
    bool comma = true;
    bool tab = true;
    for (std::size_t i = 0; i < firstBatch.lines.size(); ++i) {
        const std::string_view line = firstBatch.Line(i);
        if (firstBatch.lines[i].tooLong || line.empty() || line == "\r") continue;
        anyLine = true;
        comma = comma && line.find(',') != std::string_view::npos;
        tab = tab && line.find('\t') != std::string_view::npos;
    }
    traits.commaInEveryLine = anyLine && comma;
    traits.tabInEveryLine = anyLine && tab;
    return traits;
}

int BatchSummary::ExitStatus() const {
    bool refused = false;
    for (std::size_t i = 0; i < ErrorCodeCount; ++i) {
        if (counts_.failures[i] == 0) continue;
        if (!IsRefusal(static_cast<ErrorCode>(i))) return ExitMalformed;
        refused = true;
    }
    return refused ? ExitRefused : ExitReadingMade;
}

std::string BatchSummary::Hint(const CliOptions& options) const {
    const long records = counts_.Records();
    const long failures = records - counts_.readings;
    if (!NearlyAll(failures, records)) return {};
    if (traits_.zipFile) {
        return "入力は xlsx か ods（zip 形式）のファイルのようです。--input xlsx（ods なら "
               "--input ods）を付けてください";
    }
    if (traits_.nulBytes) {
        return "入力に NUL バイトがあります。UTF-16 のテキストのようです。UTF-8 "
               "で保存し直してください";
    }
    if (NearlyAll(counts_.Failures(ErrorCode::InvalidEncoding), records)) {
        return options.inputEncoding == Encoding::Utf8
                   ? "ほぼすべての行が UTF-8 ではありません。Shift-JIS の CSV なら "
                     "--input-encoding cp932 を試してください"
                   : "ほぼすべての行が cp932（Shift-JIS）ではありません。--input-encoding "
                     "utf-8 を試してください";
    }
    if (options.input == InputFormat::Text && traits_.commaInEveryLine) {
        return "どの行にもコンマがあります。CSV なら --input csv を付けてください";
    }
    if (options.input == InputFormat::Text && traits_.tabInEveryLine) {
        return "どの行にもタブがあります。TSV なら --input tsv を付けてください";
    }
    return {};
}

std::string BatchSummary::Text(const CliOptions& options) const {
    const long records = counts_.Records();
    long refused = 0;
    for (const ErrorCode code : {ErrorCode::UnknownCharacter, ErrorCode::RefusedLength}) {
        refused += counts_.Failures(code);
    }
    const long malformed = records - counts_.readings - refused;
    // Appended piece by piece, clear of GCC 12's false -Wrestrict at -O3.
    std::string text = "soten-cli: ";
    text += std::to_string(records);
    text += " 行: 鑑定 ";
    text += std::to_string(counts_.readings);
    text += "、拒否 ";
    text += std::to_string(refused);
    text += "、不正 ";
    text += std::to_string(malformed);
    std::string byCode;
    for (std::size_t i = 0; i < ErrorCodeCount; ++i) {
        if (counts_.failures[i] == 0) continue;
        if (!byCode.empty()) byCode += "、";
        byCode += ErrorCodeName(static_cast<ErrorCode>(i));
        byCode += ' ';
        byCode += std::to_string(counts_.failures[i]);
    }
    if (!byCode.empty()) {
        text += "（";
        text += byCode;
        text += "）";
    }
    text += '\n';
    if (const std::string hint = Hint(options); !hint.empty()) {
        text += "soten-cli: ";
        text += hint;
        text += '\n';
    }
    if (replaced_ > 0) {
        text += "soten-cli: cp932 にない文字 ";
        text += std::to_string(replaced_);
        text += " 個を ? と書きました。そのまま残すには --output-encoding utf-8 を使ってください\n";
    }
    return text;
}

}  // namespace soten::cli
