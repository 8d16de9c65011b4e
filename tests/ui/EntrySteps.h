#pragma once

// The entry dialog answered by a test through the modal driver.

#include <gtest/gtest.h>

#include <QString>

#include "tests/ui/ModalDriver.h"
#include "ui/reading/NameEntryDialog.h"

namespace soten::test {

// Types the two names into the entry dialog and presses OK.
inline ModalDriver::Step EnterNames(const QString& surname, const QString& given) {
    return [=](QWidget* modal) {
        auto* dialog = qobject_cast<ui::NameEntryDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << modal->objectName().toStdString();
        dialog->surnameBox->setEditText(surname);
        dialog->givenNameBox->setEditText(given);
        dialog->okButton->click();
    };
}

}  // namespace soten::test
