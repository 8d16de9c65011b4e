#include "printing/pages/ComparisonPage.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "analysis/naming/AvoidedKanji.h"
#include "analysis/naming/SpokenName.h"
#include "analysis/reading/DetailedReading.h"
#include "analysis/reading/Fortunes.h"
#include "analysis/records/JudgedColumns.h"
#include "analysis/text/PaddedNumber.h"
#include "analysis/text/ShiftJis.h"
#include "platform/drawing/Cp932Strings.h"
#include "platform/drawing/FontSubstitutes.h"
#include "printing/device/A4Document.h"
#include "printing/pages/ReadingPage.h"

namespace soten::printing {

namespace {

using platform::FromCp932;

// Landscape A4 in tenths of a millimetre (2970 × 2100), 15 mm margins.
constexpr std::int32_t Left = 150;
constexpr std::int32_t Right = 2970 - 150;
constexpr std::int32_t TitleTop = 150;
constexpr std::int32_t TableTop = 260;
constexpr std::int32_t HeadHeight = 76;
constexpr std::int32_t RowHeight = 74;
// A row's figures take its upper part; the band under them, from the
// surname's column to the right edge, holds the romaji and the sound notes.
constexpr std::int32_t FiguresHeight = 46;
constexpr std::int32_t BandHeight = RowHeight - FiguresHeight;
// Below the table of a full page, in the bottom margin's place.
constexpr std::int32_t LegendTop = TableTop + HeadHeight + 20 * RowHeight + 40;
constexpr std::int32_t PageNumberTop = LegendTop + 80;
constexpr std::int32_t Padding = 10;

constexpr int TitlePoints = 16;
constexpr int DatePoints = 11;
constexpr int BodyPoints = 10;
// Long names shrink down to this before they are cut; notes and refusals
// to the next size.
constexpr int SmallestNamePoints = 5;
constexpr int SmallestNotePoints = 8;
constexpr int LegendPoints = 8;
constexpr int BandPoints = 7;
constexpr int SmallestBandPoints = 6;

// Line widths in tenths of a millimetre.
constexpr std::int32_t FrameLine = 3;
constexpr std::int32_t HeadLine = 2;
constexpr std::int32_t GridLine = 1;

enum class Align { Left, Center, Right };

struct Column {
    std::string_view heading;  // UTF-8
    std::int32_t width;
    Align align;
};

enum ColumnIndex : std::size_t {
    NumberColumn,
    SurnameColumn,
    GivenColumn,
    ReadingColumn,
    StyleColumn,
    StrokesColumn,
    FirstFortuneColumn,
    ScoreColumn = FirstFortuneColumn + FortuneCount,
    RegistryColumn,
    SansaiColumn,
    InyoColumn,
    NoteColumn,
    ColumnCount
};

// The note takes what the others leave of the 267 mm.
constexpr std::array<Column, ColumnCount> Columns = {{
    {"No.", 80, Align::Right},
    {TitleOf(JudgedColumn::Surname), 210, Align::Left},
    {TitleOf(JudgedColumn::Given), 210, Align::Left},
    {TitleOf(JudgedColumn::Yomi), 220, Align::Left},
    {TitleOf(JudgedColumn::Style), 140, Align::Center},
    {TitleOf(JudgedColumn::Strokes), 190, Align::Left},
    {TitleOf(JudgedColumn::Heaven), 115, Align::Center},
    {TitleOf(JudgedColumn::Person), 115, Align::Center},
    {TitleOf(JudgedColumn::Earth), 115, Align::Center},
    {TitleOf(JudgedColumn::Outer), 115, Align::Center},
    {TitleOf(JudgedColumn::Total), 115, Align::Center},
    {TitleOf(JudgedColumn::Score), 95, Align::Center},
    {TitleOf(JudgedColumn::Registrable), 200, Align::Center},  // 読み要確認 whole at 8 pt
    {TitleOf(JudgedColumn::Sansai), 95, Align::Center},
    {TitleOf(JudgedColumn::Inyo), 95, Align::Center},
    {TitleOf(JudgedColumn::Note), 0, Align::Left},
}};

constexpr std::int32_t ColumnLeft(std::size_t column) {
    std::int32_t x = Left;
    for (std::size_t i = 0; i < column; ++i) x += Columns[i].width;
    return x;
}

constexpr std::int32_t ColumnRight(std::size_t column) {
    return column + 1 < ColumnCount ? ColumnLeft(column + 1) : Right;
}

static_assert(ColumnRight(NoteColumn) - ColumnLeft(NoteColumn) >= 550,
              "the note keeps room for about fifteen characters");

constexpr const char* Title = "蒼天姓名判断　名前の比較";
constexpr const char* NoNames = "比較する名前がありません。";
constexpr const char* Legend =
    "評点は人運・地運・外運・総運の◎3点，○2点，△1点，×0点の合計（12点満点）。"
    "戸籍の字×は戸籍に使えない字があること，読み要確認は読みが字の読み方と結びつかないことを示しま"
    "す。";

// The page's faces are fixed-pitch: a half-width character takes half the
// width of a full-width one, which is as wide as the font is high.
std::int32_t Cells(const QString& text) {
    std::int32_t cells = 0;
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        cells += code < 0x80 || (code >= 0xFF61 && code <= 0xFF9F) ? 1 : 2;
    }
    return cells;
}

std::int32_t TextWidth(const QString& text, int points) {
    return Cells(text) * points * 254 / 144;
}

std::int32_t TextHeight(int points) {
    return points * 254 / 72;
}

// The text cut to `width` at `points`, with "…" where it was cut.
QString CutToWidth(const QString& text, std::int32_t width, int points) {
    if (TextWidth(text, points) <= width) return text;
    static const QString ellipsis = QStringLiteral("…");
    QString cut = text;
    while (!cut.isEmpty() && TextWidth(cut + ellipsis, points) > width) cut.chop(1);
    return cut + ellipsis;
}

// One line of a note or a name: breaks and tabs become spaces.
QString OneLine(QString text) {
    for (QChar& ch : text) {
        if (ch.unicode() < 0x20) ch = QLatin1Char(' ');
    }
    return text;
}

QString OneLine(const std::string& cp932) {
    return OneLine(FromCp932(cp932));
}

QString StrokesText(const NameRecord& record) {
    std::string text;
    static const std::string dot = Cp932Text("・");
    for (int k = 1; k <= record.Lengths[GivenName]; ++k) {
        if (k > 1) text += dot;
        text += std::to_string(record.Strokes[GivenName][static_cast<std::size_t>(k)]);
    }
    return FromCp932(text);
}

QString FortuneText(const ComparedName& name, std::size_t kind) {
    // The number right-aligned in three places, so the marks line up.
    std::string text = PaddedNumber(name.reading->Counted().Fortunes[kind], 3);
    text += GradeMark(name.keywords[kind].grade);
    return FromCp932(text);
}

class PageWriter {
public:
    explicit PageWriter(PrinterSession& printer)
        : printer_(printer), dpi_(printer.Resolution().x()) {}

