// The keyboard across windows: Enter presses a focused button, Enter in a box moves on without
// closing the dialog and selects the box it reaches, Esc closes only dialogs with a cancel key,
// and the login starts in the password box.
#include "../app/fixture.h"

#include "app/ui/frmabort.h"
#include "app/ui/frmsetting.h"
#include "catalogue/ui/dialogs.h"
#include "optimise/ui/frmoption.h"
#include "platform/keys.h"
#include "platform/lists.h"
#include "shell/frmlogin.h"

#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace keyflow {
// A dialog of ours, for the application-wide rules.
class PlainDialog : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;
};
} // namespace keyflow

namespace {
QDialog *makeDialog(const QString &name)
{
    if (name == u"settings"_s)
        return new app::FrmSetting;
    return new optimise::FrmOption;
}

// Typing a character that QTest cannot type (it knows only ASCII).
void typeText(QWidget *w, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}
} // namespace

class TstKeyFlow : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_fx = std::make_unique<testfixture::DataFolder>();
        QVERIFY(m_fx->setUp(false));
    }
    void cleanup() { m_fx.reset(); }

    void focusedButtonTakesEnterAndSpace_data();
    void focusedButtonTakesEnterAndSpace();
    void escapeFollowsTheCancelKey();
    void settingsDialogsCloseOnlyOnOk_data();
    void settingsDialogsCloseOnlyOnOk();
    void enterSelectsTheBoxItReaches();
    void catalogueDialogKeys();
    void selectionNotCurrentItem();
    void loginStartsInThePasswordBox();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstKeyFlow::focusedButtonTakesEnterAndSpace_data()
{
    QTest::addColumn<bool>("inDialog");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("window, Return") << false << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("window, keypad Enter") << false << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("window, Space") << false << int(Qt::Key_Space) << int(Qt::NoModifier);
    QTest::newRow("dialog, Return") << true << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("dialog, Space") << true << int(Qt::Key_Space) << int(Qt::NoModifier);
}

void TstKeyFlow::focusedButtonTakesEnterAndSpace()
{
    QFETCH(bool, inDialog);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    std::unique_ptr<QWidget> window(inDialog ? new keyflow::PlainDialog : new QWidget);
    auto *layout = new QVBoxLayout(window.get());
    auto *box = new QLineEdit(window.get());
    auto *button = new QPushButton(u"确定"_s, window.get());
    button->setAutoDefault(false); // as the work windows make their buttons
    layout->addWidget(box);
    layout->addWidget(button);
    int clicks = 0;
    connect(button, &QPushButton::clicked, this, [&] { ++clicks; });
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    button->setFocus();
    QTest::keyClick(button, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicks, 1);
    // A switched-off button stays unpressed.
    button->setEnabled(false);
    QTest::keyClick(button, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(clicks, 1);
    QVERIFY(window->isVisible());
}

void TstKeyFlow::escapeFollowsTheCancelKey()
{
    keyflow::PlainDialog ours;
    ours.show();
    QVERIFY(QTest::qWaitForWindowActive(&ours));
    QTest::keyClick(&ours, Qt::Key_Escape);
    QVERIFY(ours.isVisible());
    platform::cancelOnEscape(&ours);
    QTest::keyClick(&ours, Qt::Key_Escape);
    QVERIFY(!ours.isVisible());
    QCOMPARE(ours.result(), int(QDialog::Rejected));

    // Qt's own dialogs keep their keys.
    QInputDialog qts;
    qts.show();
    QVERIFY(QTest::qWaitForWindowActive(&qts));
    QTest::keyClick(qts.focusWidget(), Qt::Key_Escape);
    QVERIFY(!qts.isVisible());

    // The price dialog has a cancel key, the maker dialog none; About closes on any key.
    catalogue::FrmPrice price;
    catalogue::FrmInputCJ maker;
    app::FrmAbort about;
    for (QDialog *d : std::initializer_list<QDialog *>{&price, &maker, &about}) {
        d->show();
        QVERIFY(QTest::qWaitForWindowActive(d));
        QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape);
    }
    QVERIFY(!price.isVisible());
    QVERIFY(maker.isVisible());
    QVERIFY(!about.isVisible());
}

