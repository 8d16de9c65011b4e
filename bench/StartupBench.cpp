// Start-up of the desktop program, measured from exec in separate processes:
//   exec → splash painted, exec → main window painted (the splash ended at
//   once instead of after its 3 seconds), against exec → first paint of a
//   bare Qt window of the same size; and the resident memory with a reading
//   on show.
//
//   soten_startup_bench [runs]        runs each child that many times
//                                     (default 15) and prints the medians
//
// Run it on the display the program is meant for (X11, or xvfb-run).
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "analysis/reading/Reading.h"
#include "ui/app/MainWindow.h"
#include "ui/app/Startup.h"
#include "ui/reading/NameEntryDialog.h"

namespace {

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Reports the first paint event of a widget, then ends the run.
class FirstPaint : public QObject {
public:
    FirstPaint(double start, const char* label, bool quitAfter)
        : start_(start), label_(label), quitAfter_(quitAfter) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            std::printf("%s %.2f\n", label_, NowMs() - start_);
            std::fflush(stdout);
            watched->removeEventFilter(this);
            if (quitAfter_) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    double start_;
    const char* label_;
    bool quitAfter_;
    bool done_ = false;
};

int Bare(double start) {
    int argc = 1;
    char name[] = "bare";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QWidget window;
    window.resize(655, 487);
    FirstPaint paint(start, "bare_painted", true);
    window.installEventFilter(&paint);
    window.show();
    return QApplication::exec();
}

std::string VmRss() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return "?";
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).simplified().split(' ').value(0).toStdString();
    }
    return "?";
}

int Program(double start, bool withReading) {
    int argc = 1;
    char name[] = "soten";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    soten::ui::PrepareApplication(application);

    // The splash is painted inside the start-up, so watch for it from here.
    FirstPaint splash(start, "splash_painted", false);
    struct SplashWatch : QObject {
        FirstPaint* paint;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint &&
                watched->objectName() == QLatin1String("picture") && watched->parent() &&
                watched->parent()->objectName() == QLatin1String("SplashScreen")) {
                paint->eventFilter(watched, event);
            }
            return false;
        }
    } watch;
    watch.paint = &splash;
    application.installEventFilter(&watch);

    const soten::ui::ProgramWindows windows = soten::ui::CreateProgramWindows();
    application.removeEventFilter(&watch);
    std::printf("windows_created %.2f\n", NowMs() - start);

    FirstPaint shown(start, "main_painted", !withReading);
    windows.mainWindow->clientArea->installEventFilter(&shown);
    // End the splash now rather than after its 3 seconds.
    windows.mainWindow->EndSplash();

    if (withReading) {
        QTimer::singleShot(0, [&] {
            QTimer answer;
            QObject::connect(&answer, &QTimer::timeout, [&] {
                auto* dialog =
                    qobject_cast<soten::ui::NameEntryDialog*>(QApplication::activeModalWidget());
                if (!dialog) return;
                dialog->surnameBox->setEditText(QStringLiteral("山田"));
                dialog->givenNameBox->setEditText(QStringLiteral("太郎"));
                dialog->okButton->click();
            });
            answer.start(1);
            windows.mainWindow->newButton->click();
            answer.stop();
            QTimer::singleShot(200, [] {
                std::printf("rss_kb_with_reading %s\n", VmRss().c_str());
                QCoreApplication::quit();
            });
        });
    }
    return QApplication::exec();
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs this program in a child mode and collects its "label value" lines.
void RunChild(const QString& self, const QString& mode,
              std::vector<std::pair<std::string, double>>& out) {
    QProcess child;
    const double start = NowMs();
    child.start(self, {mode, QString::number(start, 'f', 3)});
    child.waitForFinished(30000);
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2) out.emplace_back(parts[0].toStdString(), parts[1].toDouble());
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3) {
        const std::string mode = argv[1];
        const double start = std::stod(argv[2]);
        if (mode == "bare") return Bare(start);
        if (mode == "soten") return Program(start, false);
        if (mode == "reading") return Program(start, true);
        return 2;
    }
    const int runs = argc == 2 ? std::max(1, std::atoi(argv[1])) : 15;
    QCoreApplication application(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    std::vector<std::pair<std::string, double>> results;
    // Warm the file cache first so every run sees the same disk.
    RunChild(self, QStringLiteral("bare"), results);
    RunChild(self, QStringLiteral("soten"), results);
    results.clear();
    for (int i = 0; i < runs; ++i) {
        RunChild(self, QStringLiteral("bare"), results);
        RunChild(self, QStringLiteral("soten"), results);
    }
    RunChild(self, QStringLiteral("reading"), results);
    for (const char* label : {"bare_painted", "splash_painted", "windows_created", "main_painted",
                              "rss_kb_with_reading"}) {
        std::vector<double> values;
        for (const auto& [name, value] : results) {
            if (name == label) values.push_back(value);
        }
        if (values.empty()) continue;
        std::printf("%-20s median %8.2f  min %8.2f  max %8.2f  (%zu runs)\n", label, Median(values),
                    *std::min_element(values.begin(), values.end()),
                    *std::max_element(values.begin(), values.end()), values.size());
    }
    return 0;
}
