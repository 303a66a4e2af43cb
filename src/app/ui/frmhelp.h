#pragma once
#include <QDialog>

class QTextEdit;

namespace app {

// Help viewer: shows help.txt, or "无帮助文件！" when there is none.
class FrmHelp : public QDialog
{
    Q_OBJECT
public:
    explicit FrmHelp(QWidget *parent = nullptr, const QString &helpFile = QStringLiteral(":/app/help.txt"));
};

} // namespace app
