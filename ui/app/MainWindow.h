#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>

#include "analysis/reading/Reading.h"
#include "analysis/reading/Tables.h"
#include "printing/device/PrinterSession.h"
#include "ui/reading/MainWindowPanes.h"
#include "ui/reading/ReadingPane.h"
#include "ui/reading/ReportHolder.h"

class QAction;
class QFileDialog;
class QMenu;
class QPushButton;
class QTimer;

namespace soten::ui {

class DetailWindow;
class HelpWindow;
class NameSearchDialog;
class ShortlistStore;
class PaneImage;
class AboutDialog;
class NameEntryDialog;
class SplashScreen;
class PaneFrame;

// The main window "蒼天姓名判断": the three panes in their frames, the New
// and Print buttons, the menu, and the commands behind them. A reading is
// made by asking for names in the entry dialog until they make one (or the
// dialog is cancelled); the window then shows it and keeps it on show.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // `splashTimer` starts counting the splash time now.
    explicit MainWindow(const Tables& tables);
    ~MainWindow() override;

    // The windows the start-up creates after this one.
    void SetEntryDialog(NameEntryDialog* dialog) { entryDialog_ = dialog; }
    void SetAboutBox(AboutDialog* aboutBox) { aboutBox_ = aboutBox; }
    void SetSplash(SplashScreen* splash);

    // The controls, public so the start-up and the tests can reach them.
    QWidget* clientArea;
    PaneFrame* readingFrame;
    ReadingPane* readingPane;
    PaneFrame* nameFrame;
    PaneImage* namePane;
    PaneFrame* fortuneFrame;
    PaneImage* fortunePane;
    QPushButton* newButton;    // 新規
    QPushButton* printButton;  // 印刷
    ReportHolder reportHolder;
    QTimer* splashTimer;
    PrintDialog printDialog;

    QMenu* fileMenu;
    QAction* newAction;
    QAction* namingAction;  // 名付け候補
    QAction* saveAsAction;
    QAction* printSeparator;
    QAction* printAction;
    QAction* printPreviewAction;
    QAction* detailAction;     // 詳しい鑑定
    QAction* shortlistAction;  // 候補リストに追加
    QAction* exitSeparator;
    QAction* exitAction;
    QMenu* editMenu;
    QAction* copyAction;
    QMenu* helpMenu;
    QAction* helpContentsAction;
    QAction* aboutSeparator;
    QAction* aboutAction;

    // The Save As dialog, created at its first use and kept, so it remembers
    // the folder last used.
    QFileDialog* SaveDialog();
    HelpWindow* HelpViewer() const { return helpWindow_; }
    ui::NameSearchDialog* NameSearchDialog() const { return namingDialog_; }
    DetailWindow* Detail() const { return detailWindow_; }
    ShortlistStore* Shortlist() const { return shortlist_; }
    // The reading on show; null before the first one.
    const Reading* ShownReading() const { return shown_ ? &*shown_ : nullptr; }

    // The commands.
    void StartNewReading();
    void PrintShownReading();
    void OpenNamingDialog();
    // The reading of a name picked in the 名付け候補 dialog, made as New makes
    // it: the entry dialog keeps the names in its history and the style. The
    // reading of the given name (empty when unknown) goes with the reading.
    void ReadChosenName(const QString& surname, const QString& given, const QString& reading,
                        StrokeStyle style);
    void ShowDetail();
    // Adds the reading on show to the shortlist and shows the list.
    void AddShownToShortlist();
    void SaveReportAs();
    void PreviewPrintout();
    void ExitProgram();
    void CopyReading();
    void ShowHelpContents();
    void ShowAboutBox();
    // End of the splash, by the timer or a click on the picture.
    void EndSplash();

private:
    // Reads names until they make a reading: `picked` first when given, then
    // what the entry dialog is given, until it is cancelled. A refusal is
    // shown each time, and the dialog comes back as the user left it.
    void ReadNames(std::optional<EnteredNames> picked);
    void ShowRefusal(const Refusal& refusal);
    void EnableResultCommands();
    void ShowReading(Reading reading);
    // The style of the next reading: the entry dialog's.
    StrokeStyle ChosenStyle() const;

    void BuildClientArea();
    void BuildMenu();
    void CentreOnScreen();
    // Opens the 名付け候補 dialog (made at its first use, placed beside this
    // window) and returns it.
    ui::NameSearchDialog* ShowNamingDialog();
    // Where the reading pane is on the screen.
    QRect ReadingPaneArea() const;
    // The same, its search filled with the surname and style of the reading
    // on show (else the surname last typed).
    ui::NameSearchDialog* ShowPrefilledNamingDialog();
    // The caption and the panes' descriptions name the reading on show and
    // its style.
    void ShowReadingInCaption();

    const Tables& tables_;
    NameEntryDialog* entryDialog_ = nullptr;
    AboutDialog* aboutBox_ = nullptr;
    QPointer<SplashScreen> splash_;
    QFileDialog* saveDialog_ = nullptr;
    // The folder of the last report saved in this run; Save As opens there.
    QString saveFolder_;
    HelpWindow* helpWindow_ = nullptr;
    ui::NameSearchDialog* namingDialog_ = nullptr;
    ShortlistStore* shortlist_ = nullptr;
    DetailWindow* detailWindow_ = nullptr;
    std::optional<Reading> shown_;
    StrokeStyle pickedStyle_ = StrokeStyle::Shinji;  // without an entry dialog
    std::unique_ptr<MainWindowPanes> panes_;
};

}  // namespace soten::ui
