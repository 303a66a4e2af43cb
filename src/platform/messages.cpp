#include "messages.h"
#include "chinese.h"
#include "mdi.h"
#include "scriptedmessages.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QIdentityProxyModel>
#include <QRegularExpression>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>
#include <memory>

using namespace Qt::StringLiterals;

namespace platform {

namespace {
std::unique_ptr<MessageSeam> &seam()
{
    static std::unique_ptr<MessageSeam> s = std::make_unique<QtMessages>();
    return s;
}

// The window manager shortens a title wider than its window: a box is kept wide enough for its
// title, its icon and the title bar's buttons.
void fitTitle(QMessageBox &box, const QString &title)
{
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(title) * 5 / 4 + 140;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// The file list's sizes, kinds and dates in the program's Chinese forms, whatever the system locale.
class ChineseFileColumns : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role) const override
    {
        auto *files = qobject_cast<QFileSystemModel *>(sourceModel());
        if (!files || role != Qt::DisplayRole || index.column() < 1 || index.column() > 3)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        switch (index.column()) {
        case 1:
            return info.isDir() ? QString()
                                : QLocale(QLocale::Chinese, QLocale::China)
                                      .formattedDataSize(info.size(), 2, QLocale::DataSizeTraditionalFormat);
        case 2:
            if (info.isDir())
                return u"文件夹"_s;
            return info.suffix().isEmpty() ? u"文件"_s : info.suffix().toUpper() + u" 文件"_s;
        default: {
            const QDateTime when = info.lastModified();
            return dateText(when.date()) + u' ' + when.time().toString(u"HH:mm"_s);
        }
        }
    }
};

// Qt's own file dialog, in detail view with Chinese sizes and dates and columns fitted to them.
QString runFileDialog(QWidget *parent, const QString &caption, const QString &start, const QString &filter,
                      QFileDialog::AcceptMode accept, QFileDialog::FileMode mode)
{
    const bool proposesFile = accept == QFileDialog::AcceptSave && !QFileInfo(start).isDir();
    QFileDialog dialog(parent, caption, proposesFile ? QFileInfo(start).absolutePath() : start, filter);
    dialog.setObjectName(u"fileDialog"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Callers that care ask about overwriting themselves, in their own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (mode == QFileDialog::Directory)
        dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(accept);
    dialog.setFileMode(mode);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setProxyModel(new ChineseFileColumns(&dialog));
    if (proposesFile)
        dialog.selectFile(QFileInfo(start).fileName());
    fitListColumns(&dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString fileDialogStart(const QString &dirOrPath, const QString &filter, bool saving)
{
    const QFileInfo given(dirOrPath);
    QString folder = dirOrPath;
    QString name;
    // A last part with a suffix proposes a file; anything else names a folder.
    if (!dirOrPath.isEmpty() && !given.isDir() && !given.suffix().isEmpty()) {
        folder = given.absolutePath();
        name = given.fileName();
    }
    QDir dir(folder.isEmpty() ? QDir::homePath() : QFileInfo(folder).absoluteFilePath());
    while (!dir.exists() && !dir.isRoot())
        dir.setPath(QFileInfo(dir.absolutePath()).absolutePath());
    if (!dir.exists())
        dir = QDir::home();
    if (!saving)
        return dir.absolutePath();
    if (name.isEmpty()) {
        const QRegularExpressionMatch m = QRegularExpression(u"\\*(\\.[A-Za-z0-9]+)"_s).match(filter);
        name = u"未命名"_s + (m.hasMatch() ? m.captured(1) : QString());
    }
    return dir.filePath(name);
}

MessageSeam &messages() { return *seam(); }

void installMessages(MessageSeam *s) { seam().reset(s); }

void inform(QWidget *parent, const QString &text, const QString &title, MsgIcon icon)
{
    messages().message(parent, text, title, icon, MsgButtons::Ok);
}

void showError(QWidget *parent, const QString &text, const QString &title)
{
    messages().message(parent, text, title, MsgIcon::Critical, MsgButtons::Ok);
}

bool confirmDelete(QWidget *parent, const QString &text, MsgIcon icon, const QString &title)
{
    return messages().message(parent, text, title, icon, MsgButtons::YesNo, MsgDefault::No) == MsgAnswer::Yes;
}

QString deletedName(const QString &name, const QString &number)
{
    return name + QStringLiteral("（编号 ") + number + QStringLiteral("）");
}

bool confirm(QWidget *parent, const QString &text, const QString &title, MsgButtons buttons,
             MsgDefault defaultButton)
{
    const MsgAnswer a = messages().message(parent, text, title, MsgIcon::Question, buttons, defaultButton);
    return a == MsgAnswer::Yes || a == MsgAnswer::Ok;
}

int execDialog(QDialog *dialog)
{
    fitListColumns(dialog);
    return messages().execDialog(dialog);
}

std::optional<QString> askText(QWidget *parent, const QString &title, const QString &prompt, const QString &text)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("InputBox"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(text);
    if (execDialog(&dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

MsgAnswer QtMessages::message(QWidget *parent, const QString &text, const QString &title, MsgIcon icon,
                              MsgButtons buttons, MsgDefault defaultButton)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (defaultButton == MsgDefault::No && (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel))
        box.setDefaultButton(QMessageBox::No);
    fitTitle(box, title);
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return MsgAnswer::Cancel;
    }
}

QString QtMessages::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter)
{
    return runFileDialog(parent, caption, fileDialogStart(dir, filter, false), filter, QFileDialog::AcceptOpen,
                         QFileDialog::ExistingFile);
}

QString QtMessages::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter)
{
    return runFileDialog(parent, caption, fileDialogStart(dir, filter, true), filter, QFileDialog::AcceptSave,
                         QFileDialog::AnyFile);
}

QString QtMessages::existingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    return runFileDialog(parent, caption, fileDialogStart(dir, QString(), false), QString(),
                         QFileDialog::AcceptOpen, QFileDialog::Directory);
}

int QtMessages::execDialog(QDialog *dialog) { return dialog->exec(); }

bool QtMessages::openWithDesktop(const QString &path)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // xdg-open is started detached and reports success even when no program takes the file type:
    // ask the desktop first whether one does.
    const QString xdgMime = QStandardPaths::findExecutable(u"xdg-mime"_s);
    if (!xdgMime.isEmpty()) {
        const QString type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
        QProcess query;
        query.start(xdgMime, {u"query"_s, u"default"_s, type});
        if (query.waitForFinished(5000) && query.exitCode() == 0 && query.readAllStandardOutput().trimmed().isEmpty())
            return false;
    }
#endif
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtMessages::useDefaultPrinter(QPrinter *printer)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return false;
    printer->setPrinterName(info.printerName());
    return true;
}

// --- scripted seam for tests

MsgAnswer ScriptedMessages::message(QWidget *, const QString &text, const QString &title, MsgIcon icon,
                                    MsgButtons buttons, MsgDefault defaultButton)
{
    shown.append({text, title, icon, buttons, defaultButton});
    if (buttons == MsgButtons::Ok)
        return MsgAnswer::Ok;
    if (!answers.isEmpty())
        return answers.takeFirst();
    if (defaultButton == MsgDefault::No && buttons != MsgButtons::OkCancel)
        return MsgAnswer::No;
    return buttons == MsgButtons::OkCancel ? MsgAnswer::Ok : MsgAnswer::Yes;
}

QString ScriptedMessages::openFileName(QWidget *, const QString &, const QString &, const QString &)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString ScriptedMessages::saveFileName(QWidget *, const QString &, const QString &, const QString &)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString ScriptedMessages::existingDirectory(QWidget *, const QString &, const QString &)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

int ScriptedMessages::execDialog(QDialog *dialog)
{
    dialogs.append(dialog);
    dialogNames.append(dialog->objectName());
    int rc = QDialog::Rejected;
    if (onDialog) {
        rc = onDialog(dialog);
    } else {
        dialog->reject();
    }
    dialogs.removeAll(dialog);
    return rc;
}

bool ScriptedMessages::openWithDesktop(const QString &path)
{
    openedWithDesktop.append(path);
    return desktopOpens;
}

bool ScriptedMessages::useDefaultPrinter(QPrinter *printer)
{
    return onDefaultPrinter && onDefaultPrinter(printer);
}

QStringList ScriptedMessages::texts() const
{
    QStringList t;
    for (const ShownMessage &m : shown)
        t << m.text;
    return t;
}

void ScriptedMessages::clear()
{
    shown.clear();
    answers.clear();
    fileNames.clear();
    dialogNames.clear();
}

bool printToPdf(QPrinter *printer, const QString &pdfPath)
{
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfPath);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return true;
}

int answerPrintDialog(QDialog *dialog, const QString &pdfPath)
{
    auto *print = qobject_cast<QPrintDialog *>(dialog);
    if (!print)
        return QDialog::Rejected;
    printToPdf(print->printer(), pdfPath);
    return QDialog::Accepted;
}

ScriptedMessages *installScriptedMessages()
{
    auto *s = new ScriptedMessages;
    installMessages(s);
    return s;
}

} // namespace platform
