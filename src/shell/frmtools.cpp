#include "frmtools.h"

#include "frmsavefile.h"
#include "app/backupstore.h"
#include "drawing/ui/importdatabase.h"
#include "platform/messages.h"

#include <QDir>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace shell {

// The shell is the application frame's top: its shared state and stores are used unqualified.
using namespace app;

FrmTools::FrmTools(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmTools"_s);
    setWindowTitle(u"数据库管理器"_s);
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto button = [&](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        layout->addWidget(b);
        return b;
    };
    QPushButton *backup = button(u"CmdBackup"_s, u"备份数据库 &B"_s);
    QPushButton *restore = button(u"CmdRestore"_s, u"还原数据库 &R"_s);
    QPushButton *import = button(u"CmdImport"_s, u"导入旧数据库 &I"_s);
    QPushButton *exit = button(u"CmdExit"_s, u"退出 &Q"_s);
    setMinimumWidth(240);

    connect(backup, &QPushButton::clicked, this, &FrmTools::onBackup);
    connect(restore, &QPushButton::clicked, this, &FrmTools::onRestore);
    connect(import, &QPushButton::clicked, this, &FrmTools::onImport);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

void FrmTools::onBackup()
{
    FrmSaveFile dialog(this);
    platform::execDialog(&dialog);
}

// The import replaces the catalogue, types, jobs and drawings wholesale, so it asks first.
void FrmTools::onImport()
{
    if (!platform::confirm(this, u"导入旧数据库将替换当前的材料、门窗、工程数据和图库，确认要导入吗？"_s,
                           u"提示"_s, platform::MsgButtons::YesNo, platform::MsgDefault::No))
        return;
    drawing::ui::chooseAndImportOldDatabase(this, closeWorkWindows);
}

void FrmTools::onRestore()
{
    const QString path =
        platform::messages().openFileName(this, QString(), QString(), u"打开数据库(*.MBK)"_s);
    if (path.isEmpty())
        return;
    if (!platform::confirm(this, u"还原将用备份文件中的数据替换当前的材料、门窗、工程数据和图库，是否继续？"_s,
                           u"提示"_s, platform::MsgButtons::YesNo, platform::MsgDefault::No))
        return;
    if (!closeWorkWindows())
        return;

    QString error;
    switch (restoreFrom(path, &error)) {
    case StoreResult::Done:
        platform::inform(this, u"数据恢复完毕！"_s);
        return;
    case StoreResult::CannotOpen:
        platform::showError(this, u"无法打开备份文件：%1\n%2"_s.arg(QDir::toNativeSeparators(path), error));
        return;
    case StoreResult::TemplateMissing:
    case StoreResult::CannotWrite:
    case StoreResult::CopyFailed:
        // The restore ran in one transaction: nothing of the main database changed. The cause tells
        // the user which table of the backup did not fit.
        platform::inform(this, error.isEmpty() ? u"复制出错!"_s : u"复制出错!\n"_s + error, u"提示"_s,
                         platform::MsgIcon::None);
        return;
    }
}

} // namespace shell
