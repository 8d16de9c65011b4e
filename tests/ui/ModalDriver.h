#pragma once

// Answers the modal windows a command opens, one after another: each step
// runs when a modal widget it has not answered yet becomes active. The
// program's modals are plain Qt ones (message boxes, Qt's own file dialog,
// the entry dialog), so a test drives them by a timer.
//
// A step whose assertion fails (an ASSERT returns from the step before it
// answers) would leave its modal open and the command's exec() waiting for
// ever; the driver then closes that modal and every one the command opens
// after it, so the test ends and reports the failure.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

namespace soten::test {

class ModalDriver : public QObject {
public:
    using Step = std::function<void(QWidget* modal)>;

    ModalDriver() {
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
        timer_.start(5);
    }

    ModalDriver& Then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }

    bool Done() const { return steps_.empty(); }
    // The objectName of each answered modal, in order.
    const std::vector<QString>& Seen() const { return seen_; }

protected:
    // An answered modal that is hidden is a new modal when it is shown again
    // (the entry dialog comes back as the same widget).
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == answered_ && event->type() == QEvent::Hide) {
            answered_->removeEventFilter(this);
            answered_ = nullptr;
        }
        return false;
    }

private:
    void Poll() {
        if (failed_) {
            CloseOpenModals();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == answered_ || steps_.empty()) return;
        seen_.push_back(modal->objectName());
        Step step = std::move(steps_.front());
        steps_.pop_front();
        answered_ = modal;
        modal->installEventFilter(this);
        const int failuresBefore = FailureCount();
        step(modal);
        if (FailureCount() > failuresBefore) {
            // The steps left stay unanswered, so Done() reports them too.
            failed_ = true;
            CloseOpenModals();
        }
    }

    // Failed assertions of the running test so far.
    static int FailureCount() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        if (!test) return 0;
        int failures = 0;
        for (int i = 0; i < test->result()->total_part_count(); ++i) {
            if (test->result()->GetTestPartResult(i).failed()) ++failures;
        }
        return failures;
    }

    static void CloseOpenModals() {
        // Innermost first; hiding a modal takes it off the stack at once.
        while (QWidget* modal = QApplication::activeModalWidget()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            } else {
                modal->close();
            }
            if (modal->isVisible()) break;  // refused to close; try again on the next tick
        }
    }

    QTimer timer_;
    std::deque<Step> steps_;
    std::vector<QString> seen_;
    QPointer<QWidget> answered_;
    bool failed_ = false;
};

}  // namespace soten::test
