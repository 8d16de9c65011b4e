#include "Unit1.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "About.h"
#include "AppIdentity.h"
#include "Art.h"
#include "Cp932Conversion.h"
#include "DefaultErrorHandler.h"
#include "FontSubstitutes.h"
#include "GdiFont.h"
#include "HelpWindow.h"
#include "MessageBoxes.h"
#include "NamingDialog.h"
#include "PaneColors.h"
#include "PaneImage.h"
#include "PrintPreview.h"
#include "PrintedReading.h"
#include "ReadingPane.h"
#include "ReportFile.h"
#include "TShape.h"
#include "Unit2.h"
#include "Unit3.h"
#include "WindowPlacement.h"

namespace soten::ui {

namespace {

using platform::GdiFont;
using platform::Smoothing;

constexpr QSize ClientSize(655, 487);
constexpr int SplashMilliseconds = 3000;

QPushButton* BitBtn(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                    const QIcon& glyph) {
    auto* button = new QPushButton(glyph, caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setIconSize(QSize(16, 16));
    button->setFont(GdiFont(platform::ProportionalGothicFace, 15, false, Smoothing::On));
    return button;
}

QAction* MenuItem(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

QAction* Separator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

}  // namespace

TForm1::TForm1(ProgramState& state, const Tables& tables)
    : QMainWindow(nullptr), state_(state), tables_(tables) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(ApplicationIcon());
    // A fixed window: system menu and minimise, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    BuildClientArea();
    BuildMenu();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    CentreOnScreen();

    panes_ = std::make_unique<MainWindowPanes>(
        state_, tables_, MainWindowPanes::Surfaces{*Image1, *Image2, *Image3, Memo1});

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(SplashMilliseconds);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start();
}

TForm1::~TForm1() = default;

void TForm1::BuildClientArea() {
    ClientArea = new QWidget(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setFixedSize(ClientSize);
    ClientArea->setFont(GdiFont(platform::ProportionalGothicFace, 12, false, Smoothing::On));
    QPalette palette = ClientArea->palette();
    palette.setColor(QPalette::Window, colors::WindowBackground);
    ClientArea->setPalette(palette);
    ClientArea->setAutoFillBackground(true);
    setCentralWidget(ClientArea);

    // Each pane lies 2 pixels inside its frame; later widgets lie on top.
    Shape1 = new TShape(ClientArea, QStringLiteral("Shape1"), {199, 7, 449, 473},
                        colors::ReadingFrame, colors::Blue);
    Image3 = new ReadingPane(ClientArea, QStringLiteral("Image3"), {201, 9, 445, 469});
    Shape2 = new TShape(ClientArea, QStringLiteral("Shape2"), {7, 7, 185, 305}, colors::NameFrame,
                        colors::Blue);
    Image1 = new PaneImage(ClientArea, QStringLiteral("Image1"), {9, 9, 181, 301});
    Shape3 = new TShape(ClientArea, QStringLiteral("Shape3"), {7, 319, 185, 129},
                        colors::FortuneFrame, colors::Blue);
    Image2 = new PaneImage(ClientArea, QStringLiteral("Image2"), {9, 321, 181, 125});
    // Names for assistive technology, which otherwise sees unnamed areas.
    Image1->setAccessibleName(QStringLiteral("姓名と画数"));
    Image2->setAccessibleName(QStringLiteral("五運"));
    Image3->setAccessibleName(QStringLiteral("占文"));
    Shape1->setAccessibleName(QStringLiteral("占文の枠"));
    Shape2->setAccessibleName(QStringLiteral("姓名と画数の枠"));
    Shape3->setAccessibleName(QStringLiteral("五運の枠"));

    BitBtn1 =
        BitBtn(ClientArea, "BitBtn1", QStringLiteral("新規(&N)..."), {7, 455, 89, 25}, NewGlyph());
    BitBtn2 = BitBtn(ClientArea, "BitBtn2", QStringLiteral("印刷(&P)..."), {103, 455, 89, 25},
                     PrintGlyph());
    BitBtn2->setEnabled(false);
    setTabOrder(BitBtn1, BitBtn2);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
}

void TForm1::BuildMenu() {
    QMenuBar* mainMenu = menuBar();
    mainMenu->setObjectName(QStringLiteral("MainMenu1"));
    mainMenu->setFont(GdiFont(platform::UiGothicFace, 12, false, Smoothing::On));

    File1 = mainMenu->addMenu(QStringLiteral("ファイル(&F)"));
    File1->setObjectName(QStringLiteral("File1"));
    New1 =
        MenuItem(File1, "New1", QStringLiteral("新規(&N)..."), QKeySequence(Qt::CTRL | Qt::Key_N));
    Naming1 = MenuItem(File1, "Naming1", QStringLiteral("名付け候補(&K)..."),
                       QKeySequence(Qt::CTRL | Qt::Key_K));
    SaveAs1 = MenuItem(File1, "SaveAs1", QStringLiteral("名前をつけて保存(&A)..."));
    N2 = Separator(File1, "N2");
    Print1 = MenuItem(File1, "Print1", QStringLiteral("印刷(&P)..."),
                      QKeySequence(Qt::CTRL | Qt::Key_P));
    PrintPreview1 = MenuItem(File1, "PrintPreview1", QStringLiteral("印刷プレビュー(&V)"));
    N3 = Separator(File1, "N3");
    Exit1 =
        MenuItem(File1, "Exit1", QStringLiteral("終了(&X)"), QKeySequence(Qt::ALT | Qt::Key_F4));

    Edit1 = mainMenu->addMenu(QStringLiteral("編集(&E)"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Copy1 = MenuItem(Edit1, "Copy1", QStringLiteral("占文のコピー(&C)"),
                     QKeySequence(Qt::CTRL | Qt::Key_C));

    Help1 = mainMenu->addMenu(QStringLiteral("ヘルプ(&H)"));
    Help1->setObjectName(QStringLiteral("Help1"));
    SearchforHelpOn1 =
        MenuItem(Help1, "SearchforHelpOn1", QStringLiteral("目次(&H)"), QKeySequence(Qt::Key_F1));
    N5 = Separator(Help1, "N5");
    // Ctrl+V is free: the program has no paste command.
    About1 = MenuItem(Help1, "About1", QStringLiteral("バージョン情報(&A)"),
                      QKeySequence(Qt::CTRL | Qt::Key_V));

    for (QMenu* menu : {File1, Edit1, Help1}) menu->setFont(mainMenu->font());
    for (QAction* resultCommand : {SaveAs1, Print1, PrintPreview1, Copy1}) {
        resultCommand->setEnabled(false);
    }

    connect(New1, &QAction::triggered, this, &TForm1::New1Click);
    connect(Naming1, &QAction::triggered, this, &TForm1::Naming1Click);
    connect(SaveAs1, &QAction::triggered, this, &TForm1::SaveAs1Click);
    connect(Print1, &QAction::triggered, this, &TForm1::Print1Click);
    connect(PrintPreview1, &QAction::triggered, this, &TForm1::PrintPreview1Click);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(Copy1, &QAction::triggered, this, &TForm1::Copy1Click);
    connect(SearchforHelpOn1, &QAction::triggered, this, &TForm1::SearchforHelpOn1Click);
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
}

void TForm1::CentreOnScreen() {
    // Placed before it is first shown: the frame is not known yet.
    CentreWindow(*this, AvailableScreenArea(), sizeHint());
}

void TForm1::SetSplash(TForm3* splash) {
    splash_ = splash;
    if (splash) connect(splash, &TForm3::Image1Click, this, &TForm1::Timer1Timer);
}

void TForm1::Timer1Timer() {
    Timer1->stop();
    // Released: destroyed once the current event has been handled.
    if (splash_) splash_->deleteLater();
    splash_ = nullptr;
    show();
}

// ---- Commands --------------------------------------------------------------

void TForm1::BitBtn1Click() {
    NewReadingCommand();
}
void TForm1::New1Click() {
    NewReadingCommand();
}
void TForm1::Naming1Click() {
    RunCommand([this] {
        if (!namingDialog_) {
            namingDialog_ = new NamingDialog(this, tables_);
            connect(namingDialog_, &NamingDialog::NameChosen, this, &TForm1::ReadChosenName);
        }
        // The surname of the reading on show, else the one last typed.
        QString surname;
        StrokeStyle style = state_.strokeStyle;
        if (state_.shown.valid) {
            surname = FromCp932(state_.shown.record.Names[Surname]);
            style = state_.shown.style;
        } else if (form2_) {
            surname = form2_->ComboBox1->currentText();
        }
        namingDialog_->Prefill(surname, style);
        namingDialog_->show();
        namingDialog_->raise();
        namingDialog_->activateWindow();
    });
}
void TForm1::ReadChosenName(const QString& surname, const QString& given, StrokeStyle style) {
    RunCommand([&] {
        if (form2_) {
            form2_->TakeNames(surname, given, style);
        } else {
            state_.strokeStyle = style;
        }
        chosenNames_ = EnteredNames{NameToCp932(surname), NameToCp932(given)};
        NewReading(*this, state_, tables_);
        chosenNames_.reset();
    });
}
void TForm1::BitBtn2Click() {
    PrintCommand();
}
void TForm1::Print1Click() {
    PrintCommand();
}

void TForm1::PrintPreview1Click() {
    RunCommand([this] {
        if (printing::PreviewReading(state_.shown, tables_, this)) PrintCommand();
    });
}

void TForm1::NewReadingCommand() {
    RunCommand([this] { NewReading(*this, state_, tables_); });
}

void TForm1::PrintCommand() {
    RunCommand([this] { printing::PrintReading(RbPrintDialog1, state_.shown, tables_); });
}

QFileDialog* TForm1::SaveDialog1() {
    if (!saveDialog_) {
        // Qt's own dialog, the same on every desktop.
        saveDialog_ = new QFileDialog(this, QStringLiteral("名前を付けて保存"));
        saveDialog_->setObjectName(QStringLiteral("SaveDialog1"));
        // Replacing a file asks first (Qt's own question).
        saveDialog_->setOptions(QFileDialog::DontUseNativeDialog);
        saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
        saveDialog_->setFileMode(QFileDialog::AnyFile);
        saveDialog_->setNameFilter(QStringLiteral("テキストファイル(*.txt)"));
        saveDialog_->setDefaultSuffix(QString());
    }
    return saveDialog_;
}

void TForm1::SaveAs1Click() {
    RunCommand([this] {
        // The names of the reading on show, not those of a refused attempt
        // that was then cancelled.
        const NameRecord& shown = state_.shown.record;
        QFileDialog* dialog = SaveDialog1();
        dialog->selectFile(FromCp932(shown.Names[Surname]) + FromCp932(shown.Names[GivenName]) +
                           QStringLiteral(".txt"));
        if (dialog->exec() != QDialog::Accepted) return;
        const QStringList files = dialog->selectedFiles();
        if (files.isEmpty()) return;
        WriteReportFile(files.first(), Memo1.Text());
    });
}

void TForm1::Exit1Click() {
    close();
}

void TForm1::Copy1Click() {
    RunCommand([this] { QGuiApplication::clipboard()->setText(Memo1.UnicodeText()); });
}

void TForm1::SearchforHelpOn1Click() {
    RunCommand([this] {
        const QString helpFile = HelpFileName();
        qApp->setProperty("HelpFile", helpFile);
        if (!helpWindow_) helpWindow_ = new HelpWindow(this);
        helpWindow_->ShowHelp(helpFile);
    });
}

void TForm1::About1Click() {
    RunCommand([this] {
        if (aboutBox_) aboutBox_->exec();
    });
}

// ---- NewReadingHost --------------------------------------------------------

std::optional<EnteredNames> TForm1::ShowEntryDialog() {
    if (chosenNames_) {
        // A name picked from the candidates: answered once, without the dialog.
        std::optional<EnteredNames> names = std::move(chosenNames_);
        chosenNames_.reset();
        return names;
    }
    if (!form2_) return std::nullopt;
    return form2_->ShowEntryDialog();
}

void TForm1::ShowErrorBox(const std::string& message) {
    ui::ShowErrorBox(FromCp932(message));
}

void TForm1::EnableResultCommands() {
    BitBtn2->setEnabled(true);
    SaveAs1->setEnabled(true);
    Print1->setEnabled(true);
    PrintPreview1->setEnabled(true);
    Copy1->setEnabled(true);
}

void TForm1::RunMainRoutine() {
    soten::RunMainRoutine(state_, tables_, *panes_);
}

}  // namespace soten::ui
