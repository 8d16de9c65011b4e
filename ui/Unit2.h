#pragma once

#include <QDialog>
#include <optional>

#include "NameRecord.h"
#include "NewReading.h"
#include "ShiftState.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace soten::ui {

// The name entry dialog "姓名の入力". Created once and shown again for every
// New command; nothing in it is ever reset, so after a refused attempt the
// user finds everything as it was left. It writes the stroke style the
// moment a style is picked.
class TForm2 : public QDialog {
    Q_OBJECT

public:
    TForm2(QWidget* parent, StrokeStyle& strokeStyle);

    // Shows the dialog modally, centred over its owner. On OK, the texts of
    // the 名字 and 名前 boxes in code page 932; nothing on Cancel.
    std::optional<EnteredNames> ShowEntryDialog();

    // Takes names read elsewhere (the 名付け候補 dialog) as if they had been
    // typed here: the two texts, their history lists and the style.
    void TakeNames(const QString& surname, const QString& given, StrokeStyle style);

    QGroupBox* RadioGroup1;
    QRadioButton* RadioGroup1Items[2];
    QLabel* Label1;
    QComboBox* ComboBox1;  // 名字
    QLabel* Label2;
    QComboBox* ComboBox2;  // 名前
    QPushButton* BitBtn1;  // OK
    QPushButton* BitBtn2;  // キャンセル

    ShiftState LastShiftState{};

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void ComboBox1Change();
    void ComboBox1Exit(QComboBox* box);
    void RadioGroup1Click(int index);
    void FormKeyDown(const QKeyEvent& event);
    bool FormKeyPress(QObject* watched, const QKeyEvent& event);
    void CentreOverOwner();

    StrokeStyle& strokeStyle_;
    QButtonGroup* styleButtons_;
};

}  // namespace soten::ui
