// The keyboard across windows: Enter presses a focused button, Enter in a box moves on without
// closing the dialog and selects the box it reaches, Esc closes only dialogs with a cancel key,
// and the login starts in the password box.
#include "../app/fixture.h"

#include "app/ui/frmabort.h"
#include "app/ui/frmhelp.h"
#include "app/ui/frmsetting.h"
#include "catalogue/ui/dialogs.h"
#include "drawing/ui/frmdraw.h"
#include "drawing/ui/frmopenpicture.h"
#include "drawing/ui/frmsavepicex.h"
#include "drawing/ui/frmviewmc.h"
#include "optimise/ui/frmhandup.h"
#include "optimise/ui/frmoption.h"
#include "optimise/yhoption.h"
#include "platform/keys.h"
#include "platform/lists.h"
#include "shell/frmlogin.h"
#include "shell/frmsavefile.h"
#include "stats/ui/pricedialogs.h"
#include "warehouse/ui/frmenter.h"
#include "warehouse/ui/frmpost.h"
#include "warehouse/ui/frmquery.h"
#include "warehouse/warehousestore.h"
#include "windcheck/ui/frmfm01.h"
#include "windcheck/ui/frmfy.h"
#include "windcheck/ui/frmfy01.h"
#include "windcheck/ui/frmmainfy01.h"
#include "windcheck/ui/frmresultfy01.h"

#include <QApplication>
#include <QComboBox>
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

// A dialog under test and whatever must outlive it (the window a later step came from).
struct Opened
{
    std::unique_ptr<QWidget> owner;
    QDialog *dialog = nullptr;
};

Opened openDialog(const QString &name)
{
    Opened o;
    auto own = [&o](QDialog *d) {
        o.owner.reset(d);
        o.dialog = d;
    };
    if (name == u"plain"_s) {
        // Qt makes the first auto-default button the default one when a dialog is shown.
        auto *d = new keyflow::PlainDialog;
        auto *layout = new QVBoxLayout(d);
        layout->addWidget(platform::namedLineEdit(u"box"_s, d));
        auto *button = new QPushButton(u"确定"_s, d);
        button->setObjectName(u"button"_s);
        layout->addWidget(button);
        own(d);
    } else if (name == u"frmOpenPicture"_s) {
        own(new drawing::ui::frmOpenPicture);
    } else if (name == u"frmSavePicEX"_s) {
        own(new drawing::ui::frmSavePicEX);
    } else if (name == u"frmInput"_s) {
        own(new drawing::ui::frmInput);
    } else if (name == u"frmViewMC"_s) {
        own(new drawing::ui::frmViewMC);
    } else if (name == u"frmSaveFile"_s) {
        own(new shell::FrmSaveFile);
    } else if (name == u"frmFY"_s) {
        own(new windcheck::ui::FrmFY);
        // An empty required field: the check stops at its message.
        auto *shape = o.dialog->findChild<QComboBox *>(u"cmbFHZTXXS"_s);
        shape->setCurrentIndex(-1);
        shape->clearEditText();
    } else if (name == u"FrmMainFY01"_s) {
        own(new windcheck::ui::FrmMainFY01);
    } else if (name == u"frmFY01"_s || name == u"frmFM01"_s || name == u"FrmResultFY01"_s) {
        auto *chain = new windcheck::ui::FrmMainFY01;
        o.owner.reset(chain);
        if (name == u"frmFM01"_s) {
            o.dialog = new windcheck::ui::FrmFM01(chain);
        } else {
            auto *glass = new windcheck::ui::FrmFY01(chain);
            o.dialog = name == u"frmFY01"_s ? static_cast<QDialog *>(glass) : new windcheck::ui::FrmResultFY01(glass, chain);
        }
    } else if (name == u"frmEnter"_s) {
        own(new warehouse::ui::FrmEnter);
    } else if (name == u"frmEnterData"_s) {
        own(new warehouse::ui::FrmEnterData(QStringList(6)));
    } else if (name == u"frmPost"_s || name == u"frmPostData"_s) {
        auto *issue = new warehouse::ui::FrmPost;
        own(issue);
        if (name == u"frmPostData"_s)
            o.dialog = new warehouse::ui::FrmPostData(issue);
    } else if (name == u"frmQuery"_s) {
        own(new warehouse::ui::FrmQuery);
    } else if (name == u"frmHandup"_s) {
        own(new optimise::ui::FrmHandup(optimise::currentCutSettings()));
    } else if (name == u"frmSZZJ"_s) {
        own(new stats::ui::FrmSZZJ);
    } else if (name == u"frmJSJE"_s) {
        own(new stats::ui::FrmJSJE);
    } else if (name == u"frmInputCJ"_s) {
        own(new catalogue::FrmInputCJ);
    } else if (name == u"frmPrice"_s) {
        own(new catalogue::FrmPrice);
    }
    return o;
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
    void cleanup()
    {
        platform::closeConnection(warehouse::kCKConn);
        m_fx.reset();
    }

    void focusedButtonTakesEnterAndSpace_data();
    void focusedButtonTakesEnterAndSpace();
    void escapeFollowsTheCancelKey();
    void settingsDialogsCloseOnlyOnOk_data();
    void settingsDialogsCloseOnlyOnOk();
    void enterSelectsTheBoxItReaches();
    void catalogueDialogKeys();
    void keysInDialogBoxes_data();
    void keysInDialogBoxes();
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

    // About closes on Enter too; 帮助 on Esc, from its text box.
    app::FrmAbort aboutAgain;
    aboutAgain.show();
    QVERIFY(QTest::qWaitForWindowActive(&aboutAgain));
    QTest::keyClick(aboutAgain.focusWidget() ? aboutAgain.focusWidget() : &aboutAgain, Qt::Key_Return);
    QVERIFY(!aboutAgain.isVisible());
    app::FrmHelp help;
    help.show();
    QVERIFY(QTest::qWaitForWindowActive(&help));
    help.findChild<QWidget *>(u"rtf"_s)->setFocus();
    QTest::keyClick(help.focusWidget(), Qt::Key_Escape);
    QVERIFY(!help.isVisible());
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
    QCOMPARE(price.entered(), std::optional<QString>(u"10000"_s));
}

