#pragma once
// The OK/Cancel row shared by the program's dialogs.
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

// Puts `ok` (the default button, object name "BOk") and `cancel` (Escape,
// "BCancel") into a button box that calls the dialog's accept() and reject():
// accept() is where each dialog validates before it closes.
inline QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog, QPushButton* ok, QPushButton* cancel)
{
    ok->setObjectName(QStringLiteral("BOk"));
    cancel->setObjectName(QStringLiteral("BCancel"));
    ok->setDefault(true);
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