    void UseFont(const char* face, int points) {
        RecordedPage::Font& font = printer_.PageCanvas().CurrentFont();
        font.name = QString::fromUtf8(face);
        font.size = points;
        font.color = Qt::black;
    }

    void TextAt(std::int32_t x, std::int32_t y, const QString& text) {
        printer_.PageCanvas().TextOut(TenthMmToDeviceX(printer_, x), TenthMmToDeviceY(printer_, y),
                                      text);
    }

    // Text in the cell from `left` to `right` of the row at `top`: shrunk down
    // to `smallest` points and then cut when it does not fit, and centred
    // vertically.
    void CellText(std::int32_t left, std::int32_t right, std::int32_t top, std::int32_t height,
                  const QString& text, Align align, const char* face, int smallest,
                  int largest = BodyPoints) {
        if (text.isEmpty()) return;
        const std::int32_t room = right - left - 2 * Padding;
        int points = largest;
        while (points > smallest && TextWidth(text, points) > room) --points;
        const QString shown = CutToWidth(text, room, points);
        const std::int32_t width = TextWidth(shown, points);
        std::int32_t x = left + Padding;
        if (align == Align::Right) x = right - Padding - width;
        if (align == Align::Center) x = left + (right - left - width) / 2;
        UseFont(face, points);
        TextAt(x, top + (height - TextHeight(points)) / 2, shown);
    }

