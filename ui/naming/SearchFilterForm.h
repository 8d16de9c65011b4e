#pragma once

#include <QGroupBox>
#include <array>

#include "analysis/naming/NameSearch.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSettings;
class QSpinBox;
class QToolButton;

namespace soten::ui {

// The filters that do not work in every space.
enum class SpaceBoundFilter { IncludeUnspecified, IncludeUnregistrable };

// Why `filter` does nothing in `space`, for the disabled control's tooltip;
// empty when it applies there. The one place that decides it.
QString WhyNotInSpace(SpaceBoundFilter filter, SearchSpace space);

// The filters of the name search as a form (the group "条件"). What a parent
// starts from is on show: the surname, gender, the yomi, length and one
// choice of fortunes (運勢の条件, which sets the four grades). The rest (style,
// where to look, the yomi's length, morae and parts, the characters to hold
// or leave out, the grades one by one, score, 三才配置 and 陰陽配列) waits
// behind the checkable button 詳しい条件 ("advancedButton", the panel
// "advancedPanel"). A filter that does nothing in the space chosen is
// disabled, its tooltip saying why; 性別 works in both spaces, its tooltip
// saying what it does in each. Every control has an objectName equal to
// its member's name without the underscore.
class SearchFilterForm : public QGroupBox {
    Q_OBJECT

public:
    explicit SearchFilterForm(QWidget* parent);

    // Sets the surname and style (the reading on show); Changed follows.
    void Prefill(const QString& surname, StrokeStyle style);

    // The filters as the controls show them now. Sort, page and limit are
    // left at their defaults: the dialog sets them.
    NameSearchFilters Filters() const;

    // Puts the keyboard in the surname box, its text selected.
    void FocusSurname();

    // The controls' values and whether the advanced conditions are open,
    // kept in and taken back from the current group of `settings`.
    void SaveState(QSettings& settings) const;
    void RestoreState(const QSettings& settings);

signals:
    // Any filter changed.
    void Changed();

private:
    void ApplyFortuneChoice(int choice);
    void ShowFortuneChoice();
    void ApplySpace();

    QLineEdit* surnameEdit_;
    QComboBox* styleBox_;
    QComboBox* spaceBox_;
    QComboBox* genderBox_;
    QCheckBox* includeUnspecifiedBox_;
    QComboBox* charsBox_;
    QLineEdit* readingEdit_;
    QSpinBox* readingLengthBox_;
    QSpinBox* moraeBox_;
    QLineEdit* readingPrefixEdit_;
    QLineEdit* readingSuffixEdit_;
    QLineEdit* readingContainsEdit_;
    QLineEdit* containsEdit_;
    QComboBox* positionBox_;
    QLineEdit* excludeEdit_;
    std::array<QComboBox*, 4> gradeBoxes_;  // 人運, 地運, 外運, 総運
    QSpinBox* minScoreBox_;
    QComboBox* sansaiBox_;
    QCheckBox* inyoBox_;
    QCheckBox* anyReadingBox_;  // the all-names space: readings no real name uses too
    QCheckBox* includeUnregistrableBox_;
    QCheckBox* includeAvoidedBox_;
    QComboBox* fortuneBox_;
    QToolButton* advancedButton_;
    QWidget* advancedPanel_;
    QString genderTip_;
    QString includeUnspecifiedTip_;
    QString includeUnregistrableTip_;
    bool settingGrades_ = false;
};

}  // namespace soten::ui
