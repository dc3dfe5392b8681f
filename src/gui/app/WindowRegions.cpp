#include "gui/app/WindowRegions.h"

#include <QAction>
#include <QMenu>

namespace stonereach {

void MenuSection::add(QAction* action) const {
    if (before)
        menu->insertAction(before, action);
    else
        menu->addAction(action);
}

QAction* MenuSection::addCheckItem(const QString& name, const QString& caption, bool checked) const {
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(checked);
    add(action);
    return action;
}

} // namespace stonereach