    void Cell(std::size_t column, std::int32_t top, const QString& text, int smallest) {
        CellText(ColumnLeft(column), ColumnRight(column), top, FiguresHeight, text,
                 Columns[column].align, platform::MinchoFace, smallest);
    }

    void Line(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
              std::int32_t tenths) {
        const int width = std::max(1, static_cast<int>(tenths * dpi_ / 254));
        printer_.PageCanvas().DrawLine(
            QPoint(TenthMmToDeviceX(printer_, x1), TenthMmToDeviceY(printer_, y1)),
            QPoint(TenthMmToDeviceX(printer_, x2), TenthMmToDeviceY(printer_, y2)), width);
    }

private:
    PrinterSession& printer_;
    std::int32_t dpi_;
};

void PaintHead(PageWriter& page, const QString& date, int pageNumber, int pageCount) {
    page.UseFont(platform::GothicFace, TitlePoints);
    page.TextAt(Left, TitleTop, QString::fromUtf8(Title));
    // The date stands on the title's line, flush with the table's right edge.
    page.UseFont(platform::MinchoFace, DatePoints);
    page.TextAt(Right - TextWidth(date, DatePoints),
                TitleTop + TextHeight(TitlePoints) - TextHeight(DatePoints), date);

    for (std::size_t column = 0; column < ColumnCount; ++column) {
        page.CellText(ColumnLeft(column), ColumnRight(column), TableTop, HeadHeight,
                      QString::fromUtf8(Columns[column].heading.data(),
                                        static_cast<qsizetype>(Columns[column].heading.size())),
                      Align::Center, platform::GothicFace, SmallestNotePoints);
    }

    page.UseFont(platform::MinchoFace, LegendPoints);
    page.TextAt(Left, LegendTop, QString::fromUtf8(Legend));
    const QString number = QStringLiteral("%1 / %2").arg(pageNumber).arg(pageCount);
    page.UseFont(platform::MinchoFace, 9);
    page.TextAt((Left + Right - TextWidth(number, 9)) / 2, PageNumberTop, number);
}

// Under the legend, for the names of the page that hold a kanji of the
// avoid list: "避けたい字　3 死刑（死：死を表す字）", made smaller to fit the line.
void PaintAvoidedNotes(PageWriter& page, std::size_t first,
                       const std::vector<const ComparedName*>& rows) {
    QString notes;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const ComparedName& name = *rows[row];
        if (name.avoided.empty()) continue;
        notes += notes.isEmpty() ? QStringLiteral("避けたい字　") : QStringLiteral("／");
        notes += QStringLiteral("%1 %2（%3）")
                     .arg(first + row + 1)
                     .arg(QString::fromStdString(name.entry.GivenUtf8()),
                          FromCp932(AvoidedKanjiNote(name.avoided)));
    }
    if (notes.isEmpty()) return;
    int points = LegendPoints;
    while (points > SmallestNamePoints && TextWidth(notes, points) > Right - Left) --points;
    page.UseFont(platform::MinchoFace, points);
    page.TextAt(Left, LegendTop + 36, notes);
}

QString Utf8Title(JudgedColumn column) {
    const std::string_view title = TitleOf(column);
    return QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
}

