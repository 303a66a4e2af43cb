#pragma once
// Test seam: records every message and answers from queues. A question with no scripted answer
// gets its default button (Ok, Yes or No); a file choice with none gets "" (cancel); a dialog is handed
// to onDialog, or rejected unseen when no handler is set. There is no default printer unless
// onDefaultPrinter sets one up, and the desktop opens every file unless desktopOpens is false.
#include "messages.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace platform {

struct ShownMessage
{
    QString text;
    QString title;
    MsgIcon icon;
    MsgButtons buttons;
    MsgDefault defaultButton = MsgDefault::First;
};

class ScriptedMessages : public MessageSeam
{
public:
    QList<ShownMessage> shown;
    QList<MsgAnswer> answers;
    QStringList fileNames;
    QStringList openedWithDesktop;
    bool desktopOpens = true;
    std::function<bool(QPrinter *)> onDefaultPrinter;
    std::function<int(QDialog *)> onDialog;
    QList<QDialog *> dialogs; // every dialog handed to execDialog, in order (valid during the call)
    QStringList dialogNames;  // their objectNames, kept after they are gone

    MsgAnswer message(QWidget *parent, const QString &text, const QString &title, MsgIcon icon,
                      MsgButtons buttons, MsgDefault defaultButton = MsgDefault::First) override;
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override;
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override;
    QString existingDirectory(QWidget *, const QString &, const QString &) override;
    int execDialog(QDialog *dialog) override;
    bool openWithDesktop(const QString &path) override;
    bool useDefaultPrinter(QPrinter *printer) override;

    QStringList texts() const;
    QString lastText() const { return shown.isEmpty() ? QString() : shown.constLast().text; }
    void clear();
};

// Answers a print dialog as a user who picks "print to a PDF file" with the file pdfPath, for use
// in onDialog; any other dialog is rejected.
int answerPrintDialog(QDialog *dialog, const QString &pdfPath);
// Points a printer at a PDF file, for onDefaultPrinter: a default printer that writes there.
bool printToPdf(QPrinter *printer, const QString &pdfPath);

// Installs a fresh ScriptedMessages and returns it (owned by the seam).
ScriptedMessages *installScriptedMessages();

} // namespace platform
