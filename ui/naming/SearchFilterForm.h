#pragma once

#include <QGroupBox>
#include <array>

#include "analysis/naming/NameSearch.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace soten::ui {

// The filters of the name search as a form (the group "条件"): the surname
// and style, where to look, gender, length, the yomi, the characters to hold
// or leave out, the worst grades, score, 三才配置 and 陰陽配列. Every control
// has an objectName equal to its member's name without the underscore.
class SearchFilterForm : public QGroupBox {
    Q_OBJECT

public:
    explicit SearchFilterForm(QWidget* parent);

    // Sets the surname and style (the reading on show); Changed follows.
    void Prefill(const QString& surname, StrokeStyle style);

    // The filters as the controls show them now. Sort, page and limit are
    // left at their defaults: the dialog sets them.
    NameSearchFilters Filters() const;

signals:
    // Any filter changed.
    void Changed();

private:
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
};

}  // namespace soten::ui
