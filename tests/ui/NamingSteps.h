#pragma once

// The 名付け候補 dialog driven by a test: its search runs on a worker thread.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include "ui/naming/NamingDialog.h"

namespace soten::test {

inline constexpr int SearchTimeoutMs = 20000;

// Waits until the search the dialog runs has shown its page.
inline void WaitForResults(ui::NamingDialog* dialog) {
    QSignalSpy finished(dialog, &ui::NamingDialog::SearchFinished);
    for (int waited = 0; dialog->IsSearching() && waited < SearchTimeoutMs; waited += 20) {
        finished.wait(20);
    }
    QCoreApplication::processEvents();
    ASSERT_FALSE(dialog->IsSearching()) << "the search did not finish";
}

}  // namespace soten::test
