#include "Unit2.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "Cp932Conversion.h"
#include "FontSubstitutes.h"
#include "GdiFont.h"
#include "TRadioGroup.h"
#include "WindowPlacement.h"

namespace soten::ui {

namespace {

using platform::GdiFont;
using platform::Smoothing;

QFont WidgetFont(const char* face, int height) {
    return GdiFont(face, height, false, Smoothing::On);
}

QComboBox* NameBox(QWidget* parent, const char* name, QRect geometry) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setEditable(true);
    // The history is kept by ComboBox1Exit, not by the box on Enter.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setFont(WidgetFont(platform::ProportionalGothicFace, 15));
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    box->setPalette(palette);
    box->setAttribute(Qt::WA_InputMethodEnabled);
    return box;
}

QLabel* NameLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(WidgetFont(platform::ProportionalGothicFace, 15));
    return label;
}

QPushButton* DialogButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(WidgetFont(platform::UiGothicFace, 15));
    button->setAutoDefault(true);
    return button;
}

}  // namespace

TForm2::TForm2(QWidget* parent, StrokeStyle& strokeStyle)
    : QDialog(parent), strokeStyle_(strokeStyle) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("姓名の入力"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(195, 191);
    setFont(WidgetFont(platform::ProportionalGothicFace, 12));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0xE8, 0xC8));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    RadioGroup1 = new TRadioGroup(QStringLiteral("画数"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(15, 14, 165, 41);
    RadioGroup1->setFont(WidgetFont(platform::ProportionalGothicFace, 15));
    styleButtons_ = new QButtonGroup(this);
    const QString itemNames[2] = {QStringLiteral("新字式"), QStringLiteral("本字式")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(itemNames[i], RadioGroup1);
        item->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
        item->setGeometry(8 + i * 78, 17, 74, 20);
        styleButtons_->addButton(item, i);
        RadioGroup1Items[i] = item;
    }
    RadioGroup1Items[static_cast<int>(strokeStyle_)]->setChecked(true);

    Label1 = NameLabel(this, "Label1", QStringLiteral("名字："), QRect(15, 78, 38, 15));
    ComboBox1 = NameBox(this, "ComboBox1", QRect(53, 75, 127, 23));
    Label2 = NameLabel(this, "Label2", QStringLiteral("名前："), QRect(15, 116, 38, 15));
    ComboBox2 = NameBox(this, "ComboBox2", QRect(53, 113, 127, 23));
    BitBtn1 = DialogButton(this, "BitBtn1", QStringLiteral("OK"), QRect(15, 153, 75, 23));
    BitBtn2 = DialogButton(this, "BitBtn2", QStringLiteral("キャンセル"), QRect(105, 153, 75, 23));
    BitBtn1->setEnabled(false);
    // The boxes are announced by their labels, not by what they hold.
    Label1->setBuddy(ComboBox1);
    Label2->setBuddy(ComboBox2);
    ComboBox1->setAccessibleName(QStringLiteral("名字"));
    ComboBox2->setAccessibleName(QStringLiteral("名前"));
    for (QComboBox* box : {ComboBox1, ComboBox2}) {
        box->lineEdit()->setAccessibleName(box->accessibleName());
    }

    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, RadioGroup1Items[0]);
    setTabOrder(RadioGroup1Items[0], RadioGroup1Items[1]);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ComboBox1, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });
    connect(ComboBox2, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });
    connect(styleButtons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) RadioGroup1Click(id);
    });

    // The dialog sees every key before the focused control does.
    for (QWidget* control :
         {static_cast<QWidget*>(ComboBox1), static_cast<QWidget*>(ComboBox1->lineEdit()),
          static_cast<QWidget*>(ComboBox2), static_cast<QWidget*>(ComboBox2->lineEdit()),
          static_cast<QWidget*>(BitBtn1), static_cast<QWidget*>(BitBtn2),
          static_cast<QWidget*>(RadioGroup1Items[0]), static_cast<QWidget*>(RadioGroup1Items[1]),
          static_cast<QWidget*>(this)}) {
        control->installEventFilter(this);
    }
}

std::optional<EnteredNames> TForm2::ShowEntryDialog() {
    CentreOverOwner();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return EnteredNames{NameToCp932(ComboBox1->currentText()),
                        NameToCp932(ComboBox2->currentText())};
}

void TForm2::TakeNames(const QString& surname, const QString& given, StrokeStyle style) {
    RadioGroup1Items[static_cast<int>(style)]->setChecked(true);
    strokeStyle_ = style;
    ComboBox1->setEditText(surname);
    ComboBox1Exit(ComboBox1);
    ComboBox2->setEditText(given);
    ComboBox1Exit(ComboBox2);
}

void TForm2::CentreOverOwner() {
    const bool overOwner = parentWidget() && parentWidget()->isVisible();
    CentreWindow(*this,
                 overOwner ? parentWidget()->window()->frameGeometry() : AvailableScreenArea(this));
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TForm2::FormShow() {
    ComboBox1->setFocus(Qt::OtherFocusReason);
}

void TForm2::ComboBox1Change() {
    BitBtn1->setEnabled(!ComboBox1->currentText().isEmpty() && !ComboBox2->currentText().isEmpty());
}

void TForm2::ComboBox1Exit(QComboBox* box) {
    const QString text = box->currentText();
    // The list's own search, which ignores the case of letters.
    if (box->findText(text, Qt::MatchFixedString) >= 0) return;
    if (text.isEmpty()) return;
    box->insertItem(0, text);
}

void TForm2::RadioGroup1Click(int index) {
    strokeStyle_ = static_cast<StrokeStyle>(index);
}

void TForm2::FormKeyDown(const QKeyEvent& event) {
    LastShiftState = ShiftState::Of(event.modifiers(), QGuiApplication::mouseButtons());
}

bool TForm2::FormKeyPress(QObject* watched, const QKeyEvent& event) {
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (enter) {
        // A button takes a plain Enter itself and is pressed by it.
        if (qobject_cast<QPushButton*>(watched) && !LastShiftState.HasShiftCtrlOrAlt()) {
            return false;
        }
        // WM_NEXTDLGCTL: the next or previous control in tab order, wrapping.
        focusNextPrevChild(!LastShiftState.IsExactlyShift());
        return true;
    }
    if (event.key() == Qt::Key_Escape && !LastShiftState.HasShiftCtrlOrAlt()) {
        BitBtn2->click();
        return true;
    }
    return false;
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto& key = static_cast<const QKeyEvent&>(*event);
            FormKeyDown(key);
            return FormKeyPress(watched, key);
        }
        case QEvent::FocusOut: {
            // Opening a box's own list or switching to another window does not
            // leave the box.
            const auto reason = static_cast<const QFocusEvent&>(*event).reason();
            auto* box = qobject_cast<QComboBox*>(watched);
            if (box && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                ComboBox1Exit(box);
            }
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace soten::ui
