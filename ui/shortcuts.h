#pragma once
// Keyboard shortcuts of the commands people repeat, named in the tooltips of
// their buttons ("Evolve (F5)"). The Alt letters of the menus stay as they are.
#include <QAbstractButton>
#include <QKeySequence>
#include <QShortcut>

namespace Shortcuts {
inline const QKeySequence Evolve{Qt::Key_F5};
inline const QKeySequence Stop{Qt::SHIFT | Qt::Key_F5};
inline const QKeySequence ComputeFitness{Qt::Key_F9};
inline const QKeySequence SavePopulation{Qt::CTRL | Qt::Key_S};
inline const QKeySequence LoadAndProgram{Qt::CTRL | Qt::Key_O};
} // namespace Shortcuts

// `what` followed by the key in the platform's notation: "Evolve (F5)".
inline QString WithShortcut(const QString& what, const QKeySequence& key)
{
    return QStringLiteral("%1 (%2)").arg(what, key.toString(QKeySequence::NativeText));
}

// `key` presses `button` while its window is active and it is enabled.
inline void GiveShortcut(QAbstractButton* button, const QKeySequence& key, const QString& tooltip)
{
    button->setShortcut(key);
    button->setToolTip(WithShortcut(tooltip, key));
}

// `key` presses `button` from any window of the program, as long as the
// button is shown and enabled: "Stop" must work while the main window, which
// has the focus, is disabled by the run it stops.
inline void GiveApplicationShortcut(QAbstractButton* button, const QKeySequence& key, const QString& tooltip)
{
    auto* shortcut = new QShortcut(key, button, nullptr, nullptr, Qt::ApplicationShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
    button->setToolTip(WithShortcut(tooltip, key));
}
