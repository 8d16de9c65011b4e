#include "ui/naming/SearchFilterForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include "analysis/text/Cp932.h"
#include "ui/widgets/Cp932Conversion.h"

namespace soten::ui {
namespace {

constexpr std::array<FortuneKind, 4> GradedKinds = {Person, Earth, Outer, Total};

// The choices of 運勢の条件 as the grade boxes' indices (人運, 地運, 外運,
// 総運): 吉 is ○ or better. The last choice, 詳しい条件のとおり, stands for
// any other setting of the boxes and sets nothing.
constexpr int GradeGood = 2;  // ○以上
constexpr std::array<std::array<int, 4>, 3> FortuneChoiceGrades = {{
    {GradeGood, GradeGood, GradeGood, GradeGood},  // すべて吉以上
    {GradeGood, 0, 0, GradeGood},                  // 総運と人運が吉以上
    {0, 0, 0, 0},                                  // 指定なし
}};
constexpr int NoFortuneChoice = 2;
constexpr int CustomFortuneChoice = 3;

// The settings key of a control's value.
QString StateKey(const QObject* control) {
    return QStringLiteral("filters/") + control->objectName();
}

// The form's own controls, not the line edits inside spin and combo boxes.
bool IsFormControl(const QObject* control) {
    const QString name = control->objectName();
    return !name.isEmpty() && !name.startsWith(QStringLiteral("qt_"));
}

// A yomi box's text for the search; text that is not kana reaches the
// search as such and is refused there with the reason.
std::string YomiText(const QLineEdit* edit) {
    return Cp932::FromUtf8(edit->text().toStdString()).value_or("\x1A");
}

QComboBox* Choices(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

QLineEdit* TextBox(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    return edit;
}

// A label that names its control for the keyboard (its mnemonic) and for
// screen readers.
void AddRow(QGridLayout* grid, int row, int column, const QString& caption, QWidget* control) {
    auto* label = new QLabel(caption);
    label->setBuddy(control);
    control->setAccessibleName(
        QString(caption).remove(QRegularExpression(QStringLiteral("\\(&.\\)|：|&"))));
    grid->addWidget(label, row, column);
    grid->addWidget(control, row, column + 1);
}

}  // namespace

QString WhyNotInSpace(SpaceBoundFilter filter, SearchSpace space) {
    if (space != SearchSpace::All) return {};
    switch (filter) {
        case SpaceBoundFilter::IncludeUnspecified:
            return QStringLiteral("漢字の組み合わせには名前辞書の性別がないため、指定できません");
        case SpaceBoundFilter::IncludeUnregistrable:
            return QStringLiteral("漢字の組み合わせは戸籍に使える字だけで作るため、指定できません");
    }
    return {};
}

SearchFilterForm::SearchFilterForm(QWidget* parent) : QGroupBox(QStringLiteral("条件"), parent) {
    setObjectName(QStringLiteral("filterGroup"));
    auto* grid = new QGridLayout(this);

    surnameEdit_ = TextBox(this, "surnameEdit", 20);
    styleBox_ = Choices(this, "styleBox", {QStringLiteral("新字式"), QStringLiteral("本字式")});
    spaceBox_ =
        Choices(this, "spaceBox",
                {QStringLiteral("実在の名前"), QStringLiteral("漢字の組み合わせ（3文字まで）")});
    genderBox_ =
        Choices(this, "genderBox",
                {QStringLiteral("指定なし"), QStringLiteral("女性"), QStringLiteral("男性")});
    genderBox_->setToolTip(
        QStringLiteral("女性・男性のどちらにも男女両方の名前と、性別の書かれていない名前のうち"
                       "読みの傾向がその性別に出ている名前（推定）が入ります"));
    includeUnspecifiedBox_ = new QCheckBox(QStringLiteral("性別不明の名前も(&U)"), this);
    includeUnspecifiedBox_->setObjectName(QStringLiteral("includeUnspecifiedBox"));
    includeUnspecifiedBox_->setToolTip(QStringLiteral(
        "名前辞書に性別の書かれていない名前も入れます（別の性別の名前も多く含みます）"));
    charsBox_ = Choices(this, "charsBox",
                        {QStringLiteral("指定なし"), QStringLiteral("1文字"),
                         QStringLiteral("2文字"), QStringLiteral("3文字")});
    // Narrow boxes say only "かな"; all take hiragana or katakana.
    auto readingBox = [this](const char* name, const QString& hint) {
        QLineEdit* edit = TextBox(this, name, 20);
        edit->setPlaceholderText(hint);
        return edit;
    };
    readingEdit_ = readingBox("readingEdit", QStringLiteral("ひらがなかカタカナ"));
    readingEdit_->setToolTip(
        QStringLiteral("漢字の組み合わせの読みは、各字の名乗り・訓・音をつないだものです"
                       "（連濁や小さい「っ」への変化は作りません）"));
    readingPrefixEdit_ = readingBox("readingPrefixEdit", QStringLiteral("かな"));
    readingSuffixEdit_ = readingBox("readingSuffixEdit", QStringLiteral("かな"));
    readingContainsEdit_ = readingBox("readingContainsEdit", QStringLiteral("かな"));
    auto countBox = [this](const char* name, const QString& suffix) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, 20);
        box->setSpecialValueText(QStringLiteral("指定なし"));
        box->setSuffix(suffix);
        return box;
    };
    readingLengthBox_ = countBox("readingLengthBox", QStringLiteral(" 文字"));
    moraeBox_ = countBox("moraeBox", QStringLiteral(" 音"));
    moraeBox_->setToolTip(QStringLiteral("ゃゅょぁぃぅぇぉゎ は数えず、っ・ん・ー は数えます"));
    excludeEdit_ = TextBox(this, "excludeEdit", 10);
    excludeEdit_->setPlaceholderText(QStringLiteral("例：死"));
    containsEdit_ = TextBox(this, "containsEdit", 3);
    containsEdit_->setPlaceholderText(QStringLiteral("例：翔"));
    positionBox_ = Choices(this, "positionBox",
                           {QStringLiteral("どこでも"), QStringLiteral("1文字目から"),
                            QStringLiteral("2文字目から"), QStringLiteral("3文字目から")});
    const QStringList grades = {QStringLiteral("指定なし"), QStringLiteral("△以上"),
                                QStringLiteral("○以上"), QStringLiteral("◎のみ")};
    const std::array<const char*, 4> gradeNames = {"PersonGradeBox", "EarthGradeBox",
                                                   "OuterGradeBox", "TotalGradeBox"};
    for (std::size_t i = 0; i < gradeBoxes_.size(); ++i) {
        gradeBoxes_[i] = Choices(this, gradeNames[i], grades);
    }
    minScoreBox_ = new QSpinBox(this);
    minScoreBox_->setObjectName(QStringLiteral("minScoreBox"));
    minScoreBox_->setRange(0, 12);
    minScoreBox_->setSuffix(QStringLiteral(" 点以上"));
    includeUnregistrableBox_ = new QCheckBox(QStringLiteral("戸籍に使えない字の名前も(&J)"), this);
    includeUnregistrableBox_->setObjectName(QStringLiteral("includeUnregistrableBox"));
    includeUnregistrableBox_->setToolTip(QStringLiteral(
        "常用漢字・人名用漢字・ひらがな・カタカナ・ー・々ゝゞヽヾ 以外の字を含む名前も"
        "入れます（一覧に ※）"));
    sansaiBox_ =
        Choices(this, "sansaiBox",
                {QStringLiteral("指定なし"), QStringLiteral("吉以上"), QStringLiteral("大吉のみ")});
    inyoBox_ = new QCheckBox(QStringLiteral("陰陽配列が凶の名前を除く(&6)"), this);
    inyoBox_->setObjectName(QStringLiteral("inyoBox"));
    includeAvoidedBox_ = new QCheckBox(QStringLiteral("避けたい字を含む名前も表示(&V)"), this);
    includeAvoidedBox_->setObjectName(QStringLiteral("includeAvoidedBox"));
    includeAvoidedBox_->setToolTip(
        QStringLiteral("死・悪・憂・闇など，名付けで避けるよう勧められる字を含む名前も入れます"
                       "（名前の説明に字と理由を示します）"));
    anyReadingBox_ = new QCheckBox(QStringLiteral("実在の名前にない読みも(&H)"), this);
    anyReadingBox_->setObjectName(QStringLiteral("anyReadingBox"));
    anyReadingBox_->setToolTip(QStringLiteral(
        "漢字の組み合わせで、実在の名前では使われない読み（辞書にある名乗り・訓・音の"
        "すべて）の名前も入れます"));

