#pragma once

#include <QDialog>
#include <optional>

#include "analysis/reading/NameRecord.h"
#include "analysis/reading/Reading.h"
#include "ui/reading/KeyModifiers.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace soten::ui {

// The name entry dialog "姓名の入力". Created once and shown again for every
// New command; nothing in it is ever reset, so after a refused attempt the
// user finds everything as it was left, the style picked included.
class NameEntryDialog : public QDialog {
    Q_OBJECT

public:
    explicit NameEntryDialog(QWidget* parent, StrokeStyle strokeStyle = StrokeStyle::Shinji);

    // Shows the dialog modally, centred over its owner. On OK, the texts of
    // the 名字 and 名前 boxes in code page 932; nothing on Cancel.
    std::optional<EnteredNames> ShowEntryDialog();

    // The style picked, the moment it is picked (whether or not OK follows).
    StrokeStyle Style() const { return strokeStyle_; }

    // Takes names read elsewhere (the 名付け候補 dialog) as if they had been
    // typed here: the two texts, their history lists and the style.
    void TakeNames(const QString& surname, const QString& given, StrokeStyle style);

    QGroupBox* styleGroup;
    QRadioButton* styleButtons[2];
    QLabel* surnameLabel;
    QComboBox* surnameBox;  // 名字
    QLabel* givenNameLabel;
    QComboBox* givenNameBox;    // 名前
    QPushButton* okButton;      // OK
    QPushButton* cancelButton;  // キャンセル

    KeyModifiers lastKeyModifiers{};

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FocusSurnameBox();
    void UpdateOkButton();
    void RememberBoxText(QComboBox* box);
    void TakeStyle(int index);
    void NoteKeyModifiers(const QKeyEvent& event);
    bool HandleDialogKey(QObject* watched, const QKeyEvent& event);
    void CentreOverOwner();

    StrokeStyle strokeStyle_;
    QButtonGroup* styleButtonGroup_;
};

}  // namespace soten::ui
