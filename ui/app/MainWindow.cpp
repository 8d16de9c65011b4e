#include "ui/app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "analysis/reading/DetailedReading.h"
#include "platform/drawing/CellFont.h"
#include "platform/drawing/FontSubstitutes.h"
#include "printing/pages/PrintPreview.h"
#include "printing/pages/PrintedReading.h"
#include "ui/app/AboutDialog.h"
#include "ui/app/AppIdentity.h"
#include "ui/app/Art.h"
#include "ui/app/DefaultErrorHandler.h"
#include "ui/app/HelpWindow.h"
#include "ui/app/MessageBoxes.h"
#include "ui/app/SplashScreen.h"
#include "ui/naming/NameSearchDialog.h"
#include "ui/reading/DetailWindow.h"
#include "ui/reading/NameEntryDialog.h"
#include "ui/reading/PaneColors.h"
#include "ui/reading/ReadingPane.h"
#include "ui/reading/RefusalDetail.h"
#include "ui/reading/ReportFile.h"
#include "ui/shortlist/ShortlistStore.h"
#include "ui/widgets/Cp932Conversion.h"
#include "ui/widgets/PaneFrame.h"
#include "ui/widgets/PaneImage.h"
#include "ui/widgets/WindowPlacement.h"

namespace soten::ui {

namespace {

using platform::CellFont;
using platform::Smoothing;

constexpr QSize ClientSize(655, 487);
constexpr int SplashMilliseconds = 3000;

QPushButton* GlyphButton(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                         const QIcon& glyph) {
    auto* button = new QPushButton(glyph, caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setIconSize(QSize(16, 16));
    button->setFont(CellFont(platform::ProportionalGothicFace, 15, false, Smoothing::On));
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

MainWindow::MainWindow(const Tables& tables) : QMainWindow(nullptr), tables_(tables) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(ApplicationIcon());
    // A fixed window: system menu and minimise, no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    BuildClientArea();
    BuildMenu();
    shortlist_ = new ShortlistStore(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    CentreOnScreen();

    panes_ = std::make_unique<MainWindowPanes>(
        tables_, MainWindowPanes::Surfaces{*namePane, *fortunePane, *readingPane, reportHolder});

    splashTimer = new QTimer(this);
    splashTimer->setObjectName(QStringLiteral("splashTimer"));
    splashTimer->setInterval(SplashMilliseconds);
    connect(splashTimer, &QTimer::timeout, this, &MainWindow::EndSplash);
    splashTimer->start();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildClientArea() {
    clientArea = new QWidget(this);
    clientArea->setObjectName(QStringLiteral("clientArea"));
    clientArea->setFixedSize(ClientSize);
    clientArea->setFont(CellFont(platform::ProportionalGothicFace, 12, false, Smoothing::On));
    QPalette palette = clientArea->palette();
    palette.setColor(QPalette::Window, colors::WindowBackground);
    clientArea->setPalette(palette);
    clientArea->setAutoFillBackground(true);
    setCentralWidget(clientArea);

    // Each pane lies 2 pixels inside its frame; later widgets lie on top.
    readingFrame = new PaneFrame(clientArea, QStringLiteral("readingFrame"), {199, 7, 449, 473},
                                 colors::ReadingFrame, colors::Blue);
    readingPane = new ReadingPane(clientArea, QStringLiteral("readingPane"), {201, 9, 445, 469});
    nameFrame = new PaneFrame(clientArea, QStringLiteral("nameFrame"), {7, 7, 185, 305},
                              colors::NameFrame, colors::Blue);
    namePane = new PaneImage(clientArea, QStringLiteral("namePane"), {9, 9, 181, 301});
    fortuneFrame = new PaneFrame(clientArea, QStringLiteral("fortuneFrame"), {7, 319, 185, 129},
                                 colors::FortuneFrame, colors::Blue);
    fortunePane = new PaneImage(clientArea, QStringLiteral("fortunePane"), {9, 321, 181, 125});
    // Names for assistive technology, which otherwise sees unnamed areas.
    namePane->setAccessibleName(QStringLiteral("姓名と画数"));
    fortunePane->setAccessibleName(QStringLiteral("五運"));
    readingPane->setAccessibleName(QStringLiteral("占文"));
    readingFrame->setAccessibleName(QStringLiteral("占文の枠"));
    nameFrame->setAccessibleName(QStringLiteral("姓名と画数の枠"));
    fortuneFrame->setAccessibleName(QStringLiteral("五運の枠"));

    newButton = GlyphButton(clientArea, "newButton", QStringLiteral("新規(&N)..."),
                            {7, 455, 89, 25}, NewGlyph());
    printButton = GlyphButton(clientArea, "printButton", QStringLiteral("印刷(&P)..."),
                              {103, 455, 89, 25}, PrintGlyph());
    printButton->setEnabled(false);
    setTabOrder(newButton, printButton);
    connect(newButton, &QPushButton::clicked, this, &MainWindow::StartNewReading);
    connect(printButton, &QPushButton::clicked, this, &MainWindow::PrintShownReading);
}

void MainWindow::BuildMenu() {
    QMenuBar* mainMenu = menuBar();
    mainMenu->setObjectName(QStringLiteral("mainMenu"));
    mainMenu->setFont(CellFont(platform::UiGothicFace, 12, false, Smoothing::On));

    fileMenu = mainMenu->addMenu(QStringLiteral("ファイル(&F)"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    newAction = MenuItem(fileMenu, "newAction", QStringLiteral("新規(&N)..."),
                         QKeySequence(Qt::CTRL | Qt::Key_N));
    namingAction = MenuItem(fileMenu, "namingAction", QStringLiteral("名付け候補(&K)..."),
                            QKeySequence(Qt::CTRL | Qt::Key_K));
    saveAsAction = MenuItem(fileMenu, "saveAsAction", QStringLiteral("名前をつけて保存(&A)..."));
    printSeparator = Separator(fileMenu, "printSeparator");
    printAction = MenuItem(fileMenu, "printAction", QStringLiteral("印刷(&P)..."),
                           QKeySequence(Qt::CTRL | Qt::Key_P));
    printPreviewAction =
        MenuItem(fileMenu, "printPreviewAction", QStringLiteral("印刷プレビュー(&V)"));
    detailAction = MenuItem(fileMenu, "detailAction", QStringLiteral("詳しい鑑定(&D)..."),
                            QKeySequence(Qt::CTRL | Qt::Key_I));
    shortlistAction = MenuItem(fileMenu, "shortlistAction", QStringLiteral("候補リストに追加(&L)"),
                               QKeySequence(Qt::CTRL | Qt::Key_D));
    exitSeparator = Separator(fileMenu, "exitSeparator");
    exitAction = MenuItem(fileMenu, "exitAction", QStringLiteral("終了(&X)"),
                          QKeySequence(Qt::ALT | Qt::Key_F4));

    editMenu = mainMenu->addMenu(QStringLiteral("編集(&E)"));
    editMenu->setObjectName(QStringLiteral("editMenu"));
    copyAction = MenuItem(editMenu, "copyAction", QStringLiteral("占文のコピー(&C)"),
                          QKeySequence(Qt::CTRL | Qt::Key_C));

    helpMenu = mainMenu->addMenu(QStringLiteral("ヘルプ(&H)"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    helpContentsAction = MenuItem(helpMenu, "helpContentsAction", QStringLiteral("目次(&H)"),
                                  QKeySequence(Qt::Key_F1));
    aboutSeparator = Separator(helpMenu, "aboutSeparator");
    // Ctrl+V is free: the program has no paste command.
    aboutAction = MenuItem(helpMenu, "aboutAction", QStringLiteral("バージョン情報(&A)"),
                           QKeySequence(Qt::CTRL | Qt::Key_V));

    for (QMenu* menu : {fileMenu, editMenu, helpMenu}) menu->setFont(mainMenu->font());
    for (QAction* resultCommand : {saveAsAction, printAction, printPreviewAction, detailAction,
                                   shortlistAction, copyAction}) {
        resultCommand->setEnabled(false);
    }

    connect(newAction, &QAction::triggered, this, &MainWindow::StartNewReading);
    connect(namingAction, &QAction::triggered, this, &MainWindow::OpenNamingDialog);
    connect(saveAsAction, &QAction::triggered, this, &MainWindow::SaveReportAs);
    connect(printAction, &QAction::triggered, this, &MainWindow::PrintShownReading);
    connect(printPreviewAction, &QAction::triggered, this, &MainWindow::PreviewPrintout);
    connect(detailAction, &QAction::triggered, this, &MainWindow::ShowDetail);
    connect(shortlistAction, &QAction::triggered, this, &MainWindow::AddShownToShortlist);
    connect(exitAction, &QAction::triggered, this, &MainWindow::ExitProgram);
    connect(copyAction, &QAction::triggered, this, &MainWindow::CopyReading);
    connect(helpContentsAction, &QAction::triggered, this, &MainWindow::ShowHelpContents);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::ShowAboutBox);
}

void MainWindow::CentreOnScreen() {
    // Placed before it is first shown: the frame is not known yet.
    CentreWindow(*this, AvailableScreenArea(), sizeHint());
}

void MainWindow::SetSplash(SplashScreen* splash) {
    splash_ = splash;
    if (splash) connect(splash, &SplashScreen::pictureClicked, this, &MainWindow::EndSplash);
}

void MainWindow::EndSplash() {
    splashTimer->stop();
    // Released: destroyed once the current event has been handled.
    if (splash_) splash_->deleteLater();
    splash_ = nullptr;
    show();
}

// ---- Commands --------------------------------------------------------------

void MainWindow::StartNewReading() {
    RunCommand([this] { ReadNames(std::nullopt); });
}
QRect MainWindow::ReadingPaneArea() const {
    return {readingPane->mapToGlobal(QPoint(0, 0)), readingPane->size()};
}

NameSearchDialog* MainWindow::ShowNamingDialog() {
    if (!namingDialog_) {
        namingDialog_ = new ui::NameSearchDialog(this, tables_, *shortlist_, printDialog);
        connect(namingDialog_, &ui::NameSearchDialog::NameChosen, this,
                &MainWindow::ReadChosenName);
        // Where it was last time; else beside this window, narrowed if need
        // be, so the reading a pick makes stays in sight.
        if (!namingDialog_->RestoreGeometry()) {
            const QRect area = AvailableScreenArea(this);
            const QSize wanted = namingDialog_->size().expandedTo(namingDialog_->minimumSizeHint());
            const QRect place = PlaceBeside(frameGeometry(), ReadingPaneArea(), wanted,
                                            namingDialog_->minimumSizeHint(), area);
            namingDialog_->resize(place.size());
            namingDialog_->move(place.topLeft());
        }
    }
    namingDialog_->show();
    namingDialog_->raise();
    namingDialog_->activateWindow();
    return namingDialog_;
}

NameSearchDialog* MainWindow::ShowPrefilledNamingDialog() {
    // The surname of the reading on show, else the one last typed.
    QString surname;
    StrokeStyle style = ChosenStyle();
    if (shown_) {
        surname = FromCp932(shown_->Surname());
        style = shown_->Style();
    } else if (entryDialog_) {
        surname = entryDialog_->surnameBox->currentText();
    }
    ui::NameSearchDialog* dialog = ShowNamingDialog();
    dialog->Prefill(surname, style);
    return dialog;
}

void MainWindow::OpenNamingDialog() {
    RunCommand([this] { ShowPrefilledNamingDialog(); });
}

void MainWindow::AddShownToShortlist() {
    RunCommand([this] {
        if (!shown_) return;
        shortlist_->Add(
            {shown_->Surname(), shown_->Given(), shown_->GivenYomi(), shown_->Style(), {}});
        ShowPrefilledNamingDialog()->ShowShortlist();
    });
}

void MainWindow::ReadChosenName(const QString& surname, const QString& given,
                                const QString& reading, StrokeStyle style) {
    RunCommand([&] {
        if (entryDialog_) entryDialog_->TakeNames(surname, given, style);
        pickedStyle_ = style;
        ReadNames(EnteredNames{NameToCp932(surname), NameToCp932(given),
                               Cp932::FromUtf8(reading.toStdString()).value_or(std::string())});
        // The screen had no room beside: the reading comes up over the list.
        if (namingDialog_ && namingDialog_->isVisible() &&
            namingDialog_->frameGeometry().intersects(ReadingPaneArea())) {
            raise();
        }
    });
}
void MainWindow::ShowDetail() {
    RunCommand([this] {
        if (!shown_) return;
        if (!detailWindow_) detailWindow_ = new DetailWindow(this, tables_, printDialog);
        detailWindow_->ShowReading(*shown_);
        detailWindow_->show();
        detailWindow_->raise();
        detailWindow_->activateWindow();
    });
}
void MainWindow::PrintShownReading() {
    RunCommand([this] {
        if (shown_) printing::PrintReading(printDialog, *shown_, tables_);
    });
}

void MainWindow::PreviewPrintout() {
    RunCommand([this] {
        if (shown_ && printing::PreviewReading(*shown_, tables_, this)) PrintShownReading();
    });
}

QFileDialog* MainWindow::SaveDialog() {
    if (!saveDialog_) {
        // Qt's own dialog, the same on every desktop.
        saveDialog_ = new QFileDialog(this, QStringLiteral("名前を付けて保存"));
        saveDialog_->setObjectName(QStringLiteral("saveDialog"));
        // Replacing a file asks first (Qt's own question).
        saveDialog_->setOptions(QFileDialog::DontUseNativeDialog);
        saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
        saveDialog_->setFileMode(QFileDialog::AnyFile);
        saveDialog_->setNameFilter(QStringLiteral("テキストファイル(*.txt)"));
        saveDialog_->setDefaultSuffix(QString());
    }
    return saveDialog_;
}

void MainWindow::SaveReportAs() {
    RunCommand([this] {
        // The names of the reading on show, not those of a refused attempt
        // that was then cancelled.
        if (!shown_) return;
        QFileDialog* dialog = SaveDialog();
        if (!saveFolder_.isEmpty()) dialog->setDirectory(saveFolder_);
        dialog->selectFile(FromCp932(shown_->Surname()) + FromCp932(shown_->Given()) +
                           QStringLiteral(".txt"));
        if (dialog->exec() != QDialog::Accepted) return;
        const QStringList files = dialog->selectedFiles();
        if (files.isEmpty()) return;
        saveFolder_ = QFileInfo(files.first()).absolutePath();
        WriteReportFile(files.first(), reportHolder.Text());
    });
}

void MainWindow::ExitProgram() {
    close();
}

void MainWindow::CopyReading() {
    RunCommand([this] { QGuiApplication::clipboard()->setText(reportHolder.UnicodeText()); });
}

void MainWindow::ShowHelpContents() {
    RunCommand([this] {
        const QString helpFile = HelpFileName();
        if (!helpWindow_) helpWindow_ = new HelpWindow(this);
        helpWindow_->ShowHelp(helpFile);
    });
}

void MainWindow::ShowAboutBox() {
    RunCommand([this] {
        if (aboutBox_) aboutBox_->exec();
    });
}

// ---- Reading names ----------------------------------------------------------

StrokeStyle MainWindow::ChosenStyle() const {
    return entryDialog_ ? entryDialog_->Style() : pickedStyle_;
}

void MainWindow::ReadNames(std::optional<EnteredNames> picked) {
    std::optional<EnteredNames> names = std::move(picked);
    for (;;) {
        if (!names) {
            if (!entryDialog_) return;
            // A name typed in the dialog has no known pronunciation.
            names = entryDialog_->ShowEntryDialog();
            if (!names) return;
        }
        auto outcome = MakeReading(*names, ChosenStyle(), tables_);
        if (auto* reading = std::get_if<Reading>(&outcome)) {
            ShowReading(std::move(*reading));
            return;
        }
        ShowRefusal(std::get<Refusal>(outcome));
        names.reset();
    }
}

// The program's message stays the box's text; a second line names the
// characters the dictionary cannot count, those code page 932 lacks as the
// entry dialog holds them (a picked name is put there too).
void MainWindow::ShowRefusal(const Refusal& refusal) {
    const QString typed = entryDialog_ ? entryDialog_->surnameBox->currentText() +
                                             entryDialog_->givenNameBox->currentText()
                                       : QString();
    ui::ShowErrorBox(FromCp932(refusal.Message()), RefusalDetail(refusal.characters, typed));
}

void MainWindow::ShowReading(Reading reading) {
    EnableResultCommands();
    shown_ = std::move(reading);
    panes_->Show(*shown_);
    ShowReadingInCaption();
    if (detailWindow_) detailWindow_->ShowReading(*shown_);
}

void MainWindow::EnableResultCommands() {
    printButton->setEnabled(true);
    saveAsAction->setEnabled(true);
    printAction->setEnabled(true);
    printPreviewAction->setEnabled(true);
    detailAction->setEnabled(true);
    shortlistAction->setEnabled(true);
    copyAction->setEnabled(true);
}

void MainWindow::ShowReadingInCaption() {
    if (!shown_) {
        setWindowTitle(ApplicationTitle());
        return;
    }
    setWindowTitle(
        ApplicationTitle() + QStringLiteral(" — ") +
        FromCp932(NameWithStyle(shown_->Counted(), shown_->Style(), shown_->GivenYomi())));
    const QString description =
        QStringLiteral("画数は%1").arg(FromCp932(StrokeStyleName(shown_->Style())));
    for (QWidget* pane : {static_cast<QWidget*>(namePane), static_cast<QWidget*>(fortunePane),
                          static_cast<QWidget*>(readingPane)}) {
        pane->setAccessibleDescription(description);
    }
}

}  // namespace soten::ui