    fortuneBox_ = Choices(this, "fortuneBox",
                          {QStringLiteral("すべて吉以上"), QStringLiteral("総運と人運が吉以上"),
                           QStringLiteral("指定なし"), QStringLiteral("詳しい条件のとおり")});
    fortuneBox_->setCurrentIndex(NoFortuneChoice);
    fortuneBox_->setToolTip(QStringLiteral(
        "吉は ○ か ◎ です。人運・地運・外運・総運を一つずつ決めるには「詳しい条件」で"));
    genderTip_ = genderBox_->toolTip();
    includeUnspecifiedTip_ = includeUnspecifiedBox_->toolTip();
    includeUnregistrableTip_ = includeUnregistrableBox_->toolTip();

    // What a parent starts from.
    AddRow(grid, 0, 0, QStringLiteral("名字(&S)："), surnameEdit_);
    AddRow(grid, 0, 2, QStringLiteral("性別(&G)："), genderBox_);
    grid->addWidget(includeUnspecifiedBox_, 0, 4, 1, 2);
    AddRow(grid, 1, 0, QStringLiteral("読み(&Y)："), readingEdit_);
    AddRow(grid, 1, 2, QStringLiteral("文字数(&L)："), charsBox_);
    AddRow(grid, 1, 4, QStringLiteral("運勢の条件(&W)："), fortuneBox_);

