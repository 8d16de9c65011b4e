#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "MainWindowPanes.h"
#include "NewReading.h"
#include "ProgramState.h"
#include "RbPrinters.h"
#include "ReadingPane.h"
#include "ReportHolder.h"
#include "Tables.h"

class QAction;
class QFileDialog;
class QMenu;
class QPushButton;
class QTimer;

namespace soten::ui {

class HelpWindow;
class NamingDialog;
class PaneImage;
class TAboutBox;
class TForm2;
class TForm3;
class TShape;

// The main window "蒼天姓名判断": the three panes in their frames, the New
// and Print buttons, the menu, and the commands behind them. A reading is
// made by NewReading through the entry dialog; this window answers its
// questions and shows the result.
class TForm1 : public QMainWindow, private NewReadingHost {
    Q_OBJECT

public:
    // `Timer1` starts counting the splash time now.
    TForm1(ProgramState& state, const Tables& tables);
    ~TForm1() override;

    // The windows the start-up creates after this one.
    void SetEntryDialog(TForm2* form2) { form2_ = form2; }
    void SetAboutBox(TAboutBox* aboutBox) { aboutBox_ = aboutBox; }
    void SetSplash(TForm3* splash);

    // Controls, by the names the program has always used.
    QWidget* ClientArea;
    TShape* Shape1;
    ReadingPane* Image3;
    TShape* Shape2;
    PaneImage* Image1;
    TShape* Shape3;
    PaneImage* Image2;
    QPushButton* BitBtn1;  // 新規
    QPushButton* BitBtn2;  // 印刷
    ReportHolder Memo1;
    QTimer* Timer1;
    TRbPrintDialog RbPrintDialog1;

    QMenu* File1;
    QAction* New1;
    QAction* Naming1;  // 名付け候補
    QAction* SaveAs1;
    QAction* N2;
    QAction* Print1;
    QAction* PrintPreview1;
    QAction* N3;
    QAction* Exit1;
    QMenu* Edit1;
    QAction* Copy1;
    QMenu* Help1;
    QAction* SearchforHelpOn1;
    QAction* N5;
    QAction* About1;

    // The Save As dialog, created at its first use and kept, so it remembers
    // the folder last used.
    QFileDialog* SaveDialog1();
    HelpWindow* HelpViewer() const { return helpWindow_; }
    NamingDialog* NamingCandidates() const { return namingDialog_; }

    // The commands.
    void BitBtn1Click();
    void BitBtn2Click();
    void New1Click();
    void Naming1Click();
    // The reading of a name picked in the 名付け候補 dialog, made as New makes
    // it: the entry dialog keeps the names in its history and the style.
    void ReadChosenName(const QString& surname, const QString& given, StrokeStyle style);
    void SaveAs1Click();
    void Print1Click();
    void PrintPreview1Click();
    void Exit1Click();
    void Copy1Click();
    void SearchforHelpOn1Click();
    void About1Click();
    // End of the splash, by the timer or a click on the picture.
    void Timer1Timer();

private:
    // NewReadingHost
    std::optional<EnteredNames> ShowEntryDialog() override;
    void ShowErrorBox(const std::string& message) override;
    void EnableResultCommands() override;
    void RunMainRoutine() override;

    void BuildClientArea();
    void BuildMenu();
    void NewReadingCommand();
    void PrintCommand();
    void CentreOnScreen();

    ProgramState& state_;
    const Tables& tables_;
    TForm2* form2_ = nullptr;
    TAboutBox* aboutBox_ = nullptr;
    QPointer<TForm3> splash_;
    QFileDialog* saveDialog_ = nullptr;
    HelpWindow* helpWindow_ = nullptr;
    NamingDialog* namingDialog_ = nullptr;
    std::optional<EnteredNames> chosenNames_;  // answers the next entry dialog
    std::unique_ptr<MainWindowPanes> panes_;
};

}  // namespace soten::ui
