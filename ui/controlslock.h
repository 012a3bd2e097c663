#pragma once
// Takes a window's controls out of use for the length of a long command that
// processes events (an evolution run, a robot run), and gives back exactly
// what it took: a control that was disabled before stays disabled after.
#include <QPointer>

#include <vector>

class QAction;
class QMenuBar;
class QWidget;

class ControlsLock {
public:
    // Disables `root`, or, when `keep` lies inside it, every widget under
    // `root` except `keep` and the widgets that contain it; and the menu bar
    // with every action of its menus (so that no shortcut reaches them
    // either). Locking again first unlocks.
    void Lock(QWidget* root, QWidget* keep, QMenuBar* menus);
    // Enables again what Lock disabled.
    void Unlock();
    bool Locked() const { return locked_; }

private:
    void DisableAllBut(QWidget* root, QWidget* keep);
    void Disable(QWidget* widget);

    std::vector<QPointer<QWidget>> widgets_;
    std::vector<QPointer<QAction>> actions_;
    bool locked_ = false;
};
