#include "showworkbook.h"

#include "filewrite.h"
#include "messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace platform {

namespace {

QString safeStem(const QString &stem)
{
    QString out;
    for (const QChar c : stem) {
        if (c.unicode() >= 32 && !u"/\\:*?\"<>|"_s.contains(c))
            out.append(c);
    }
    out = out.trimmed();
    return out.isEmpty() ? u"workbook"_s : out;
}

QStringList &temporaryWorkbooks()
{
    static QStringList files;
    return files;
}

// Removed when the program ends: the spreadsheet program has read the file by then, and what the
// user wants to keep was saved elsewhere.
void removeAtExit(const QString &file)
{
    if (temporaryWorkbooks().isEmpty() && QCoreApplication::instance())
        qAddPostRoutine(removeShownWorkbooks);
    temporaryWorkbooks().append(file);
}

void offerCopy(QWidget *parent, const QString &file, const QString &stem)
{
    const QString text = u"没有可以打开工作簿的程序。工作簿已写入：\n%1\n\n该文件在程序结束时删除。要另存一份到其他位置吗？"_s.arg(
        QDir::toNativeSeparators(file));
    if (!confirm(parent, text))
        return;
    const QString start = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                              .filePath(safeStem(stem) + u".xlsx"_s);
    QString target = messages().saveFileName(parent, u"另存工作簿"_s, start, u"Excel 工作簿 (*.xlsx)"_s);
    if (target.isEmpty())
        return;
    if (QFileInfo(target).suffix().isEmpty())
        target += u".xlsx"_s;
    if (QFileInfo::exists(target)
        && !confirm(parent, u"文件 %1 已存在，要替换它吗？"_s.arg(QDir::toNativeSeparators(target))))
        return;
    // Written whole through the one checked write: a file being replaced stays as it was on failure.
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        showError(parent, u"无法保存工作簿到 %1：%2"_s.arg(QDir::toNativeSeparators(target), source.errorString()));
        return;
    }
    if (QString error; !writeWholeFile(target, source.readAll(), &error)) {
        showError(parent, error);
        return;
    }
    inform(parent, u"工作簿已保存到：\n%1"_s.arg(QDir::toNativeSeparators(target)));
}

} // namespace

void removeShownWorkbooks()
{
    for (const QString &file : std::as_const(temporaryWorkbooks()))
        QFile::remove(file);
    temporaryWorkbooks().clear();
}

bool showWorkbook(QWidget *parent, const Workbook &book, const QString &fileStem, QString *path)
{
    // Reserves a fresh name; the writer then replaces the empty file.
    QTemporaryFile reserved(QDir(temporaryFolder()).filePath(safeStem(fileStem) + u"-XXXXXX.xlsx"_s));
    reserved.setAutoRemove(false);
    if (!reserved.open()) {
        showError(parent, u"无法在临时文件夹 %1 中创建工作簿：%2"_s.arg(QDir::toNativeSeparators(temporaryFolder()),
                                                                        reserved.errorString()));
        return false;
    }
    const QString file = reserved.fileName();
    reserved.close();

    QString error;
    if (!writeXlsx(book, file, &error)) {
        QFile::remove(file);
        showError(parent, error);
        return false;
    }
    removeAtExit(file);
    if (path)
        *path = file;
    if (!messages().openWithDesktop(file))
        offerCopy(parent, file, fileStem);
    return true;
}

} // namespace platform
