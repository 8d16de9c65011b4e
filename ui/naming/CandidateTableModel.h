#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "analysis/naming/NameSearch.h"
#include "analysis/shortlist/Shortlist.h"

namespace soten::ui {

class ShortlistStore;

// The candidates of one page as table rows: ★ (on the shortlist; ☆ not),
// 名前, 戸籍 (可, 読み要確認 or 字×: CandidateRegistry, the tooltip naming the
// characters refused or the yomi's check), 読み (the yomi; the others in the
// tooltip), 性別 (男性（推定） when inferred), 性別の傾向 (the lean of the yomi's
// parts, the counts in the tooltip), 画数, 人運, 地運, 外運, 総運
// (number and grade mark, in the grade's colour), 評点, the verdicts of 三才配置 and 陰陽配列,
// ローマ字 (the passport spelling, the whole name with the surname's reading;
// the other spellings and the initials in the tooltip) and 音の注意 (SoundNotes).
// The search sorts; the model keeps its rows' order.
class CandidateTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Star,
        Given,
        Registrable,
        Yomi,
        Gender,
        GenderLean,
        Strokes,
        PersonFortune,
        EarthFortune,
        OuterFortune,
        TotalFortune,
        Score,
        Sansai,
        Inyo,
        Romaji,
        SoundNotes,
        ColumnCount
    };

    CandidateTableModel(QObject* parent, ShortlistStore& shortlist);

    // allNames: the rows are composed names, which sort by name or yomi
    // only within the page (the headers' tooltips say so). The surname and
    // style are those searched.
    void SetCandidates(std::vector<NameCandidate> candidates, bool allNames, std::string surname,
                       StrokeStyle style);
    const NameCandidate& Candidate(int row) const {
        return candidates_.at(static_cast<std::size_t>(row));
    }
    // The surname's reading in hiragana (code page 932; empty when unknown),
    // which the romaji and sound notes use and the shortlist keeps.
    void SetSurnameYomi(std::string yomi);
    // The candidate of a row as the shortlist keeps it.
    ShortlistEntry EntryOf(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    ShortlistStore& shortlist_;
    std::vector<NameCandidate> candidates_;
    bool allNames_ = false;
    std::string surname_;
    std::string surnameYomi_;
    StrokeStyle style_ = StrokeStyle::Shinji;
};

}  // namespace soten::ui
