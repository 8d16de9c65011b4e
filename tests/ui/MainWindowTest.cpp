// The main window: its fixed layout, the menu and its enabling rules, and
// every command driven through the real dialogs and message boxes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QTranslator>
#include <algorithm>

#include "SotenIdentity.h"
#include "analysis/text/Cp932.h"
#include "analysis/text/ShiftJis.h"
#include "printing/device/PrinterSession.h"
#include "printing/pages/PrintedReading.h"
#include "tests/support/printing/ScopedPrinterBackend.h"
#include "tests/ui/EntrySteps.h"
#include "tests/ui/ModalDriver.h"
#include "ui/app/AboutDialog.h"
#include "ui/app/DefaultErrorHandler.h"
#include "ui/app/HelpWindow.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SplashScreen.h"
#include "ui/app/Startup.h"
#include "ui/reading/DetailWindow.h"
#include "ui/reading/NameEntryDialog.h"
#include "ui/widgets/PaneFrame.h"
#include "ui/widgets/PaneImage.h"

namespace {

using soten::test::EnterNames;
using soten::test::ModalDriver;
using soten::ui::AboutDialog;
using soten::ui::MainWindow;
using soten::ui::NameEntryDialog;
using soten::ui::SplashScreen;

ModalDriver::Step CancelDialog() {
    return [](QWidget* modal) {
        auto* dialog = qobject_cast<NameEntryDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->cancelButton->click();
    };
}

// Checks an error box of the new-reading flow (and its second line, when
// given) and closes it.
ModalDriver::Step ExpectErrorBox(const QString& text, const QString& detail = {}) {
    return [=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("エラー"));
        EXPECT_EQ(box->text(), text);
        if (!detail.isNull()) {
            EXPECT_EQ(box->informativeText(), detail);
        }
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        EXPECT_EQ(box->buttons().size(), 1);
        box->button(QMessageBox::Ok)->click();
    };
}

// Checks the application's error box, keeps its text and closes it.
ModalDriver::Step ExpectApplicationError(QString* text) {
    return [=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("蒼天姓名判断"));
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        *text = box->text();
        box->button(QMessageBox::Ok)->click();
    };
}

ModalDriver::Step SaveAs(const QString& path, QString* proposedName = nullptr) {
    return [=](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        if (proposedName) *proposedName = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        // Typed into the name field, as a user does (selectFile leaves a
        // field that has the focus alone).
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(path);
        // As the Save button does, from the event loop: a question it asks is
        // then the driver's next modal.
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
    };
}

QByteArray Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        mainWindow.splashTimer->stop();
        mainWindow.SetEntryDialog(&entryDialog);
        mainWindow.SetAboutBox(&about);
    }

    void ShowAndActivate() {
        mainWindow.show();
        QApplication::setActiveWindow(&mainWindow);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    }

    // New, driven through the entry dialog.
    void NewReading(ModalDriver& driver) {
        mainWindow.newAction->trigger();
        EXPECT_TRUE(driver.Done());
    }

    void ReadYamadaTaro() {
        ModalDriver driver;
        driver.Then(EnterNames(QStringLiteral("山田"), QStringLiteral("太郎")));
        NewReading(driver);
        ASSERT_NE(mainWindow.ShownReading(), nullptr);
    }
    MainWindow mainWindow{soten::BuiltInTables()};
    NameEntryDialog entryDialog{&mainWindow};
    AboutDialog about{&mainWindow};
};

// A point of each control that nothing else covers: the middle of a pane or a
// button, and the rim a frame shows around its pane.
struct Spot {
    const char* name;
    QPoint point;
};