void TstKeyFlow::keysInDialogBoxes_data()
{
    // Enter in a box moves to `focus` (empty: the focus stays) and presses `pressed` (empty:
    // nothing); a box on no chain does nothing and the dialog stays open. With `pressEnd`, Enter
    // on the button the chain reached presses it.
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<bool>("pressEnd");
    const int enter = Qt::Key_Return;
    const int esc = Qt::Key_Escape;
    auto row = [](const char *dialog, const char *box, int key, const char *focus, const char *pressed = "",
                  bool pressEnd = false) {
        QTest::addRow("%s %s %s", dialog, box, key == Qt::Key_Escape ? "Esc" : "Enter")
            << QString::fromLatin1(dialog) << QString::fromLatin1(box) << key << QString::fromLatin1(focus)
            << QString::fromLatin1(pressed) << pressEnd;
    };
    row("plain", "box", enter, "");
    row("plain", "box", esc, "");
    // drawing library and text dialogs
    row("frmOpenPicture", "txtCBN", enter, "OKButton", "", true);
    row("frmOpenPicture", "lvw", enter, "");
    row("frmSavePicEX", "Text2", enter, "Text1");
    row("frmSavePicEX", "Text1", enter, "OKButton", "", true);
    row("frmSavePicEX", "Text1", esc, "");
    row("frmInput", "Text1", enter, "OKButton", "", true);
    row("frmInput", "Text1", esc, "");
    row("frmViewMC", "File1", enter, "");
    // backup target
    row("frmSaveFile", "Dir1", enter, "TxtFileName");
    row("frmSaveFile", "TxtFileName", enter, "OKButton", "", true);
    row("frmSaveFile", "TxtFileName", esc, "");
    // wind checks: the simple one checks on Enter, the two-step chain moves down its forms
    row("frmFY", "txtCS", enter, "", "Command1");
    row("frmFY", "cmbJZGD", enter, "", "Command1");
    row("frmFY", "txtCS", esc, "");
    row("FrmMainFY01", "Text3", enter, "Combo1");
    row("FrmMainFY01", "Combo3", enter, "Text4");
    row("FrmMainFY01", "Text8", enter, "CmdNext");
    row("frmFY01", "Text1", enter, "Text2");
    row("frmFY01", "Text13", enter, "OKButton");
    row("frmFY01", "Text1", esc, "");
    row("frmFM01", "Text5", enter, "OKButton");
    row("FrmResultFY01", "RTB", enter, "");
    row("FrmResultFY01", "RTB", esc, "");
    // warehouse bills
    row("frmEnter", "TxtLLLY", enter, "TxtYT");
    row("frmEnter", "TxtRQ", enter, "OKButton", "", true);
    row("frmEnter", "lvw", enter, "");
    row("frmEnterData", "TxtMC", enter, "TxtGG");
    row("frmEnterData", "CmbZL", enter, "OKButton", "", true);
    row("frmPost", "TxtRQ", enter, "OKButton", "", true);
    row("frmPost", "lvw", enter, "");
    row("frmPostData", "TxtSL", enter, "OKButton", "", true);
    row("frmPostData", "TxtZL", enter, "");
    row("frmPostData", "LvwR", enter, "");
    row("frmQuery", "TxtZDZ", enter, "CmdQuery");
    // optimisation piece list, statistics price dialogs, catalogue
    row("frmHandup", "TxtName", enter, "TxtCD");
    row("frmHandup", "TxtCD", enter, "TxtSL");
    row("frmHandup", "TxtSL", enter, "cmdAdd", "", true);
    row("frmSZZJ", "Text10", enter, "Text11");
    row("frmSZZJ", "Text13", enter, "OKButton", "", true);
    row("frmJSJE", "Text11", enter, "OKButton", "", true);
    row("frmInputCJ", "Combo1", enter, "OKButton", "", true);
    row("frmPrice", "Text1", enter, "", "OKButton");
}

