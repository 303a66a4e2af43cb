#include "mdi.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>
#include <QTreeView>

namespace platform {

namespace {

QSize frameExtra(const QMdiSubWindow *sub)
{
    const QMargins m = sub->contentsMargins(); // the title bar and borders, known before the first show
    return {m.left() + m.right(), m.top() + m.bottom()};
}

// `rect` shrunk to fit `bounds` and moved up and left until it lies inside.
QRect fitInside(QRect rect, const QRect &bounds)
{
    rect.setSize(rect.size().boundedTo(bounds.size()));
    if (rect.right() > bounds.right())
        rect.moveRight(bounds.right());
    if (rect.bottom() > bounds.bottom())
        rect.moveBottom(bounds.bottom());
    rect.moveLeft(std::max(rect.left(), bounds.left()));
    rect.moveTop(std::max(rect.top(), bounds.top()));
    return rect;
}

// The newest sub-window that lies open at its own size: the next one cascades from it.
QMdiSubWindow *cascadeBase(QMdiArea *area, const QMdiSubWindow *except)
{
    const QList<QMdiSubWindow *> subs = area->subWindowList(QMdiArea::CreationOrder);
    for (auto it = subs.crbegin(); it != subs.crend(); ++it)
        if (*it != except && (*it)->isVisible() && !(*it)->isMaximized() && !(*it)->isMinimized())
            return *it;
    return nullptr;
}

void fitHeader(QHeaderView *header)
{
    for (int i = 0; i < header->count(); ++i) {
        const int wanted = header->sectionSizeHint(i);
        if (!header->isSectionHidden(i) && header->sectionSize(i) < wanted)
            header->resizeSection(i, wanted);
    }
}

void keepFitted(QHeaderView *header)
{
    static const char kFitted[] = "velmorraFittedToHeaders";
    if (header->property(kFitted).toBool())
        return;
    header->setProperty(kFitted, true);
    fitHeader(header);
    // Lists that change their columns later (the catalogue's item lists) are fitted again.
    QObject::connect(header, &QHeaderView::sectionCountChanged, header, [header] { fitHeader(header); });
    if (header->model())
        QObject::connect(header->model(), &QAbstractItemModel::headerDataChanged, header,
                         [header](Qt::Orientation o) {
                             if (o == Qt::Horizontal)
                                 fitHeader(header);
                         });
}

} // namespace

void fitColumnsToHeaders(QWidget *root)
{
    for (QTreeView *tree : root->findChildren<QTreeView *>())
        if (!tree->isHeaderHidden())
            keepFitted(tree->header());
    for (QTableView *table : root->findChildren<QTableView *>())
        keepFitted(table->horizontalHeader());
}

void keepInsideArea(QMdiArea *area, QMdiSubWindow *sub)
{
    const QRect bounds = area->viewport()->rect();
    if (bounds.isEmpty() || sub->isMaximized() || sub->isMinimized())
        return;
    const QRect fitted = fitInside(sub->geometry(), bounds);
    if (fitted != sub->geometry())
        sub->setGeometry(fitted);
}

QMdiSubWindow *addSubWindow(QMdiArea *area, QWidget *widget)
{
    // The form's designed size; a form that set none gets its preferred one.
    const QSize wanted = widget->testAttribute(Qt::WA_Resized) ? widget->size() : widget->sizeHint();
    QMdiSubWindow *active = area->activeSubWindow();
    const bool maximised = active && active->isMaximized();
    QMdiSubWindow *base = cascadeBase(area, nullptr);

    // The area must not maximise the window on its own: a form that takes the focus when it is
    // added (the drawing editor's command line) gets maximised by the area while still hidden and then
    // keeps its normal size under the maximised flag. The window is maximised here, once shown, and
    // the one below is restored, as the area does itself: one maximised window at a time.
    const bool keepOption = area->testOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    area->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    QMdiSubWindow *sub = area->addSubWindow(widget);
    widget->setAttribute(Qt::WA_DeleteOnClose);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    fitColumnsToHeaders(widget);

    // The normal geometry is set before the first show, so that a maximised window comes back to
    // this place when restored.
    const QRect bounds = area->viewport()->rect();
    QRect rect(QPoint(0, 0), wanted + frameExtra(sub));
    if (base) {
        const int step = sub->contentsMargins().top();
        rect.moveTopLeft(base->geometry().topLeft() + QPoint(step, step));
        if (!bounds.isEmpty() && !bounds.contains(rect))
            rect.moveTopLeft(QPoint(0, 0)); // the cascade starts again at the corner
    }
    if (!bounds.isEmpty())
        rect = fitInside(rect, bounds);
    sub->setGeometry(rect);
    QObject::connect(sub, &QMdiSubWindow::windowStateChanged, sub,
                     [area, sub](Qt::WindowStates before, Qt::WindowStates now) {
                         const Qt::WindowStates sized = Qt::WindowMaximized | Qt::WindowMinimized;
                         if ((before & sized) && !(now & sized))
                             keepInsideArea(area, sub); // the area may have shrunk meanwhile
                     });

    if (maximised)
        active->showNormal();
    sub->show();
    if (maximised)
        sub->showMaximized();
    area->setActiveSubWindow(sub);
    area->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, keepOption);
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