TEST_F(MainWindowTest, EachControlAnswersAtItsPlace) {
    ShowAndActivate();
    EXPECT_EQ(mainWindow.windowTitle(), QStringLiteral("蒼天姓名判断"));
    EXPECT_EQ(mainWindow.clientArea->size(), QSize(655, 487));
    for (const Spot& spot :
         {Spot{"readingFrame", {200, 8}}, Spot{"readingFrame", {647, 479}},
          Spot{"readingPane", {423, 243}}, Spot{"nameFrame", {8, 8}}, Spot{"nameFrame", {191, 311}},
          Spot{"namePane", {99, 159}}, Spot{"fortuneFrame", {8, 320}},
          Spot{"fortuneFrame", {191, 447}}, Spot{"fortunePane", {99, 383}},
          Spot{"newButton", {51, 467}}, Spot{"printButton", {147, 467}}}) {
        const QWidget* hit = mainWindow.clientArea->childAt(spot.point);
        ASSERT_NE(hit, nullptr) << spot.name;
        EXPECT_EQ(hit->objectName(), QString::fromLatin1(spot.name))
            << spot.name << " at " << spot.point.x() << "," << spot.point.y();
    }
    EXPECT_EQ(mainWindow.newButton->text(), QStringLiteral("新規(&N)..."));
    EXPECT_EQ(mainWindow.printButton->text(), QStringLiteral("印刷(&P)..."));
    EXPECT_EQ(mainWindow.splashTimer->interval(), 3000);
}

