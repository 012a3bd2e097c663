#include "controlslock.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

void ControlsLock::Lock(QWidget* root, QWidget* keep, QMenuBar* menus)
{
    Unlock();
    locked_ = true;
    if (keep && root->isAncestorOf(keep))
        DisableAllBut(root, keep);
    else
        Disable(root);
    if (!menus)
        return;
    Disable(menus);
    for (const QMenu* menu : menus->findChildren<QMenu*>()) {
        for (QAction* action : menu->actions()) {
            if (action->isEnabled()) {
                action->setEnabled(false);
                actions_.emplace_back(action);
            }
        }
    }
}

void ControlsLock::Unlock()
{
    for (const QPointer<QWidget>& widget : widgets_)
        if (widget)
            widget->setEnabled(true);
    for (const QPointer<QAction>& action : actions_)
        if (action)
            action->setEnabled(true);
    widgets_.clear();
    actions_.clear();
    locked_ = false;
}

void ControlsLock::DisableAllBut(QWidget* root, QWidget* keep)
{
    for (QWidget* child : root->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child == keep)
            continue;
        if (child->isAncestorOf(keep))
            DisableAllBut(child, keep);
        else
            Disable(child);
    }
}

void ControlsLock::Disable(QWidget* widget)
{
    // Only what was enabled in its own right is taken (and given back).
    if (widget->testAttribute(Qt::WA_ForceDisabled))
        return;
    widget->setEnabled(false);
    widgets_.emplace_back(widget);
}