// The band of a name's row: "ローマ字 SATO TOMA（頭文字 T.S.）　長音を書く形
// TOHMA・TOOMA　音の注意 「とう」が続けて二度", each part left out that the
// readings cannot give.
QString BandText(const SpokenName& spoken) {
    QStringList parts;
    if (!spoken.romaji.empty()) {
        QString romaji =
            Utf8Title(JudgedColumn::Romaji) + QLatin1Char(' ') +
            QString::fromStdString(spoken.fullName.empty() ? spoken.romaji : spoken.fullName);
        if (!spoken.initials.empty()) {
            romaji += QStringLiteral("（%1 %2）")
                          .arg(Utf8Title(JudgedColumn::Initials),
                               QString::fromStdString(spoken.initials));
        }
        parts << romaji;
    }
    if (!spoken.alternatives.empty()) {
        QStringList others;
        for (const std::string& other : spoken.alternatives)
            others << QString::fromStdString(other);
        parts << QStringLiteral("長音を書く形 ") + others.join(QStringLiteral("・"));
    }
    if (!spoken.notes.empty()) {
        QStringList notes;
        for (const std::string& note : spoken.notes) notes << QString::fromStdString(note);
        parts << Utf8Title(JudgedColumn::SoundNotes) + QLatin1Char(' ') +
                     notes.join(QStringLiteral("、"));
    }
    return OneLine(parts.join(QStringLiteral("　")));
}

void PaintRow(PageWriter& page, std::int32_t top, std::size_t index, const ComparedName& name) {
    const ShortlistEntry& entry = name.entry;
    page.Cell(NumberColumn, top, QString::number(index + 1), BodyPoints);
    page.Cell(SurnameColumn, top, OneLine(QString::fromStdString(entry.SurnameUtf8())),
              SmallestNamePoints);
    page.Cell(GivenColumn, top, OneLine(QString::fromStdString(entry.GivenUtf8())),
              SmallestNamePoints);
    page.Cell(ReadingColumn, top, OneLine(entry.reading), SmallestNamePoints);
    page.Cell(StyleColumn, top, FromCp932(StrokeStyleName(entry.style)), BodyPoints);
    page.Cell(NoteColumn, top, OneLine(entry.note), SmallestNotePoints);
    page.CellText(ColumnLeft(SurnameColumn), Right, top + FiguresHeight, BandHeight,
                  BandText(name.spoken), Align::Left, platform::MinchoFace, SmallestBandPoints,
                  BandPoints);
    if (name.refusal) {
        page.CellText(ColumnLeft(StrokesColumn), ColumnRight(InyoColumn), top, FiguresHeight,
                      OneLine(QString::fromStdString(RefusalText(name))), Align::Left,
                      platform::MinchoFace, SmallestNotePoints);
        return;
    }
    page.Cell(StrokesColumn, top, StrokesText(name.reading->Counted()), SmallestNamePoints);
    for (std::size_t kind = 0; kind < FortuneCount; ++kind) {
        page.Cell(FirstFortuneColumn + kind, top, FortuneText(name, kind), SmallestNamePoints);
    }
    page.Cell(ScoreColumn, top, QString::number(name.score), BodyPoints);
    page.Cell(RegistryColumn, top, QString::fromStdString(RegistryText(name)), SmallestNotePoints);
    page.Cell(SansaiColumn, top, FromCp932(VerdictName(name.sansai.verdict)), BodyPoints);
    page.Cell(InyoColumn, top, FromCp932(VerdictName(name.inyo.verdict)), BodyPoints);
}