TEST_F(MainWindowTest, WindowCanNeitherBeResizedNorMaximised) {
    ShowAndActivate();
    EXPECT_EQ(mainWindow.minimumSize(), mainWindow.maximumSize());
    EXPECT_FALSE(mainWindow.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(mainWindow.windowFlags() & Qt::WindowMinimizeButtonHint);
    mainWindow.resize(mainWindow.width() + 100, mainWindow.height() + 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(mainWindow.clientArea->size(), QSize(655, 487));
}

struct MenuItem {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    bool enabledAtStart;
};

TEST_F(MainWindowTest, MenuItemsHaveTheirCaptionsShortcutsAndStartState) {
    for (const MenuItem& item :
         {MenuItem{"newAction", "新規(&N)...", QKeySequence(QStringLiteral("Ctrl+N")), true},
          MenuItem{"namingAction", "名付け候補(&K)...", QKeySequence(QStringLiteral("Ctrl+K")),
                   true},
          MenuItem{"saveAsAction", "名前をつけて保存(&A)...", QKeySequence(), false},
          MenuItem{"printAction", "印刷(&P)...", QKeySequence(QStringLiteral("Ctrl+P")), false},
          MenuItem{"printPreviewAction", "印刷プレビュー(&V)", QKeySequence(), false},
          MenuItem{"detailAction", "詳しい鑑定(&D)...", QKeySequence(QStringLiteral("Ctrl+I")),
                   false},
          MenuItem{"shortlistAction", "候補リストに追加(&L)",
                   QKeySequence(QStringLiteral("Ctrl+D")), false},
          MenuItem{"exitAction", "終了(&X)", QKeySequence(QStringLiteral("Alt+F4")), true},
          MenuItem{"copyAction", "占文のコピー(&C)", QKeySequence(QStringLiteral("Ctrl+C")), false},
          MenuItem{"helpContentsAction", "目次(&H)", QKeySequence(QStringLiteral("F1")), true},
          MenuItem{"aboutAction", "バージョン情報(&A)", QKeySequence(QStringLiteral("Ctrl+V")),
                   true}}) {
        auto* action = mainWindow.findChild<QAction*>(QString::fromLatin1(item.name));
        ASSERT_NE(action, nullptr) << item.name;
        EXPECT_EQ(action->text(), QString::fromUtf8(item.caption)) << item.name;
        EXPECT_EQ(action->shortcut(), item.shortcut) << item.name;
        EXPECT_EQ(action->isEnabled(), item.enabledAtStart) << item.name;
    }
    EXPECT_EQ(mainWindow.fileMenu->title(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(mainWindow.editMenu->title(), QStringLiteral("編集(&E)"));
    EXPECT_EQ(mainWindow.helpMenu->title(), QStringLiteral("ヘルプ(&H)"));
    const QList<QAction*> file = mainWindow.fileMenu->actions();
    ASSERT_EQ(file.size(), 10);
    EXPECT_EQ(file[1], mainWindow.namingAction);
    EXPECT_TRUE(file[3]->isSeparator());
    EXPECT_EQ(file[5], mainWindow.printPreviewAction);
    EXPECT_EQ(file[6], mainWindow.detailAction);
    EXPECT_EQ(file[7], mainWindow.shortlistAction);
    EXPECT_TRUE(file[8]->isSeparator());
    EXPECT_FALSE(mainWindow.printButton->isEnabled());
}

TEST_F(MainWindowTest, CtrlPAndCtrlCDoNothingBeforeTheFirstReading) {
    ShowAndActivate();
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    QSignalSpy printed(mainWindow.printAction, &QAction::triggered);
    QSignalSpy copied(mainWindow.copyAction, &QAction::triggered);
    QTest::keyClick(&mainWindow, Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(&mainWindow, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(printed.count(), 0);
    EXPECT_EQ(copied.count(), 0);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));

    ReadYamadaTaro();
    QApplication::setActiveWindow(&mainWindow);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    QTest::keyClick(&mainWindow, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copied.count(), 1);
}

TEST_F(MainWindowTest, NewReadingComesBackAfterEachRefusalAndDrawsTheCorrectedName) {
    ModalDriver driver;
    driver.Then(EnterNames(QStringLiteral("一二三四五六七八九十一"), QStringLiteral("太")))
        .Then(ExpectErrorBox(QStringLiteral("文字数が多すぎます")))
        .Then([](QWidget* modal) {
            // The dialog comes back as the user left it.
            auto* dialog = qobject_cast<NameEntryDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->surnameBox->currentText(), QStringLiteral("一二三四五六七八九十一"));
            EXPECT_TRUE(dialog->okButton->isEnabled());
            EnterNames(QStringLiteral("山田"), QStringLiteral("太😀a"))(modal);
        })
        .Then(ExpectErrorBox(QStringLiteral("不適切な文字があります"),
                             QStringLiteral("「😀」「a」は辞書にありません\n"
                                            "日本語入力をオンにしてください")))
        .Then(EnterNames(QStringLiteral("山田"), QStringLiteral("太郎")));
    NewReading(driver);

    ASSERT_NE(mainWindow.ShownReading(), nullptr);
    EXPECT_EQ(mainWindow.ShownReading()->Counted().Names[soten::Surname], soten::Cp932Text("山田"));
    EXPECT_EQ(mainWindow.reportHolder.Text(), mainWindow.ShownReading()->Report());
    EXPECT_FALSE(mainWindow.namePane->Picture().isNull());
    EXPECT_FALSE(mainWindow.fortunePane->Picture().isNull());
    EXPECT_FALSE(mainWindow.readingPane->Picture().isNull());
    for (QAction* command : {mainWindow.saveAsAction, mainWindow.printAction,
                             mainWindow.printPreviewAction, mainWindow.copyAction}) {
        EXPECT_TRUE(command->isEnabled());
    }
    EXPECT_TRUE(mainWindow.printButton->isEnabled());
}

TEST_F(MainWindowTest, CancelBeforeTheFirstReadingChangesNothing) {
    ModalDriver driver;
    driver.Then(CancelDialog());
    NewReading(driver);
    EXPECT_FALSE(mainWindow.printButton->isEnabled());
    EXPECT_FALSE(mainWindow.copyAction->isEnabled());
    EXPECT_TRUE(mainWindow.namePane->Picture().isNull());
    EXPECT_TRUE(mainWindow.reportHolder.Text().empty());
}

TEST_F(MainWindowTest, CancelAfterARefusalKeepsTheReadingOnShow) {
    ReadYamadaTaro();
    const std::string report = mainWindow.reportHolder.Text();
    const QImage names = mainWindow.namePane->Picture();
    const QImage reading = mainWindow.readingPane->Picture();

    ModalDriver driver;
    driver.Then(EnterNames(QStringLiteral("佐藤"), QStringLiteral("😀")))
        .Then(ExpectErrorBox(QStringLiteral("不適切な文字があります")))
        .Then(CancelDialog());
    NewReading(driver);

    EXPECT_EQ(mainWindow.reportHolder.Text(), report);
    EXPECT_EQ(mainWindow.namePane->Picture(), names);
    EXPECT_EQ(mainWindow.readingPane->Picture(), reading);
    EXPECT_TRUE(mainWindow.copyAction->isEnabled());
    EXPECT_TRUE(mainWindow.printButton->isEnabled());
}

TEST_F(MainWindowTest, SaveAsProposesTheNamesAndWritesTheReportByteForByte) {
    ReadYamadaTaro();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("山田太郎.txt"));
    QFile::remove(path);
    QString proposed;
    ModalDriver driver;
    driver.Then([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("テキストファイル(*.txt)")});
        EXPECT_TRUE(dialog->defaultSuffix().isEmpty());
        SaveAs(path, &proposed)(modal);
    });
    mainWindow.saveAsAction->trigger();
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(proposed, QStringLiteral("山田太郎.txt"));

    const QByteArray saved = Read(path);
    EXPECT_EQ(saved, QByteArray::fromStdString(mainWindow.ShownReading()->Report()));
    EXPECT_FALSE(saved.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(
        saved.startsWith(QByteArray::fromStdString(soten::Cp932Text("山　田　太　郎\r\n"))));
    EXPECT_TRUE(saved.endsWith("\r\n"));
    EXPECT_FALSE(saved.contains("\r\n\r\n\r\n"));
}

// The next Save As of the run opens in the folder the last one saved in.
TEST_F(MainWindowTest, SaveAsOpensInTheFolderLastSavedIn) {
    ReadYamadaTaro();
    QTemporaryDir dir;
    ModalDriver save;
    save.Then(SaveAs(dir.filePath(QStringLiteral("first.txt"))));
    mainWindow.saveAsAction->trigger();
    ASSERT_TRUE(save.Done());
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral("first.txt"))));

    ModalDriver again;
    again.Then([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->directory().canonicalPath(), QDir(dir.path()).canonicalPath());
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->reject(); });
    });
    mainWindow.saveAsAction->trigger();
    EXPECT_TRUE(again.Done());
}