    advancedButton_ = new QToolButton(this);
    advancedButton_->setObjectName(QStringLiteral("advancedButton"));
    advancedButton_->setText(QStringLiteral("詳しい条件(&A)"));
    advancedButton_->setCheckable(true);
    advancedButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    advancedButton_->setArrowType(Qt::RightArrow);
    advancedButton_->setAutoRaise(true);
    grid->addWidget(advancedButton_, 2, 0, 1, 6, Qt::AlignLeft);

    advancedPanel_ = new QWidget(this);
    advancedPanel_->setObjectName(QStringLiteral("advancedPanel"));
    auto* advanced = new QGridLayout(advancedPanel_);
    advanced->setContentsMargins(0, 0, 0, 0);
    AddRow(advanced, 0, 0, QStringLiteral("画数(&T)："), styleBox_);
    AddRow(advanced, 0, 2, QStringLiteral("探す範囲(&R)："), spaceBox_);
    AddRow(advanced, 1, 0, QStringLiteral("読みの長さ(&E)："), readingLengthBox_);
    AddRow(advanced, 1, 2, QStringLiteral("音の数(&M)："), moraeBox_);
    AddRow(advanced, 2, 0, QStringLiteral("読みの始め(&F)："), readingPrefixEdit_);
    AddRow(advanced, 2, 2, QStringLiteral("読みの終わり(&D)："), readingSuffixEdit_);
    AddRow(advanced, 2, 4, QStringLiteral("読みに含む(&K)："), readingContainsEdit_);
    AddRow(advanced, 3, 0, QStringLiteral("含む文字(&C)："), containsEdit_);
    AddRow(advanced, 3, 2, QStringLiteral("文字の位置(&P)："), positionBox_);
    AddRow(advanced, 3, 4, QStringLiteral("除く文字(&X)："), excludeEdit_);
    AddRow(advanced, 4, 0, QStringLiteral("人運(&1)："), gradeBoxes_[0]);
    AddRow(advanced, 4, 2, QStringLiteral("地運(&2)："), gradeBoxes_[1]);
    AddRow(advanced, 4, 4, QStringLiteral("外運(&3)："), gradeBoxes_[2]);
    AddRow(advanced, 5, 0, QStringLiteral("総運(&4)："), gradeBoxes_[3]);
    AddRow(advanced, 5, 2, QStringLiteral("評点(&O)："), minScoreBox_);
    advanced->addWidget(includeUnregistrableBox_, 5, 4, 1, 2);
    AddRow(advanced, 6, 0, QStringLiteral("三才配置(&5)："), sansaiBox_);
    advanced->addWidget(inyoBox_, 6, 2, 1, 2);
    advanced->addWidget(includeAvoidedBox_, 6, 4, 1, 2);
    advanced->addWidget(anyReadingBox_, 7, 0, 1, 4);
    grid->addWidget(advancedPanel_, 3, 0, 1, 6);
    advancedPanel_->hide();
    connect(advancedButton_, &QToolButton::toggled, this, [this](bool open) {
        advancedButton_->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        advancedPanel_->setVisible(open);
    });

