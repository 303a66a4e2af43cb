#include "mdi.h"

namespace platform {

QMdiSubWindow *addSubWindow(QMdiArea *area, QWidget *widget)
{
    const QSize wanted = widget->size();
    QMdiSubWindow *sub = area->addSubWindow(widget);
    widget->setAttribute(Qt::WA_DeleteOnClose);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    // The frame is known only once shown: grow the sub-window so the widget keeps its own size.
    sub->resize(wanted + (sub->size() - widget->size()));
    area->setActiveSubWindow(sub);
    return sub;
}

bool raiseSubWindow(QMdiArea *area, QWidget *widget)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(widget->parentWidget());
    if (!sub || sub->mdiArea() != area || !area->subWindowList().contains(sub))
        return false;
    if (sub->isMinimized())
        sub->showNormal();
    area->setActiveSubWindow(sub);
    return true;
}

} // namespace platform
