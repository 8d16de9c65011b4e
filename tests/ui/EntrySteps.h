#pragma once

// The entry dialog answered by a test through the modal driver.

#include <gtest/gtest.h>

#include <QString>

#include "ModalDriver.h"
#include "Unit2.h"

namespace soten::test {

// Types the two names into the entry dialog and presses OK.
inline ModalDriver::Step EnterNames(const QString& surname, const QString& given) {
    return [=](QWidget* modal) {
        auto* dialog = qobject_cast<ui::TForm2*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->objectName().toStdString();
        dialog->ComboBox1->setEditText(surname);
        dialog->ComboBox2->setEditText(given);
        dialog->BitBtn1->click();
    };
}

}  // namespace soten::test