    // Before Changed, so the search sees which filters the space disables.
    connect(spaceBox_, &QComboBox::currentIndexChanged, this, &SearchFilterForm::ApplySpace);
    auto changed = [this] { emit Changed(); };
    for (QLineEdit* edit : {surnameEdit_, readingEdit_, readingPrefixEdit_, readingSuffixEdit_,
                            readingContainsEdit_, containsEdit_, excludeEdit_}) {
        connect(edit, &QLineEdit::textChanged, this, changed);
    }
    for (QComboBox* box :
         {styleBox_, spaceBox_, genderBox_, charsBox_, positionBox_, gradeBoxes_[0], gradeBoxes_[1],
          gradeBoxes_[2], gradeBoxes_[3], sansaiBox_}) {
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    }
    for (QSpinBox* box : {readingLengthBox_, moraeBox_, minScoreBox_}) {
        connect(box, &QSpinBox::valueChanged, this, changed);
    }
    for (QCheckBox* box : {includeUnspecifiedBox_, includeUnregistrableBox_, inyoBox_,
                           includeAvoidedBox_, anyReadingBox_}) {
        connect(box, &QCheckBox::toggled, this, changed);
    }
    // Names with no gender given matter only when a gender is asked for.
    connect(genderBox_, &QComboBox::currentIndexChanged, this, &SearchFilterForm::ApplySpace);
    ApplySpace();
    connect(fortuneBox_, &QComboBox::currentIndexChanged, this,
            &SearchFilterForm::ApplyFortuneChoice);
    for (QComboBox* grade : gradeBoxes_) {
        connect(grade, &QComboBox::currentIndexChanged, this, &SearchFilterForm::ShowFortuneChoice);
    }
}

void SearchFilterForm::ApplySpace() {
    const SearchSpace space =
        spaceBox_->currentIndex() == 1 ? SearchSpace::All : SearchSpace::Names;
    // Readings no real name uses matter only for composed names.
    anyReadingBox_->setEnabled(space == SearchSpace::All);
    genderBox_->setToolTip(
        space == SearchSpace::All
            ? QStringLiteral("漢字の組み合わせでは、読みの傾向が別の性別に出ている名前を除きます")
            : genderTip_);
    const QString unspecifiedReason = WhyNotInSpace(SpaceBoundFilter::IncludeUnspecified, space);
    includeUnspecifiedBox_->setEnabled(unspecifiedReason.isEmpty() &&
                                       genderBox_->currentIndex() != 0);
    includeUnspecifiedBox_->setToolTip(unspecifiedReason.isEmpty() ? includeUnspecifiedTip_
                                                                   : unspecifiedReason);
    const QString registryReason = WhyNotInSpace(SpaceBoundFilter::IncludeUnregistrable, space);
    includeUnregistrableBox_->setEnabled(registryReason.isEmpty());
    includeUnregistrableBox_->setToolTip(registryReason.isEmpty() ? includeUnregistrableTip_
                                                                  : registryReason);
}

void SearchFilterForm::ApplyFortuneChoice(int choice) {
    if (choice < 0 || choice >= static_cast<int>(FortuneChoiceGrades.size())) return;
    settingGrades_ = true;
    for (std::size_t i = 0; i < gradeBoxes_.size(); ++i) {
        gradeBoxes_[i]->setCurrentIndex(FortuneChoiceGrades[static_cast<std::size_t>(choice)][i]);
    }
    settingGrades_ = false;
    ShowFortuneChoice();
}

void SearchFilterForm::ShowFortuneChoice() {
    if (settingGrades_) return;
    int choice = CustomFortuneChoice;
    for (std::size_t c = 0; c < FortuneChoiceGrades.size(); ++c) {
        bool same = true;
        for (std::size_t i = 0; i < gradeBoxes_.size(); ++i) {
            same = same && gradeBoxes_[i]->currentIndex() == FortuneChoiceGrades[c][i];
        }
        if (same) choice = static_cast<int>(c);
    }
    // Shows the boxes' setting; it does not set them again.
    const QSignalBlocker quiet(fortuneBox_);
    fortuneBox_->setCurrentIndex(choice);
}

void SearchFilterForm::FocusSurname() {
    surnameEdit_->setFocus(Qt::OtherFocusReason);
    surnameEdit_->selectAll();
}

