#pragma once
// Catalogue rows made through the store, and drivers for the catalogue's dialogs.
#include "../app/fixture.h"

#include "catalogue/store.h"
#include "catalogue/ui/browser.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>
#include <memory>

namespace cattest {

using namespace Qt::StringLiterals;
using catalogue::ItemKind;

inline qint64 addMaker(const QString &name, int kind)
{
    catalogue::CatalogueStore store;
    const auto id = store.addMaker({0, name, u"-"_s, u"-"_s, u"-"_s, kind});
    if (!id)
        qWarning("%s", qPrintable(store.lastError()));
    return id.value_or(-1);
}

inline qint64 addSeries(qint64 makerId, const QString &name)
{
    catalogue::CatalogueStore store;
    return store.addSeries(makerId, name).value_or(-1);
}

// A plausible item of each kind, named `name`.
inline QVariantList sampleValues(ItemKind kind, const QString &name)
{
    switch (kind) {
    case ItemKind::Profile: return {name, u"X60"_s, 6000.0, 2.0, u"白"_s, 1.25, 9000.0};
    case ItemKind::Steel: return {name, u"G20"_s, 6000.0, 1.5, u"-"_s, 0.85, 5200.0};
    case ItemKind::Panel: return {name, 2000.0, 1500.0, 5.0, u"白"_s, 45.5};
    case ItemKind::Fitting: return {name, u"P1"_s, u"只"_s, 3.5};
    }
    return {};
}

inline qint64 addItem(ItemKind kind, qint64 ownerId, const QString &name)
{
    catalogue::CatalogueStore store;
    const auto id = store.addItem(kind, ownerId, sampleValues(kind, name));
    if (!id)
        qWarning("%s", qPrintable(store.lastError()));
    return id.value_or(-1);
}

inline QTreeWidgetItem *node(catalogue::CatalogueBrowser *browser, const QString &key)
{
    return browser->nodeByKey(key);
}

// Makes a node current and selected the way the keyboard does, which shows its list.
inline void selectNode(catalogue::CatalogueBrowser *browser, QTreeWidgetItem *item)
{
    browser->tree()->setCurrentItem(item);
}

inline void selectRow(catalogue::CatalogueBrowser *browser, int row)
{
    browser->list()->setCurrentItem(browser->list()->topLevelItem(row));
}

// Every column of the list, the empty-headed last one included.
inline QStringList rowTexts(const QTreeWidgetItem *row)
{
    QStringList texts;
    for (int i = 0; i < row->treeWidget()->columnCount(); ++i)
        texts << row->text(i);
    return texts;
}

inline QStringList headers(const QTreeWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->columnCount(); ++i)
        texts << list->headerItem()->text(i);
    return texts;
}

// --- dialogs

using DialogStep = std::function<int(QDialog *)>;

// Hands the next dialogs to the steps in order; a dialog beyond them is cancelled.
inline void answerDialogs(platform::ScriptedMessages *msgs, QList<DialogStep> steps)
{
    auto queue = std::make_shared<QList<DialogStep>>(std::move(steps));
    msgs->onDialog = [queue](QDialog *dialog) {
        if (queue->isEmpty()) {
            dialog->reject();
            return int(QDialog::Rejected);
        }
        return queue->takeFirst()(dialog);
    };
}

inline QLineEdit *box(QDialog *dialog, int index)
{
    return dialog->findChild<QLineEdit *>(u"Text1%1"_s.arg(index));
}

inline int clickOk(QDialog *dialog)
{
    dialog->findChild<QPushButton *>(u"OKButton"_s)->click();
    return dialog->result();
}

// Types the texts into Text1(0), Text1(1), ... (a null text leaves the box as it is) and confirms.
inline DialogStep fillAndOk(const QStringList &texts)
{
    return [texts](QDialog *dialog) {
        for (int i = 0; i < texts.size(); ++i)
            if (!texts[i].isNull())
                box(dialog, i)->setText(texts[i]);
        return clickOk(dialog);
    };
}

// What a dialog showed when it was handed over.
struct SeenDialog
{
    QString name;
    QString caption;
    QStringList labels; // Label1, Label2, ...
    QStringList texts;  // Text1(0), Text1(1), ...
    QString focus;
};

inline DialogStep see(SeenDialog *seen, DialogStep then)
{
    return [seen, then](QDialog *dialog) {
        seen->name = dialog->objectName();
        seen->caption = dialog->windowTitle();
        seen->labels.clear();
        seen->texts.clear();
        for (int i = 1;; ++i) {
            auto *label = dialog->findChild<QWidget *>(u"Label%1"_s.arg(i));
            if (!label)
                break;
            seen->labels << label->property("text").toString();
        }
        for (int i = 0; box(dialog, i); ++i)
            seen->texts << box(dialog, i)->text();
        seen->focus = dialog->focusWidget() ? dialog->focusWidget()->objectName() : QString();
        return then(dialog);
    };
}

inline DialogStep cancel()
{
    return [](QDialog *dialog) {
        dialog->reject();
        return int(QDialog::Rejected);
    };
}

} // namespace cattest