// Qt's own question before a file is replaced, answered both ways.
ModalDriver::Step AnswerReplaceQuestion(QMessageBox::StandardButton answer) {
    return [=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr) << modal->objectName().toStdString();
        ASSERT_NE(box->button(answer), nullptr);
        // After No the file dialog stays open for another name; the test
        // then leaves it.
        if (answer == QMessageBox::No) {
            QWidget* fileDialog = box->parentWidget();
            QTimer::singleShot(0, fileDialog,
                               [fileDialog] { static_cast<QDialog*>(fileDialog)->reject(); });
        }
        box->button(answer)->click();
    };
}

TEST_F(MainWindowTest, SaveAsUsesTheNameAsTypedAndAsksBeforeReplacingAFile) {
    ReadYamadaTaro();
    const QByteArray report = QByteArray::fromStdString(mainWindow.ShownReading()->Report());
    struct Answer {
        QMessageBox::StandardButton button;
        QByteArray expected;
    };
    for (const Answer& answer :
         {Answer{QMessageBox::Yes, report}, Answer{QMessageBox::No, QByteArray("an old file")}}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("reading"));
        {
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("an old file");
        }
        ModalDriver driver;
        driver.Then(SaveAs(path)).Then(AnswerReplaceQuestion(answer.button));
        mainWindow.saveAsAction->trigger();
        EXPECT_TRUE(driver.Done()) << answer.button;
        EXPECT_EQ(driver.Seen().size(), 2u) << answer.button;  // the file dialog, the question
        EXPECT_EQ(Read(path), answer.expected) << answer.button;
        EXPECT_FALSE(QFile::exists(path + QStringLiteral(".txt")));
    }
}

TEST_F(MainWindowTest, SaveAsOverAFifoIsRefusedWithTheErrorBox) {
    ReadYamadaTaro();
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo), 0600), 0);
    QString message;
    ModalDriver driver;
    driver.Then(SaveAs(fifo))
        .Then(AnswerReplaceQuestion(QMessageBox::Yes))
        .Then(ExpectApplicationError(&message));
    mainWindow.saveAsAction->trigger();
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(message, QStringLiteral("ファイル \"") + fifo +
                           QStringLiteral("\" を作成できません。通常のファイルではありません"));
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

