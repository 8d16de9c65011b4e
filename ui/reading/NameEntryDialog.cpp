#include "ui/reading/NameEntryDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/drawing/CellFont.h"
#include "platform/drawing/FontSubstitutes.h"
#include "ui/widgets/Cp932Conversion.h"
#include "ui/widgets/EtchedGroupBox.h"
#include "ui/widgets/WindowPlacement.h"

namespace soten::ui {

namespace {

using platform::CellFont;
using platform::Smoothing;

QFont WidgetFont(const char* face, int height) {
    return CellFont(face, height, false, Smoothing::On);
}

QComboBox* NameBox(QWidget* parent, const char* name, QRect geometry) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setEditable(true);
    // The history is kept by RememberBoxText, not by the box on Enter.
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

NameEntryDialog::NameEntryDialog(QWidget* parent, StrokeStyle strokeStyle)
    : QDialog(parent), strokeStyle_(strokeStyle) {
    setObjectName(QStringLiteral("NameEntryDialog"));
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

    styleGroup = new EtchedGroupBox(QStringLiteral("画数"), this);
    styleGroup->setObjectName(QStringLiteral("styleGroup"));
    styleGroup->setGeometry(15, 14, 165, 41);
    styleGroup->setFont(WidgetFont(platform::ProportionalGothicFace, 15));
    styleButtonGroup_ = new QButtonGroup(this);
    const QString itemNames[2] = {QStringLiteral("新字式"), QStringLiteral("本字式")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(itemNames[i], styleGroup);
        item->setObjectName(QStringLiteral("styleButton%1").arg(i));
        item->setGeometry(8 + i * 78, 17, 74, 20);
        styleButtonGroup_->addButton(item, i);
        styleButtons[i] = item;
    }
    styleButtons[static_cast<int>(strokeStyle_)]->setChecked(true);

    surnameLabel = NameLabel(this, "surnameLabel", QStringLiteral("名字："), QRect(15, 78, 38, 15));
    surnameBox = NameBox(this, "surnameBox", QRect(53, 75, 127, 23));
    givenNameLabel =
        NameLabel(this, "givenNameLabel", QStringLiteral("名前："), QRect(15, 116, 38, 15));
    givenNameBox = NameBox(this, "givenNameBox", QRect(53, 113, 127, 23));
    okButton = DialogButton(this, "okButton", QStringLiteral("OK"), QRect(15, 153, 75, 23));
    cancelButton =
        DialogButton(this, "cancelButton", QStringLiteral("キャンセル"), QRect(105, 153, 75, 23));
    okButton->setEnabled(false);
    // The boxes are announced by their labels, not by what they hold.
    surnameLabel->setBuddy(surnameBox);
    givenNameLabel->setBuddy(givenNameBox);
    surnameBox->setAccessibleName(QStringLiteral("名字"));
    givenNameBox->setAccessibleName(QStringLiteral("名前"));
    for (QComboBox* box : {surnameBox, givenNameBox}) {
        box->lineEdit()->setAccessibleName(box->accessibleName());
    }

    setTabOrder(surnameBox, givenNameBox);
    setTabOrder(givenNameBox, okButton);
    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, styleButtons[0]);
    setTabOrder(styleButtons[0], styleButtons[1]);

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(surnameBox, &QComboBox::editTextChanged, this, [this] { UpdateOkButton(); });
    connect(givenNameBox, &QComboBox::editTextChanged, this, [this] { UpdateOkButton(); });
    connect(styleButtonGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) TakeStyle(id);
    });

    // The dialog sees every key before the focused control does.
    for (QWidget* control :
         {static_cast<QWidget*>(surnameBox), static_cast<QWidget*>(surnameBox->lineEdit()),
          static_cast<QWidget*>(givenNameBox), static_cast<QWidget*>(givenNameBox->lineEdit()),
          static_cast<QWidget*>(okButton), static_cast<QWidget*>(cancelButton),
          static_cast<QWidget*>(styleButtons[0]), static_cast<QWidget*>(styleButtons[1]),
          static_cast<QWidget*>(this)}) {
        control->installEventFilter(this);
    }
}

std::optional<EnteredNames> NameEntryDialog::ShowEntryDialog() {
    CentreOverOwner();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return EnteredNames{NameToCp932(surnameBox->currentText()),
                        NameToCp932(givenNameBox->currentText())};
}

void NameEntryDialog::TakeNames(const QString& surname, const QString& given, StrokeStyle style) {
    styleButtons[static_cast<int>(style)]->setChecked(true);
    strokeStyle_ = style;
    surnameBox->setEditText(surname);
    RememberBoxText(surnameBox);
    givenNameBox->setEditText(given);
    RememberBoxText(givenNameBox);
}

void NameEntryDialog::CentreOverOwner() {
    const bool overOwner = parentWidget() && parentWidget()->isVisible();
    CentreWindow(*this,
                 overOwner ? parentWidget()->window()->frameGeometry() : AvailableScreenArea(this));
}

void NameEntryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FocusSurnameBox();
}

void NameEntryDialog::FocusSurnameBox() {
    surnameBox->setFocus(Qt::OtherFocusReason);
}

void NameEntryDialog::UpdateOkButton() {
    okButton->setEnabled(!surnameBox->currentText().isEmpty() &&
                         !givenNameBox->currentText().isEmpty());
}

void NameEntryDialog::RememberBoxText(QComboBox* box) {
    const QString text = box->currentText();
    // The list's own search, which ignores the case of letters.
    if (box->findText(text, Qt::MatchFixedString) >= 0) return;
    if (text.isEmpty()) return;
    box->insertItem(0, text);
}

void NameEntryDialog::TakeStyle(int index) {
    strokeStyle_ = static_cast<StrokeStyle>(index);
}

void NameEntryDialog::NoteKeyModifiers(const QKeyEvent& event) {
    lastKeyModifiers = KeyModifiers::Of(event.modifiers(), QGuiApplication::mouseButtons());
}

bool NameEntryDialog::HandleDialogKey(QObject* watched, const QKeyEvent& event) {
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (enter) {
        // A button takes a plain Enter itself and is pressed by it.
        if (qobject_cast<QPushButton*>(watched) && !lastKeyModifiers.HasShiftCtrlOrAlt()) {
            return false;
        }
        // Enter moves to the next control in tab order, Shift+Enter to the
        // previous one, wrapping round at either end.
        focusNextPrevChild(!lastKeyModifiers.IsExactlyShift());
        return true;
    }
    if (event.key() == Qt::Key_Escape && !lastKeyModifiers.HasShiftCtrlOrAlt()) {
        cancelButton->click();
        return true;
    }
    return false;
}

bool NameEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto& key = static_cast<const QKeyEvent&>(*event);
            NoteKeyModifiers(key);
            return HandleDialogKey(watched, key);
        }
        case QEvent::FocusOut: {
            // Opening a box's own list or switching to another window does not
            // leave the box.
            const auto reason = static_cast<const QFocusEvent&>(*event).reason();
            auto* box = qobject_cast<QComboBox*>(watched);
            if (box && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                RememberBoxText(box);
            }
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace soten::ui
