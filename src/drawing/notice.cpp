#include "notice.h"

#include <QDebug>

namespace drawing {

namespace {
NoticeHandler &handler()
{
    static NoticeHandler h;
    return h;
}
} // namespace

NoticeHandler setNoticeHandler(NoticeHandler h)
{
    NoticeHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

void notice(const QString &text, const QString &title, NoticeIcon icon)
{
    if (handler())
        handler()(text, title, icon);
    else
        qWarning().noquote() << title << text;
}

} // namespace drawing