TEST_F(MainWindowTest, SaveAsProposesTheReadingOnShowAfterARefusedAttempt) {
    ReadYamadaTaro();
    ModalDriver refusal;
    refusal.Then(EnterNames(QStringLiteral("佐藤"), QStringLiteral("😀")))
        .Then(ExpectErrorBox(QStringLiteral("不適切な文字があります")))
        .Then(CancelDialog());
    NewReading(refusal);

    QString proposed;
    ModalDriver driver;
    driver.Then([&](QWidget* modal) {
        proposed = QFileInfo(static_cast<QFileDialog*>(modal)->selectedFiles().value(0)).fileName();
        static_cast<QFileDialog*>(modal)->reject();
    });
    mainWindow.saveAsAction->trigger();
    EXPECT_EQ(proposed, QStringLiteral("山田太郎.txt"));
}

TEST_F(MainWindowTest, AFailedSaveShowsTheErrorAndTheProgramGoesOn) {
    ReadYamadaTaro();
    QTemporaryDir dir;
    const QString path = QFileInfo(dir.filePath(QStringLiteral("山田太郎.txt"))).absoluteFilePath();
    QString message;
    ModalDriver driver;
    driver
        .Then([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->setDirectory(dir.path());
            dialog->selectFile(QStringLiteral("山田太郎.txt"));
            // The folder goes away while the dialog is open.
            ASSERT_TRUE(QDir(dir.path()).removeRecursively());
            static_cast<QDialog*>(dialog)->accept();
        })
        .Then(ExpectApplicationError(&message));
    mainWindow.saveAsAction->trigger();
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(message, QStringLiteral("ファイル \"") + path +
                           QStringLiteral("\" を作成できません。フォルダが見つかりません"));
    EXPECT_EQ(mainWindow.reportHolder.Text(), mainWindow.ShownReading()->Report());
    EXPECT_TRUE(mainWindow.saveAsAction->isEnabled());
}

TEST_F(MainWindowTest, CopyPutsTheWholeReportOnTheClipboard) {
    ReadYamadaTaro();
    QGuiApplication::clipboard()->clear();
    mainWindow.copyAction->trigger();
    const QString expected =
        QString::fromStdString(*soten::Cp932::ToUtf8(mainWindow.ShownReading()->Report()));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    EXPECT_TRUE(expected.contains(QStringLiteral("最後に")));  // the last paragraph too
}

TEST_F(MainWindowTest, HelpShowsTheBuiltInHelpOrTheFileBesideTheProgram) {
    mainWindow.helpContentsAction->trigger();
    ASSERT_NE(mainWindow.HelpViewer(), nullptr);
    EXPECT_TRUE(mainWindow.HelpViewer()->isVisible());
    EXPECT_TRUE(
        mainWindow.HelpViewer()->browser->toPlainText().contains(QStringLiteral("五つの運")));

    // The file beside the program is removed however the test ends.
    const auto removeHelpFile = qScopeGuard([] { QFile::remove(soten::ui::HelpFileName()); });
    QFile external(soten::ui::HelpFileName());
    ASSERT_TRUE(external.open(QIODevice::WriteOnly));
    external.write("<html><body><p>our own help file</p></body></html>");
    external.close();
    mainWindow.helpContentsAction->trigger();
    EXPECT_TRUE(mainWindow.HelpViewer()->browser->toPlainText().contains(
        QStringLiteral("our own help file")));
    mainWindow.HelpViewer()->close();
}

TEST_F(MainWindowTest, EscAndCtrlWCloseTheHelp) {
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(QStringLiteral("Ctrl+W"))}) {
        mainWindow.helpContentsAction->trigger();
        soten::ui::HelpWindow* help = mainWindow.HelpViewer();
        ASSERT_NE(help, nullptr);
        QApplication::setActiveWindow(help);
        ASSERT_TRUE(QTest::qWaitForWindowActive(help));
        EXPECT_TRUE(help->isVisible());
        QTest::keySequence(help->browser, keys);
        EXPECT_FALSE(help->isVisible()) << keys.toString().toStdString();
    }
}

