#include "importdatabase.h"

#include "showpicture.h"
#include "drawing/import.h"
#include "platform/datafolder.h"
#include "platform/messages.h"

using namespace Qt::StringLiterals;

namespace drawing::ui {

bool ImportOldDatabase(QWidget *parent, const QString &path)
{
    installNotices();
    QString err;
    switch (drawing::ImportOldDatabase(path, &err)) {
    case ImportStatus::CannotOpen:
        platform::inform(parent, u"无法打开数据库！"_s, u"提示"_s, platform::MsgIcon::Exclamation);
        return false;
    case ImportStatus::OwnDatabase:
        platform::inform(parent, u"不能导入当前正在使用的数据库，请选择旧版的数据库文件。"_s, u"提示"_s,
                         platform::MsgIcon::Exclamation);
        return false;
    case ImportStatus::Failed:
        platform::showError(parent, u"数据库导入出错，当前数据库未作改动。\n"_s + err);
        return false;
    case ImportStatus::Done:
        break;
    }
    platform::inform(parent, u"数据库已导入完毕。"_s, u"报告"_s);
    return true;
}

bool chooseAndImportOldDatabase(QWidget *parent, const std::function<bool()> &mayReplace)
{
    const QString path = platform::messages().openFileName(parent, u"导入旧数据库"_s, platform::dataFolder(),
                                                           u"旧版主数据库 (CL.MDB cl.mdb Cl.mdb)"_s);
    if (path.isEmpty() || (mayReplace && !mayReplace()))
        return false;
    return ImportOldDatabase(parent, path);
}

} // namespace drawing::ui