// The frame, the line under the head, a line under every row and the
// column lines; a refused name's refusal runs across the number columns,
// and the band under a row's figures across all but the number's.
void PaintGrid(PageWriter& page, const std::vector<const ComparedName*>& rows) {
    const std::int32_t bottom =
        TableTop + HeadHeight + static_cast<std::int32_t>(rows.size()) * RowHeight;
    const auto columnLines = [&](std::int32_t top, std::int32_t height, bool refused) {
        for (std::size_t column = 1; column < ColumnCount; ++column) {
            if (refused && column > StrokesColumn && column <= InyoColumn) continue;
            page.Line(ColumnLeft(column), top, ColumnLeft(column), top + height, GridLine);
        }
    };
    columnLines(TableTop, HeadHeight, false);
    std::int32_t top = TableTop + HeadHeight;
    for (const ComparedName* name : rows) {
        columnLines(top, FiguresHeight, name->refusal.has_value());
        page.Line(ColumnLeft(SurnameColumn), top + FiguresHeight, ColumnLeft(SurnameColumn),
                  top + RowHeight, GridLine);
        top += RowHeight;
        if (top < bottom) page.Line(Left, top, Right, top, GridLine);
    }
    page.Line(Left, TableTop + HeadHeight, Right, TableTop + HeadHeight, HeadLine);
    page.Line(Left, TableTop, Right, TableTop, FrameLine);
    page.Line(Left, bottom, Right, bottom, FrameLine);
    page.Line(Left, TableTop, Left, bottom, FrameLine);
    page.Line(Right, TableTop, Right, bottom, FrameLine);
}

}  // namespace

int ComparisonPageCount(std::size_t nameCount) {
    return static_cast<int>(std::max<std::size_t>(
        1, (nameCount + NamesPerComparisonPage - 1) / NamesPerComparisonPage));
}

QString ComparisonDateText(const QDate& date) {
    return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day());
}

QString ComparisonPdfFileName(const QDate& date) {
    return QStringLiteral("名前の比較_") + date.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".pdf");
}

void PaintComparisonPages(PrinterSession& printer, const std::vector<ComparedName>& names,
                          const QDate& date) {
    platform::InstallFontSubstitutes();
    PageWriter page(printer);
    const QString dateText = ComparisonDateText(date);
    const int pageCount = ComparisonPageCount(names.size());
    for (int number = 1; number <= pageCount; ++number) {
        if (number > 1) printer.NewPage();
        PaintHead(page, dateText, number, pageCount);
        const std::size_t first = static_cast<std::size_t>(number - 1) * NamesPerComparisonPage;
        const std::size_t last = std::min(names.size(), first + NamesPerComparisonPage);
        std::vector<const ComparedName*> rows;
        for (std::size_t index = first; index < last; ++index) {
            PaintRow(page,
                     TableTop + HeadHeight + static_cast<std::int32_t>(rows.size()) * RowHeight,
                     index, names[index]);
            rows.push_back(&names[index]);
        }
        PaintGrid(page, rows);
        PaintAvoidedNotes(page, first, rows);
        if (names.empty()) {
            page.UseFont(platform::MinchoFace, BodyPoints);
            page.TextAt(Left + Padding, TableTop + HeadHeight + 40, QString::fromUtf8(NoNames));
        }
    }
}

void PrintComparisonPages(PrinterSession& printer, const std::vector<ComparedName>& names,
                          const QDate& date) {
    QString text = QString::fromUtf8(ComparisonDocumentTitle);
    for (const ComparedName& name : names) {
        // The fonts are asked for what code page 932 holds: a character it
        // lacks is drawn by whatever font has it, and never stops the print.
        text += platform::FromCp932(name.entry.surname + name.entry.given + name.entry.reading +
                                    name.entry.note);
        text += BandText(name.spoken);
    }
    RefuseWithoutFonts(text);
    PrintA4Document(printer, PageOrientation::Landscape, QString::fromUtf8(ComparisonDocumentTitle),
                    [&] { PaintComparisonPages(printer, names, date); });
}

void PrintComparison(PrintDialog& dialog, const std::vector<ComparedName>& names,
                     const QDate& date) {
    dialog.SetFileName(ComparisonPdfFileName(date));
    if (!dialog.Execute()) return;
    PrintComparisonPages(dialog.Printer(), names, date);
}

}  // namespace soten::printing