TEST_F(MainWindowTest, AboutShowsTheProductAndThePlatform) {
    ModalDriver driver;
    driver.Then([](QWidget* modal) {
        auto* box = qobject_cast<AboutDialog*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("蒼天姓名判断のバージョン情報"));
        EXPECT_EQ(box->size(), QSize(297, 122));
        EXPECT_EQ(box->productName->text(), QStringLiteral("蒼天姓名判断"));
        EXPECT_EQ(box->versionLabel->text(), QStringLiteral("Version " SOTEN_VERSION));
        EXPECT_EQ(box->platformLabel->text(), QStringLiteral("for Linux"));
        EXPECT_EQ(box->okButton->geometry(), QRect(207, 92, 75, 21));
        QTest::keyClick(box, Qt::Key_Escape);
    });
    mainWindow.aboutAction->trigger();
    EXPECT_TRUE(driver.Done());
}

TEST_F(MainWindowTest, ExitClosesTheWindow) {
    ShowAndActivate();
    mainWindow.exitAction->trigger();
    EXPECT_FALSE(mainWindow.isVisible());
}

TEST_F(MainWindowTest, PanesShowTheirFramesThroughTheirWhitePixels) {
    ShowAndActivate();
    ReadYamadaTaro();
    const QImage window = mainWindow.clientArea->grab().toImage();
    // A white pixel of each pane shows the frame behind it.
    EXPECT_EQ(mainWindow.namePane->Picture().pixelColor(5, 5), QColor(Qt::white));
    EXPECT_EQ(window.pixelColor(9 + 5, 9 + 5), QColor(0xD8, 0xFA, 0xD8));
    EXPECT_EQ(window.pixelColor(9 + 5, 321 + 5), QColor(0xF8, 0xF8, 0xD8));
    EXPECT_EQ(window.pixelColor(201 + 5, 9 + 5), QColor(0xE0, 0xF0, 0xFF));
    // Ink stays: the 総運 rule of the name column.
    EXPECT_EQ(window.pixelColor(9 + 60, 9 + 250), QColor(0, 0x80, 0));
    // The frames' blue outline and the window's own colour.
    EXPECT_EQ(window.pixelColor(7, 7), QColor(0, 0, 0xFF));
    EXPECT_EQ(window.pixelColor(3, 3), QColor(0x8C, 0xAA, 0xE6));
}

TEST_F(MainWindowTest, TimerEndsTheSplashAndShowsTheWindow) {
    QPointer<SplashScreen> splash = new SplashScreen;
    splash->show();
    mainWindow.SetSplash(splash);
    mainWindow.splashTimer->start(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mainWindow.isVisible(); }, 2000));
    EXPECT_FALSE(mainWindow.splashTimer->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}

TEST_F(MainWindowTest, ClickOnTheSplashEndsItAtOnceAndTheTimerNeverActs) {
    QPointer<SplashScreen> splash = new SplashScreen;
    splash->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash));
    mainWindow.SetSplash(splash);
    mainWindow.splashTimer->start();
    QTest::mouseClick(splash->picture, Qt::LeftButton);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_FALSE(mainWindow.splashTimer->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}

// The caption names the reading on show and its style; the panes keep their
// names and say the style in their descriptions.
TEST_F(MainWindowTest, CaptionShowsTheNameAndStyleOfTheReadingOnShow) {
    ReadYamadaTaro();
    EXPECT_EQ(mainWindow.windowTitle(), QStringLiteral("蒼天姓名判断 — 山田 太郎（新字式）"));
    EXPECT_EQ(mainWindow.namePane->accessibleName(), QStringLiteral("姓名と画数"));
    for (QWidget* pane :
         {static_cast<QWidget*>(mainWindow.namePane), static_cast<QWidget*>(mainWindow.fortunePane),
          static_cast<QWidget*>(mainWindow.readingPane)}) {
        EXPECT_EQ(pane->accessibleDescription(), QStringLiteral("画数は新字式"));
    }

    // A name from the 名付け list brings its reading; a typed one has none.
    mainWindow.ReadChosenName(QStringLiteral("佐藤"), QStringLiteral("結衣"),
                              QStringLiteral("ゆい"), soten::StrokeStyle::Honji);
    EXPECT_EQ(mainWindow.windowTitle(), QStringLiteral("蒼天姓名判断 — 佐藤 結衣（ゆい・本字式）"));
    EXPECT_EQ(mainWindow.readingPane->accessibleDescription(), QStringLiteral("画数は本字式"));
    ModalDriver driver;
    driver.Then(EnterNames(QStringLiteral("山田"), QStringLiteral("太郎")));
    NewReading(driver);
    EXPECT_EQ(mainWindow.windowTitle(), QStringLiteral("蒼天姓名判断 — 山田 太郎（本字式）"));
}

