#pragma once
// Reads the first sheet of a workbook with openpyxl, a reader independent of ours, through
// read_first_sheet.py beside this header.
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace independentreader {

enum class Independent { Read, Missing, Failed };

// {"sheet": name, "rows": [[cell, ...], ...]}: text cells as strings, number cells as numbers.
inline Independent readIndependently(const QString &path, QJsonObject *out, QString *why)
{
    using namespace Qt::StringLiterals;
    const QString script = QFINDTESTDATA("read_first_sheet.py");
    QStringList interpreters = {u"/usr/bin/python3"_s, QStandardPaths::findExecutable(u"python3"_s)};
    for (const QString &python : interpreters) {
        if (python.isEmpty() || !QFileInfo::exists(python))
            continue;
        QProcess p;
        p.start(python, {script, path});
        if (!p.waitForFinished(120000)) {
            *why = u"python3 did not finish"_s;
            return Independent::Failed;
        }
        if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 3)
            continue; // this interpreter has no openpyxl
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            *why = QString::fromUtf8(p.readAllStandardError());
            return Independent::Failed;
        }
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput(), &error);
        if (!doc.isObject()) {
            *why = error.errorString();
            return Independent::Failed;
        }
        *out = doc.object();
        return Independent::Read;
    }
    return Independent::Missing;
}

} // namespace independentreader
