#pragma once

// The 名付け候補 dialog driven by a test: its search runs on a worker thread.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include "ui/naming/NameSearchDialog.h"

namespace soten::test {

inline constexpr int SearchTimeoutMs = 20000;

// A control of the dialog by its objectName (the name of the member that
// holds it).
template <typename Widget>
Widget* Control(const QObject* dialog, const char* name) {
    auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << "no control " << name;
    return widget;
}

// Waits until the search the dialog runs has shown its page.
inline void WaitForResults(ui::NameSearchDialog* dialog) {
    QSignalSpy finished(dialog, &ui::NameSearchDialog::SearchFinished);
    for (int waited = 0; dialog->IsSearching() && waited < SearchTimeoutMs; waited += 20) {
        finished.wait(20);
    }
    QCoreApplication::processEvents();
    ASSERT_FALSE(dialog->IsSearching()) << "the search did not finish";
}

}  // namespace soten::test
