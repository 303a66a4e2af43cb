#pragma once
// Reading back what was printed to a PDF file, and answering the print dialog with one.
#include "platform/scriptedmessages.h"

#include <QAbstractButton>
#include <QDialog>
#include <QProcess>
#include <QRectF>
#include <QXmlStreamReader>
#include <QStandardPaths>
#include <QString>
#include <optional>

namespace testfixture {

// The PDF's text as pdftotext gives it (each page ends with a form feed); nothing when pdftotext is
// not installed. `layout` keeps the columns of the page in place.
inline std::optional<QString> pdfText(const QString &path, bool layout = false)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (layout)
        args << QStringLiteral("-layout");
    args << path << QStringLiteral("-");
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct PdfWord
{
    QString text;
    QRectF box; // in points, on its page
    double pageWidth = 0;
};

// Every word of the PDF with its place (pdftotext -bbox); nothing when pdftotext is not installed.
inline std::optional<QList<PdfWord>> pdfWords(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(tool, {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    p.waitForFinished(30000);
    QList<PdfWord> words;
    double pageWidth = 0;
    QXmlStreamReader xml(p.readAllStandardOutput());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QStringLiteral("page"))
            pageWidth = a.value(QStringLiteral("width")).toDouble();
        else if (xml.name() == QStringLiteral("word")) {
            PdfWord w;
            w.box = QRectF(QPointF(a.value(QStringLiteral("xMin")).toDouble(), a.value(QStringLiteral("yMin")).toDouble()),
                           QPointF(a.value(QStringLiteral("xMax")).toDouble(), a.value(QStringLiteral("yMax")).toDouble()));
            w.pageWidth = pageWidth;
            w.text = xml.readElementText();
            words << w;
        }
    }
    return words;
}

// The pages of the PDF's text.
inline QStringList pdfPages(const QString &text)
{
    QStringList pages = text.split(QChar(u'\f'));
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// A scripted seam that prints whatever reaches the print dialog to `pdfPath`: the preview's print
// button is pressed, and the print dialog is answered with the PDF file.
inline void printDialogsTo(platform::ScriptedMessages *msgs, const QString &pdfPath)
{
    msgs->onDialog = [pdfPath](QDialog *d) {
        if (d->objectName() == QStringLiteral("reportPreview")) {
            if (auto *print = d->findChild<QAbstractButton *>(QStringLiteral("cmdPrint")))
                print->click();
            return d->result();
        }
        return platform::answerPrintDialog(d, pdfPath);
    };
}

} // namespace testfixture