void SearchFilterForm::SaveState(QSettings& settings) const {
    for (const QLineEdit* edit : findChildren<QLineEdit*>()) {
        if (IsFormControl(edit)) settings.setValue(StateKey(edit), edit->text());
    }
    for (const QComboBox* box : findChildren<QComboBox*>()) {
        if (IsFormControl(box) && box != fortuneBox_) {
            settings.setValue(StateKey(box), box->currentIndex());
        }
    }
    for (const QSpinBox* box : findChildren<QSpinBox*>()) {
        if (IsFormControl(box)) settings.setValue(StateKey(box), box->value());
    }
    for (const QCheckBox* box : findChildren<QCheckBox*>()) {
        if (IsFormControl(box)) settings.setValue(StateKey(box), box->isChecked());
    }
    settings.setValue(QStringLiteral("advanced"), advancedButton_->isChecked());
}

void SearchFilterForm::RestoreState(const QSettings& settings) {
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        const QVariant value = settings.value(StateKey(edit));
        if (IsFormControl(edit) && value.isValid()) edit->setText(value.toString());
    }
    for (QComboBox* box : findChildren<QComboBox*>()) {
        const int index = settings.value(StateKey(box), -1).toInt();
        if (IsFormControl(box) && index >= 0 && index < box->count()) box->setCurrentIndex(index);
    }
    for (QSpinBox* box : findChildren<QSpinBox*>()) {
        const QVariant value = settings.value(StateKey(box));
        if (IsFormControl(box) && value.isValid()) box->setValue(value.toInt());
    }
    for (QCheckBox* box : findChildren<QCheckBox*>()) {
        const QVariant value = settings.value(StateKey(box));
        if (IsFormControl(box) && value.isValid()) box->setChecked(value.toBool());
    }
    advancedButton_->setChecked(settings.value(QStringLiteral("advanced"), false).toBool());
}

void SearchFilterForm::Prefill(const QString& surname, StrokeStyle style) {
    // With no name to start from, the surname kept from the last time stays.
    if (!surname.isEmpty()) surnameEdit_->setText(surname);
    styleBox_->setCurrentIndex(static_cast<int>(style));
}

NameSearchFilters SearchFilterForm::Filters() const {
    NameSearchFilters filters;
    filters.surname = NameToCp932(surnameEdit_->text());
    if (surnameEdit_->text().isEmpty()) filters.surname.clear();
    filters.style = static_cast<StrokeStyle>(styleBox_->currentIndex());
    filters.space = spaceBox_->currentIndex() == 1 ? SearchSpace::All : SearchSpace::Names;
    // A disabled filter is kept for when it applies again, but not used.
    filters.gender = static_cast<GenderFilter>(genderBox_->currentIndex());
    filters.includeUnspecified =
        includeUnspecifiedBox_->isEnabled() && includeUnspecifiedBox_->isChecked();
    filters.includeUnregistrable = includeUnregistrableBox_->isChecked();
    filters.includeAvoided = includeAvoidedBox_->isChecked();
    filters.commonOnly = !anyReadingBox_->isChecked();
    filters.chars = charsBox_->currentIndex();
    filters.yomi.exact = YomiText(readingEdit_);
    filters.yomi.prefix = YomiText(readingPrefixEdit_);
    filters.yomi.suffix = YomiText(readingSuffixEdit_);
    filters.yomi.contains = YomiText(readingContainsEdit_);
    filters.yomi.length = readingLengthBox_->value();
    filters.yomi.morae = moraeBox_->value();
    for (const QChar& ch : excludeEdit_->text()) {
        if (!ch.isSpace()) filters.excluded.push_back(NameToCp932(QString(ch)));
    }
    const QString contains = containsEdit_->text();
    int position = positionBox_->currentIndex();
    for (const QChar& ch : contains) {
        filters.required.push_back({NameToCp932(QString(ch)), position});
        if (position > 0) ++position;
    }
    for (std::size_t i = 0; i < GradedKinds.size(); ++i) {
        filters.worstGrade[GradedKinds[i]] = 4 - gradeBoxes_[i]->currentIndex();
    }
    filters.minScore = minScoreBox_->value();
    static constexpr std::array<SansaiVerdict, 3> sansaiChoices = {
        SansaiVerdict::VeryBad, SansaiVerdict::Good, SansaiVerdict::VeryGood};
    filters.worstSansai = sansaiChoices.at(static_cast<std::size_t>(sansaiBox_->currentIndex()));
    filters.inyoOk = inyoBox_->isChecked();
    return filters;
}

}  // namespace soten::ui
