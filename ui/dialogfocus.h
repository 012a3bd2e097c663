#pragma once
// Puts the keyboard focus on a dialog's edit box with its text selected: on
// opening, on the first field; after a refused OK, on the field the message
// is about, so the user sees which one it is and can type over it.
#include <QLineEdit>

inline void FocusField(QLineEdit* field)
{
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}
