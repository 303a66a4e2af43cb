#include "frmsavefile.h"

#include "app/backupstore.h"
#include "platform/keys.h"
#include "platform/messages.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace shell {

// The shell is the application frame's top: its shared state and stores are used unqualified.
using namespace app;

FrmSaveFile::FrmSaveFile(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"frmSaveFile"_s);
    setWindowTitle(u"备份文件"_s);
    setModal(true);

    // A folder path with a chooser stands in for the drive and folder lists.
    m_dir = new QLineEdit(QDir::currentPath(), this);
    m_dir->setObjectName(u"Dir1"_s);
    auto *browse = new QPushButton(u"浏览..."_s, this);
    browse->setObjectName(u"CmdBrowse"_s);
    auto *label = new QLabel(u"备份文件名："_s, this);
    label->setObjectName(u"Label1"_s);
    m_fileName = new QLineEdit(this);
    m_fileName->setObjectName(u"TxtFileName"_s);
    label->setBuddy(m_fileName);
    auto *ok = new QPushButton(u"&Y 确定"_s, this);
    ok->setObjectName(u"OKButton"_s);
    auto *cancel = new QPushButton(u"&E 退出"_s, this);
    cancel->setObjectName(u"CancelButton"_s);

    auto *dirRow = new QHBoxLayout;
    dirRow->addWidget(m_dir, 1);
    dirRow->addWidget(browse);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(dirRow);
    layout->addWidget(label);
    layout->addWidget(m_fileName);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());

    new platform::EnterChain(this, {m_dir, m_fileName, ok});
    connect(browse, &QPushButton::clicked, this, &FrmSaveFile::onBrowse);
    connect(ok, &QPushButton::clicked, this, &FrmSaveFile::onOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_fileName->setFocus();
}

void FrmSaveFile::onBrowse()
{
    const QString dir = platform::messages().existingDirectory(this, windowTitle(), m_dir->text());
    if (!dir.isEmpty())
        m_dir->setText(QDir::fromNativeSeparators(dir));
}

void FrmSaveFile::onOk()
{
    const QString name = m_fileName->text().trimmed();
    if (name.isEmpty()) {
        platform::inform(this, u"文件名不能为空！"_s);
        m_fileName->setFocus();
        return;
    }
    const QString folder = m_dir->text().trimmed();
    if (folder.isEmpty()) {
        platform::inform(this, u"路径不能为空！"_s);
        m_dir->setFocus();
        return;
    }

    BackupStore store;
    switch (store.backupTo(backupTargetPath(folder, name))) {
    case StoreResult::Done:
        accept();
        platform::inform(parentWidget(), u"已备份完毕！"_s);
        return;
    case StoreResult::CopyFailed:
        platform::inform(this, u"复制出错!"_s, u"提示"_s, platform::MsgIcon::None);
        return;
    case StoreResult::TemplateMissing:
    case StoreResult::CannotWrite:
    case StoreResult::CannotOpen:
        // The dialog stays open, so another folder or name can be tried.
        platform::showError(this, store.lastError());
        return;
    }
}

} // namespace shell