// Ctrl+I: the detail window explains the reading on show, follows the next
// one, and Esc closes it.
TEST_F(MainWindowTest, DetailWindowExplainsTheReadingOnShowAndFollowsIt) {
    ShowAndActivate();
    QTest::keyClick(&mainWindow, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(mainWindow.Detail(), nullptr);  // nothing to explain yet
    ReadYamadaTaro();
    QApplication::setActiveWindow(&mainWindow);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    QTest::keyClick(&mainWindow, Qt::Key_I, Qt::ControlModifier);
    soten::ui::DetailWindow* detail = mainWindow.Detail();
    ASSERT_NE(detail, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(detail));
    const QString text = detail->detailBrowser->toPlainText();
    for (const char* expected : {"山田 太郎（新字式）", "○○●○", "陰陽配列", "判定：吉", "三才配置",
                                 "相生", "相剋", "判定：凶", "総運", "大成数"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_EQ(detail->windowTitle(), QStringLiteral("詳しい鑑定 — 山田 太郎（新字式）"));

    mainWindow.ReadChosenName(QStringLiteral("山田"), QStringLiteral("太郎"), QString(),
                              soten::StrokeStyle::Honji);
    EXPECT_TRUE(detail->detailBrowser->toPlainText().contains(QStringLiteral("判定：大吉")));
    EXPECT_TRUE(detail->detailBrowser->toPlainText().contains(QStringLiteral("分裂")));

    QApplication::setActiveWindow(detail);
    ASSERT_TRUE(QTest::qWaitForWindowActive(detail));
    QTest::keyClick(detail, Qt::Key_Escape);
    EXPECT_FALSE(detail->isVisible());
}

// Nothing in the detail is bold (the Japanese faces have no bold, and the
// one Qt makes up smears 凶 into a blot), and its text is at the window's size.
TEST_F(MainWindowTest, DetailTextIsNeitherBoldNorSmall) {
    ReadYamadaTaro();
    QTextDocument document;
    document.setHtml(
        soten::ui::DetailWindow::DetailHtml(*mainWindow.ShownReading(), soten::BuiltInTables()));
    int fragments = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const std::string text = it.fragment().text().toStdString();
            ++fragments;
            EXPECT_LT(format.fontWeight(), QFont::DemiBold) << text;
            if (block.blockFormat().headingLevel() == 0) {
                EXPECT_GE(format.property(QTextFormat::FontSizeAdjustment).toInt(), 0) << text;
            }
        }
    }
    EXPECT_GT(fragments, 20);
}

// The print command through the printer layer, over a printing service held
// in memory.
class MainWindowPrintTest : public MainWindowTest {
protected:
    soten::test::ScopedPrinterBackend printing;
    soten::printing::FakePrinterBackend* fake = &printing.Fake();
};

TEST_F(MainWindowPrintTest, PrintButtonAndMenuPrintTheReadingOnShow) {
    fake->printers.push_back(soten::printing::FakePrinterBackend::StandardPrinter("Office"));
    ReadYamadaTaro();
    mainWindow.printButton->click();
    ASSERT_EQ(fake->documents.size(), 1u);
    EXPECT_EQ(fake->documents[0].title, QStringLiteral("蒼天姓名判断"));
    mainWindow.printAction->trigger();
    EXPECT_EQ(fake->documents.size(), 2u);
}

TEST_F(MainWindowPrintTest, CancelInThePrintDialogPrintsNothing) {
    fake->printers.push_back(soten::printing::FakePrinterBackend::StandardPrinter("Office"));
    fake->dialogAccepts = false;
    ReadYamadaTaro();
    mainWindow.printButton->click();
    EXPECT_TRUE(fake->documents.empty());
}

TEST_F(MainWindowPrintTest, APrinterErrorIsShownByTheDefaultHandler) {
    fake->printers.push_back(soten::printing::FakePrinterBackend::StandardPrinter("Office"));
    fake->beforePrint = [] { throw soten::PrinterError("印刷できませんでした"); };
    ReadYamadaTaro();
    QString message;
    ModalDriver driver;
    driver.Then(ExpectApplicationError(&message));
    mainWindow.printButton->click();
    EXPECT_TRUE(driver.Done());
    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(fake->documents.empty());
    EXPECT_TRUE(mainWindow.printButton->isEnabled());
}

TEST_F(MainWindowPrintTest, PreviewShowsTheLandscapePageAndPrintsFromThere) {
    fake->printers.push_back(soten::printing::FakePrinterBackend::StandardPrinter("Office"));
    ReadYamadaTaro();
    int pages = 0;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    ModalDriver driver;
    driver.Then([&](QWidget* modal) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
        ASSERT_NE(preview, nullptr) << modal->objectName().toStdString();
        auto* widget = preview->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(widget, nullptr);
        pages = widget->pageCount();
        orientation = widget->orientation();
        for (QAction* action : preview->findChildren<QAction*>()) {
            if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print")) {
                action->trigger();
            }
        }
    });
    mainWindow.printPreviewAction->trigger();
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(orientation, QPageLayout::Landscape);
    // Print in the preview is the Print command: the dialog, then the page.
    ASSERT_EQ(fake->documents.size(), 1u);
    EXPECT_EQ(fake->documents[0].title, QStringLiteral("蒼天姓名判断"));
}

