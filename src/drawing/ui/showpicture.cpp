#include "showpicture.h"

#include "drawing/mcpicture.h"
#include "drawing/notice.h"
#include "platform/messages.h"

using namespace Qt::StringLiterals;

namespace drawing::ui {

namespace {
platform::MsgIcon toIcon(NoticeIcon icon)
{
    switch (icon) {
    case NoticeIcon::None: return platform::MsgIcon::None;
    case NoticeIcon::Information: return platform::MsgIcon::Information;
    case NoticeIcon::Exclamation: return platform::MsgIcon::Exclamation;
    case NoticeIcon::Critical: return platform::MsgIcon::Critical;
    case NoticeIcon::Question: return platform::MsgIcon::Question;
    }
    return platform::MsgIcon::None;
}
} // namespace

void installNotices()
{
    setNoticeHandler([](const QString &text, const QString &title, NoticeIcon icon) {
        platform::messages().message(nullptr, text, title, toIcon(icon), platform::MsgButtons::Ok);
    });
}

bool ShowMCPicture(platform::WidgetSurface *box, const QString &number, QString *error)
{
    installNotices();
    const auto pic = std::make_unique<MCPicture>();
    const bool loaded = pic->OpenFileEX(number, error);
    box->clear();
    if (loaded)
        pic->OutMC(*box, 0, 0, float(box->width()), float(box->height()));
    return loaded;
}

QString fileReadFailure(const QString &path, const QString &error)
{
    return u"图形文件读取出错！\n%1\n%2"_s.arg(path, error);
}

} // namespace drawing::ui
