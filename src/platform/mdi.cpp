#include "mdi.h"

#include <QAbstractItemModel>
#include <cmath>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>
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

// A cell wider than this does not widen its column on its own; the user may widen it further.
constexpr int kWidestContent = 420;
const char kFitted[] = "velmorraFittedColumns";
const char kFitPending[] = "velmorraFitPending";

// Every column at least as wide as its header text and its widest cell. A column the form gave a
// width of its own keeps it where that is wider, unless the list then cannot show all its columns:
// such columns give back what their texts do not need. A column left at the default width is fitted
// both ways. Columns the user cannot resize (stretched, fixed) are left alone; a stretched last
// column takes what the others leave.
void fitHeader(QHeaderView *header, QAbstractItemView *view)
{
    const int count = header->count();
    const int last = count - 1;
    QList<int> need(count, 0);
    QList<bool> fitted(count, false);
    int total = 0;
    for (int i = 0; i < count; ++i) {
        if (header->isSectionHidden(i))
            continue;
        const bool stretched = i == last && header->stretchLastSection();
        const int content = std::min(view->sizeHintForColumn(i), kWidestContent);
        need[i] = std::max(header->sectionSizeHint(i), content);
        fitted[i] = header->sectionResizeMode(i) == QHeaderView::Interactive && !stretched;
        const int size = header->sectionSize(i);
        if (fitted[i] && (size < need[i] || (size == header->defaultSectionSize() && size > need[i])))
            header->resizeSection(i, need[i]);
        total += stretched ? need[i] : header->sectionSize(i);
    }
    if (!view->isVisible())
        return; // the room is known once the list is shown
    int excess = total - view->viewport()->width();
    int spare = 0;
    for (int i = 0; i < count; ++i)
        if (fitted[i])
            spare += std::max(0, header->sectionSize(i) - need[i]);
    if (excess <= 0 || spare <= 0)
        return;
    excess = std::min(excess, spare);
    for (int i = 0; i < count; ++i) {
        const int own = fitted[i] ? std::max(0, header->sectionSize(i) - need[i]) : 0;
        if (own > 0)
            header->resizeSection(i, header->sectionSize(i) - int(std::ceil(double(excess) * own / spare)));
    }
}

// Rows come and go in many small steps: one fitting once they have settled.
void fitLater(QHeaderView *header, QAbstractItemView *view)
{
    if (header->property(kFitPending).toBool())
        return;
    header->setProperty(kFitPending, true);
    QTimer::singleShot(0, header, [header, view] {
        header->setProperty(kFitPending, false);
        fitHeader(header, view);
    });
}

void keepFitted(QHeaderView *header, QAbstractItemView *view)
{
    if (header->property(kFitted).toBool())
        return;
    header->setProperty(kFitted, true);
    fitHeader(header, view);
    fitLater(header, view); // once shown, with the room the list has
    // Lists that change their columns later (the catalogue's item lists) or are filled later are
    // fitted again.
    QObject::connect(header, &QHeaderView::sectionCountChanged, header, [header, view] { fitHeader(header, view); });
    QAbstractItemModel *model = view->model();
    if (!model)
        return;
    QObject::connect(model, &QAbstractItemModel::headerDataChanged, header, [header, view](Qt::Orientation o) {
        if (o == Qt::Horizontal)
            fitHeader(header, view);
    });
    auto later = [header, view] { fitLater(header, view); };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, header, later);
    QObject::connect(model, &QAbstractItemModel::modelReset, header, later);
    QObject::connect(model, &QAbstractItemModel::dataChanged, header, later);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, header, later);
}

} // namespace

void fitListColumns(QWidget *root)
{
    QList<QTreeView *> trees = root->findChildren<QTreeView *>();
    QList<QTableView *> tables = root->findChildren<QTableView *>();
    if (auto *tree = qobject_cast<QTreeView *>(root))
        trees << tree;
    if (auto *table = qobject_cast<QTableView *>(root))
        tables << table;
    for (QTreeView *tree : trees)
        if (!tree->isHeaderHidden())
            keepFitted(tree->header(), tree);
    for (QTableView *table : tables)
        keepFitted(table->horizontalHeader(), table);
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
    fitListColumns(widget);

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