void TstKeyFlow::settingsDialogsCloseOnlyOnOk_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("ok");
    QTest::newRow("settings") << u"settings"_s << QStringList{u"txtCompany"_s, u"txtTelnum"_s, u"txtAddress"_s}
                              << u"cmdOK"_s;
    QTest::newRow("optimisation options")
        << u"options"_s << QStringList{u"TxtCLC"_s, u"TxtLTC"_s, u"TxtCKK"_s, u"TxtCount"_s, u"TxtYHBL"_s}
        << u"OKButton"_s;
}

void TstKeyFlow::settingsDialogsCloseOnlyOnOk()
{
    QFETCH(QString, dialog);
    QFETCH(QStringList, boxes);
    QFETCH(QString, ok);
    std::unique_ptr<QDialog> d(makeDialog(dialog));
    d->show();
    QVERIFY(QTest::qWaitForWindowActive(d.get()));
    d->findChild<QLineEdit *>(boxes.first())->setFocus();
    for (const QString &name : boxes) {
        QCOMPARE(d->focusWidget()->objectName(), name);
        QTest::keyClick(d->focusWidget(), Qt::Key_Return);
        QVERIFY(d->isVisible());
    }
    QCOMPARE(d->focusWidget()->objectName(), ok);
    QTest::keyClick(d->focusWidget(), Qt::Key_Escape);
    QVERIFY(d->isVisible());
    QTest::keyClick(d->focusWidget(), Qt::Key_Return);
    QVERIFY(!d->isVisible());
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(m_fx->msgs->texts(), QStringList());
}

void TstKeyFlow::enterSelectsTheBoxItReaches()
{
    // The colour box of a profile holds "-": Enter into it, then typing, replaces the dash.
    std::unique_ptr<catalogue::FrmInputItem> item = catalogue::makeItemDialog(catalogue::ItemKind::Profile, nullptr);
    item->setTexts({u"型材"_s, u"60"_s, u"6000"_s, u"2"_s, u"-"_s, u"1.2"_s, u"8000"_s});
    item->show();
    QVERIFY(QTest::qWaitForWindowActive(item.get()));
    auto *thickness = item->findChild<QLineEdit *>(u"Text13"_s);
    auto *colour = item->findChild<QLineEdit *>(u"Text14"_s);
    thickness->setFocus();
    QTest::keyClick(thickness, Qt::Key_Return);
    QCOMPARE(item->focusWidget(), colour);
    typeText(colour, u"白"_s);
    QCOMPARE(colour->text(), u"白"_s);
}

void TstKeyFlow::catalogueDialogKeys()
{
    // The last box leads to OK, whose Enter runs OK's checks.
    std::unique_ptr<catalogue::FrmInputItem> item = catalogue::makeItemDialog(catalogue::ItemKind::Fitting, nullptr);
    item->show();
    QVERIFY(QTest::qWaitForWindowActive(item.get()));
    auto *last = item->findChild<QLineEdit *>(u"Text13"_s);
    last->setFocus();
    QTest::keyClick(last, Qt::Key_Return);
    QCOMPARE(item->focusWidget()->objectName(), u"OKButton"_s);
    QVERIFY(item->isVisible());
    QTest::keyClick(item->focusWidget(), Qt::Key_Return);
    QCOMPARE(m_fx->msgs->lastText(), catalogue::kEmptyMessage);

    // The price dialog's OK is its default button: Enter in its box confirms.
    catalogue::FrmPrice price;
    price.show();
    QVERIFY(QTest::qWaitForWindowActive(&price));
    QTest::keyClick(price.focusWidget(), Qt::Key_Return);
    QCOMPARE(price.result(), int(QDialog::Accepted));
    QCOMPARE(app::InputResult[0], u"10000"_s);
}

void TstKeyFlow::selectionNotCurrentItem()
{
    QTreeWidget list;
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    auto *a = new QTreeWidgetItem(&list, {u"a"_s});
    new QTreeWidgetItem(&list, {u"b"_s});
    QCOMPARE(platform::selectedItem(&list), nullptr);
    list.setCurrentItem(a);
    QCOMPARE(platform::selectedItem(&list), a);
    list.clearSelection();
    QCOMPARE(list.currentItem(), a);
    QCOMPARE(platform::selectedItem(&list), nullptr);
}

void TstKeyFlow::loginStartsInThePasswordBox()
{
    shell::FrmLogin dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    QCOMPARE(dlg.focusWidget()->objectName(), u"txtPassword"_s);
}

QTEST_MAIN(TstKeyFlow)
#include "tst_keyflow.moc"