void TstKeyFlow::keysInDialogBoxes()
{
    QFETCH(QString, dialog);
    QFETCH(QString, box);
    QFETCH(int, key);
    QFETCH(QString, focus);
    QFETCH(QString, pressed);
    QFETCH(bool, pressEnd);
    QString err;
    QCOMPARE(int(app::OpenMainDatabase(nullptr, &err)), int(app::OpenStatus::Opened));
    QCOMPARE(int(warehouse::OpenCKDatabase().status), int(app::OpenStatus::Opened));
    Opened o = openDialog(dialog);
    QVERIFY(o.dialog);
    QStringList clicks;
    const auto buttons = o.dialog->findChildren<QPushButton *>();
    for (QPushButton *b : buttons)
        connect(b, &QPushButton::clicked, this, [&clicks, b] { clicks << b->objectName(); });
    o.dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(o.dialog));
    auto *target = o.dialog->findChild<QWidget *>(box);
    QVERIFY(target);
    target->setFocus();
    QWidget *start = o.dialog->focusWidget();
    QVERIFY(start == target || target->isAncestorOf(start) || start->focusProxy() == target);
    QTest::keyClick(start, Qt::Key(key));

    if (!pressed.isEmpty()) {
        QCOMPARE(clicks, QStringList{pressed});
        return;
    }
    QCOMPARE(clicks, QStringList());
    QVERIFY(o.dialog->isVisible());
    QWidget *now = o.dialog->focusWidget();
    QCOMPARE(now->objectName(), focus.isEmpty() ? start->objectName() : focus);
    if (auto *edit = qobject_cast<QLineEdit *>(now); edit && !focus.isEmpty())
        QCOMPARE(edit->selectedText(), edit->text());
    if (pressEnd) {
        QTest::keyClick(now, Qt::Key_Return);
        QCOMPARE(clicks, QStringList{focus});
    }
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

    // Where the current row is the selected one, neither is left without the other.
    QTreeWidget chosen;
    platform::currentIsSelected(&chosen);
    auto *c = new QTreeWidgetItem(&chosen, {u"c"_s});
    auto *d = new QTreeWidgetItem(&chosen, {u"d"_s});
    chosen.selectionModel()->setCurrentIndex(chosen.indexFromItem(d), QItemSelectionModel::NoUpdate);
    QCOMPARE(platform::selectedItem(&chosen), d);
    chosen.clearSelection();
    QCOMPARE(chosen.currentItem(), nullptr);
    chosen.setCurrentItem(c);
    QCOMPARE(platform::selectedItem(&chosen), c);
    QVERIFY(!d->isSelected());
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
