#include "showworkbook.h"

#include "messages.h"

#include <QDir>
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

} // namespace

bool showWorkbook(const Workbook &book, const QString &fileStem, QString *error, QString *path)
{
    // Reserves a fresh name; the writer then replaces the empty file.
    QTemporaryFile reserved(QDir::temp().filePath(safeStem(fileStem) + u"-XXXXXX.xlsx"_s));
    reserved.setAutoRemove(false);
    if (!reserved.open()) {
        if (error)
            *error = u"无法在临时文件夹 %1 中创建工作簿：%2"_s.arg(QDir::tempPath(), reserved.errorString());
        return false;
    }
    const QString file = reserved.fileName();
    reserved.close();

    if (!writeXlsx(book, file, error)) {
        QFile::remove(file);
        return false;
    }
    if (!messages().openWithDesktop(file)) {
        if (error)
            *error = u"无法用电子表格程序打开工作簿 %1"_s.arg(file);
        return false;
    }
    if (path)
        *path = file;
    return true;
}

} // namespace platform
