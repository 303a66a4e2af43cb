#pragma once
// The message seam: every message box, question, file choice and modal dialog of the system goes
// through here. The application installs the Qt implementation; tests install ScriptedMessages,
// which records what was asked and answers from a script, so no test blocks on a modal window.
#include <QString>
#include <functional>
#include <optional>

class QWidget;
class QDialog;
class QPrinter;

namespace platform {

enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };
// The button that Enter presses: the first (Ok or Yes), or No where a slip of the key would
// destroy data.
enum class MsgDefault { First, No };

class MessageSeam
{
public:
    virtual ~MessageSeam() = default;
    virtual MsgAnswer message(QWidget *parent, const QString &text, const QString &title, MsgIcon icon,
                              MsgButtons buttons, MsgDefault defaultButton = MsgDefault::First) = 0;
    // Empty text when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    virtual QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir) = 0;
    // Shows a dialog modally and returns its result code.
    virtual int execDialog(QDialog *dialog) = 0;
    // Opens a file with the desktop's default application (workbooks, PDFs).
    virtual bool openWithDesktop(const QString &path) = 0;
    // Points `printer` at the desktop's default printer; false when there is none.
    virtual bool useDefaultPrinter(QPrinter *printer) = 0;
};

MessageSeam &messages();
// Takes ownership; the previous seam is deleted.
void installMessages(MessageSeam *seam);

// Shorthands with the system's usual title.
void inform(QWidget *parent, const QString &text, const QString &title = QStringLiteral("提示"),
            MsgIcon icon = MsgIcon::Information);
void showError(QWidget *parent, const QString &text, const QString &title = QStringLiteral("出错"));
bool confirm(QWidget *parent, const QString &text, const QString &title = QStringLiteral("提示"),
             MsgButtons buttons = MsgButtons::YesNo, MsgDefault defaultButton = MsgDefault::First);
// The question before something is deleted: Yes and No with No the default, so that a slip of
// Enter keeps it. The text names what goes, with `deletedName`.
bool confirmDelete(QWidget *parent, const QString &text, MsgIcon icon = MsgIcon::Information,
                   const QString &title = QStringLiteral("提示"));
// What a delete question names: "name（编号 n）".
QString deletedName(const QString &name, const QString &number);
int execDialog(QDialog *dialog);
// The one-line input box (a dialog named "InputBox", shown through execDialog) starting from
// `text`; no value when the user cancels.
std::optional<QString> askText(QWidget *parent, const QString &title, const QString &prompt,
                               const QString &text);

// Where a file dialog starts: an existing folder, and for saving a file name. `dirOrPath` is a
// folder or a proposed file (a name with a suffix); a folder that does not exist gives way to its
// nearest existing parent, or the home folder. A save with no name proposes "未命名" with the
// filter's first suffix.
QString fileDialogStart(const QString &dirOrPath, const QString &filter, bool saving);

// Seam for the running program.
class QtMessages : public MessageSeam
{
public:
    MsgAnswer message(QWidget *parent, const QString &text, const QString &title, MsgIcon icon,
                      MsgButtons buttons, MsgDefault defaultButton = MsgDefault::First) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override;
    QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir) override;
    int execDialog(QDialog *dialog) override;
    bool openWithDesktop(const QString &path) override;
    bool useDefaultPrinter(QPrinter *printer) override;
};

} // namespace platform
