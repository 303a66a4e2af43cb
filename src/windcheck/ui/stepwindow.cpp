#include "stepwindow.h"

#include "platform/keys.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace windcheck::ui {

StepWindow::StepWindow(QWidget *previous) : QDialog(previous) {}

void StepWindow::reject() { close(); }

void StepWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    parentWidget()->show();
}

QPushButton *StepWindow::layOutForm(QFormLayout *form, const QString &okCaption)
{
    auto *ok = new QPushButton(okCaption, this);
    ok->setObjectName(u"OKButton"_s);
    auto *cancel = new QPushButton(u"取消"_s, this);
    cancel->setObjectName(u"CancelButton"_s);
    cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    chainFormTo(this, form, ok);
    return ok;
}

void chainFormTo(QObject *owner, QFormLayout *form, QPushButton *last)
{
    QList<QWidget *> chain;
    for (int row = 0; row < form->rowCount(); ++row)
        if (QLayoutItem *field = form->itemAt(row, QFormLayout::FieldRole); field && field->widget())
            chain << field->widget();
    new platform::EnterChain(owner, chain << last);
}

} // namespace windcheck::ui