TEST_F(MainWindowPrintTest, DetailWindowPrintsOnePortraitPage) {
    fake->printers.push_back(soten::printing::FakePrinterBackend::StandardPrinter("Office"));
    ReadYamadaTaro();
    mainWindow.detailAction->trigger();
    ASSERT_NE(mainWindow.Detail(), nullptr);
    mainWindow.Detail()->printButton->click();
    ASSERT_EQ(fake->documents.size(), 1u);
    const auto& document = fake->documents[0];
    EXPECT_EQ(document.title, QStringLiteral("蒼天姓名判断 詳しい鑑定"));
    EXPECT_EQ(document.mode.orientation, soten::OrientationPortrait);
    QString text;
    int lowest = 0;
    for (const auto& item : document.page) {
        if (const auto* piece = std::get_if<soten::RecordedPage::Text>(&item)) {
            text += piece->text;
            lowest = std::max(lowest, piece->topLeft.y());
        }
    }
    EXPECT_TRUE(text.contains(QStringLiteral("判定　凶"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("山田 太郎（新字式）")));
    // All on the page: 297 mm less a margin, at 600 dpi.
    EXPECT_LT(lowest, 2770 * 600 / 254);
}

TEST(StartupTest, QtsOwnDialogsSpeakJapaneseWhateverTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QObject owner;
    QTranslator* translator = soten::ui::InstallQtTranslations(owner);
    ASSERT_NE(translator, nullptr) << "qt6-translations-l10n is not installed";
    for (const auto& [context, text] :
         {std::pair{"QFileDialog", "%1 already exists.\nDo you want to replace it?"},
          std::pair{"QPrintPreviewDialog", "Print"}, std::pair{"QPrintDialog", "Print"}}) {
        const QString translated = QCoreApplication::translate(context, text);
        EXPECT_NE(translated, QString::fromUtf8(text)) << context;
        EXPECT_TRUE(std::any_of(translated.begin(), translated.end(), [](QChar c) {
            return c.unicode() >= 0x3000;
        })) << translated.toStdString();
    }
    QCoreApplication::removeTranslator(translator);
    QLocale::setDefault(saved);
}

TEST(DefaultErrorHandlerTest, ShowsWhatACommandThrowsAndGoesOn) {
    QString message;
    ModalDriver driver;
    driver.Then(ExpectApplicationError(&message));
    soten::ui::RunCommand([] { throw std::runtime_error("プリンタがありません"); });
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(message, QStringLiteral("プリンタがありません"));
}

}  // namespace
