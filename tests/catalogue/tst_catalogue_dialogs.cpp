#include "helpers.h"

#include "catalogue/ui/dialogs.h"

#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using namespace catalogue;
using namespace cattest;

Q_DECLARE_METATYPE(catalogue::ItemKind)

namespace {
QString focusName(QDialog *dialog) { return dialog->focusWidget() ? dialog->focusWidget()->objectName() : QString(); }

// Shows a dialog modelessly so that keys reach it as they do when it runs.
bool showActive(QDialog *dialog)
{
    dialog->show();
    dialog->activateWindow();
    return QTest::qWaitForWindowActive(dialog);
}
} // namespace

class TstCatalogueDialogs : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }

    void makerDialogForm();
    void makerDialogValidatesInOrder_data();
    void makerDialogValidatesInOrder();
    void makerDialogEnterChainAndNoEscape();

    void nameDialog();
    void nameDialogAsk();

    void optionDialogChoice_data();
    void optionDialogChoice();

    void itemDialogForm_data();
    void itemDialogForm();
    void itemDialogKeys_data();
    void itemDialogKeys();
    void itemDialogValidatesInOrder_data();
    void itemDialogValidatesInOrder();

    void priceDialog_data();
    void priceDialog();
    void priceDialogKeys();

private:
    template<typename Dialog>
    void expectRefused(Dialog *dialog, const QString &focus, const QString &text, const QString &title = u"提示"_s);
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstCatalogueDialogs::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
}

template<typename Dialog>
void TstCatalogueDialogs::expectRefused(Dialog *dialog, const QString &focus, const QString &text,
                                        const QString &title)
{
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QCOMPARE(m_fx->msgs->shown.first().text, text);
    QCOMPARE(m_fx->msgs->shown.first().title, title);
    QCOMPARE(m_fx->msgs->shown.first().icon, platform::MsgIcon::Information);
    QCOMPARE(focusName(dialog), focus);
    QVERIFY(!dialog->entered());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
}

void TstCatalogueDialogs::makerDialogForm()
{
    FrmInputCJ dialog;
    QVERIFY(!dialog.entered());
    QCOMPARE(dialog.objectName(), u"frmInputCJ"_s);
    QCOMPARE(dialog.findChild<QGroupBox *>(u"Frame1"_s)->title(), u"输入内容："_s);
    QCOMPARE(dialog.findChild<QPushButton *>(u"OKButton"_s)->text(), u"确定 &Y"_s);
    QCOMPARE(dialog.findChild<QPushButton *>(u"CancelButton"_s)->text(), u"取消 &C"_s);
    auto *combo = dialog.findChild<QComboBox *>(u"Combo1"_s);
    QVERIFY(!combo->isEditable());
    QCOMPARE(combo->count(), 4);
    const QStringList kinds = {u"型材厂家"_s, u"型钢厂家"_s, u"板材厂家"_s, u"配件厂家"_s};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(combo->itemText(i), kinds[i]);
    QCOMPARE(combo->currentIndex(), -1);
    dialog.setLabelCaptions({u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s});
    for (int i = 0; i < 4; ++i)
        QVERIFY(box(&dialog, i));
    QCOMPARE(dialog.findChild<QLabel *>(u"Label5"_s)->text(), u"e"_s);
    QCOMPARE(focusName(&dialog), u"Text10"_s);
}

void TstCatalogueDialogs::makerDialogValidatesInOrder_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("kindIndex");
    QTest::addColumn<QString>("refusedAt"); // empty: accepted
    QTest::newRow("all empty") << QStringList{QString(), QString(), QString(), QString()} << 0 << u"Text10"_s;
    QTest::newRow("telephone empty") << QStringList{u"厂"_s, QString(), u"-"_s, u"-"_s} << -1 << u"Text11"_s;
    QTest::newRow("fax empty") << QStringList{u"厂"_s, u"-"_s, u"-"_s, QString()} << 2 << u"Text13"_s;
    QTest::newRow("no kind") << QStringList{u"厂"_s, u"-"_s, u"-"_s, u"-"_s} << -1 << u"Combo1"_s;
    QTest::newRow("accepted") << QStringList{u"O'Neil 厂"_s, u" 0571 "_s, u"杭州"_s, u"-"_s} << 2 << QString();
}

void TstCatalogueDialogs::makerDialogValidatesInOrder()
{
    QFETCH(QStringList, texts);
    QFETCH(int, kindIndex);
    QFETCH(QString, refusedAt);
    FrmInputCJ dialog;
    dialog.setTexts(texts);
    dialog.setKindIndex(kindIndex);
    clickOk(&dialog);
    if (!refusedAt.isEmpty())
        return expectRefused(&dialog, refusedAt, u"数据不能为空！"_s);
    QVERIFY(m_fx->msgs->shown.isEmpty());
    const std::optional<Maker> maker = dialog.entered();
    QVERIFY(maker);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const QStringList typed = {maker->name, maker->phone, maker->address, maker->fax};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(typed[i], texts[i]); // as typed, blanks and quotes kept
    QCOMPARE(maker->kind, kindIndex + 1);
    QCOMPARE(maker->id, 0); // the 编号 is the caller's
}

void TstCatalogueDialogs::makerDialogEnterChainAndNoEscape()
{
    FrmInputCJ dialog;
    QVERIFY(showActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), box(&dialog, 0));
    const QStringList chain = {u"Text11"_s, u"Text12"_s, u"Text13"_s, u"Combo1"_s, u"OKButton"_s};
    for (const QString &next : chain) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
    }
    // Enter on the focused OK presses it: the empty name is refused.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(m_fx->msgs->lastText(), u"数据不能为空！"_s);
    QCOMPARE(QApplication::focusWidget(), box(&dialog, 0));
    // No cancel button: Esc leaves the dialog open.
    QTest::keyClick(box(&dialog, 0), Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    // Letters are welcome in the maker's boxes.
    QTest::keyClicks(box(&dialog, 1), u"ab-1"_s);
    QCOMPARE(box(&dialog, 1)->text(), u"ab-1"_s);
}

void TstCatalogueDialogs::nameDialog()
{
    FrmInputXL dialog;
    QVERIFY(!dialog.entered());
    QCOMPARE(dialog.objectName(), u"frmInputXL"_s);
    dialog.setLabelCaption(u"系列名称"_s);
    QCOMPARE(dialog.findChild<QLabel *>(u"Label1"_s)->text(), u"系列名称"_s);
    clickOk(&dialog);
    expectRefused(&dialog, u"Text10"_s, u"数据不能为空！"_s);

    QVERIFY(showActive(&dialog));
    QTest::keyClicks(box(&dialog, 0), u"60'XL"_s);
    QTest::keyClick(box(&dialog, 0), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"OKButton"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(dialog.entered(), std::optional<QString>(u"60'XL"_s));
}

void TstCatalogueDialogs::nameDialogAsk()
{
    QString caption, label, shown;
    answerDialogs(m_fx->msgs, {[&](QDialog *d) {
                                   caption = d->windowTitle();
                                   label = d->findChild<QLabel *>(u"Label1"_s)->text();
                                   shown = box(d, 0)->text();
                                   return fillAndOk({u"新名"_s})(d);
                               },
                               cancel()});
    QCOMPARE(FrmInputXL::ask(nullptr, u"编辑->门窗系列"_s, u"系列名称"_s, u"旧名"_s), std::optional<QString>(u"新名"_s));
    QCOMPARE(caption, u"编辑->门窗系列"_s);
    QCOMPARE(label, u"系列名称"_s);
    QCOMPARE(shown, u"旧名"_s);
    QCOMPARE(FrmInputXL::ask(nullptr, u"添加->门窗厂家"_s, u"厂家名称"_s), std::nullopt);
    QCOMPARE(m_fx->msgs->dialogNames, (QStringList{u"frmInputXL"_s, u"frmInputXL"_s}));
}

void TstCatalogueDialogs::optionDialogChoice_data()
{
    QTest::addColumn<bool>("chooseSeries");
    QTest::addColumn<bool>("viaOk");
    QTest::addColumn<int>("choice");
    QTest::newRow("maker left selected") << false << true << 0;
    QTest::newRow("series chosen") << true << true << 1;
    QTest::newRow("series chosen, window closed") << true << false << 1;
    QTest::newRow("maker, window closed") << false << false << 0;
}

void TstCatalogueDialogs::optionDialogChoice()
{
    QFETCH(bool, chooseSeries);
    QFETCH(bool, viaOk);
    QFETCH(int, choice);
    FrmXLOption dialog;
    QCOMPARE(dialog.windowTitle(), u"选项"_s);
    QCOMPARE(dialog.findChild<QGroupBox *>(u"Frame1"_s)->title(), u"选择要添加的结点选项"_s);
    QCOMPARE(dialog.findChild<QPushButton *>(u"OKButton"_s)->text(), u"&Y 确定"_s);
    QVERIFY(!dialog.findChild<QPushButton *>(u"CancelButton"_s));
    auto *maker = dialog.findChild<QRadioButton *>(u"Option1"_s);
    auto *series = dialog.findChild<QRadioButton *>(u"Option2"_s);
    QCOMPARE(maker->text(), u"添加厂家"_s);
    QCOMPARE(series->text(), u"添加系列"_s);
    QVERIFY(maker->isChecked());
    QVERIFY(showActive(&dialog));
    QVERIFY(maker->isChecked());
    if (chooseSeries)
        series->setChecked(true);
    if (viaOk)
        clickOk(&dialog);
    else
        dialog.close();
    QCOMPARE(int(dialog.choice()), choice);
}

void TstCatalogueDialogs::itemDialogForm_data()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("boxes");
    QTest::newRow("profile") << ItemKind::Profile << u"frmInputXCXG"_s << 7;
    QTest::newRow("steel") << ItemKind::Steel << u"frmInputXCXG"_s << 7;
    QTest::newRow("panel") << ItemKind::Panel << u"frmInputPC"_s << 6;
    QTest::newRow("fitting") << ItemKind::Fitting << u"frmInputPJ"_s << 4;
}

void TstCatalogueDialogs::itemDialogForm()
{
    QFETCH(ItemKind, kind);
    QFETCH(QString, name);
    QFETCH(int, boxes);
    const auto dialog = makeItemDialog(kind, nullptr);
    QVERIFY(!dialog->entered());
    QCOMPARE(dialog->objectName(), name);
    QCOMPARE(dialog->kind(), kind);
    QCOMPARE(dialog->boxCount(), boxes);
    QVERIFY(box(dialog.get(), boxes - 1));
    QVERIFY(!box(dialog.get(), boxes));
    QCOMPARE(dialog->findChild<QGroupBox *>(u"Frame1"_s)->title(), u"输入内容："_s);
    const ItemDialogTexts &texts = itemDialogTexts(kind);
    QCOMPARE(texts.labels.size(), boxes);
    QCOMPARE(texts.defaults.size(), boxes);
    dialog->setLabelCaptions(texts.labels);
    QCOMPARE(dialog->findChild<QLabel *>(u"Label%1"_s.arg(boxes))->text(), texts.labels.last());
    QCOMPARE(focusName(dialog.get()), u"Text10"_s);
}

void TstCatalogueDialogs::itemDialogKeys_data()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::addColumn<QString>("numericBoxes");
    QTest::newRow("profile") << ItemKind::Profile << u"0011011"_s;
    QTest::newRow("steel") << ItemKind::Steel << u"0011011"_s;
    QTest::newRow("panel") << ItemKind::Panel << u"011101"_s;
    QTest::newRow("fitting") << ItemKind::Fitting << u"0001"_s;
}

void TstCatalogueDialogs::itemDialogKeys()
{
    QFETCH(ItemKind, kind);
    QFETCH(QString, numericBoxes);
    const auto dialog = makeItemDialog(kind, nullptr);
    QVERIFY(showActive(dialog.get()));
    QCOMPARE(QApplication::focusWidget(), box(dialog.get(), 0));
    for (int i = 0; i < numericBoxes.size(); ++i) {
        QLineEdit *b = box(dialog.get(), i);
        b->setFocus();
        QTest::keyClicks(b, u"a1 b.2-"_s);
        QCOMPARE(b->text(), numericBoxes[i] == u'1' ? u"1.2"_s : u"a1 b.2-"_s);
        QTest::keyClick(b, Qt::Key_Backspace);
        QCOMPARE(b->text().size(), numericBoxes[i] == u'1' ? 2 : 6);
        // Enter moves on, to OK after the last box.
        QTest::keyClick(b, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(),
                 i + 1 < numericBoxes.size() ? u"Text1%1"_s.arg(i + 1) : u"OKButton"_s);
    }
    // Esc does not close the dialog.
    QTest::keyClick(box(dialog.get(), 0), Qt::Key_Escape);
    QVERIFY(dialog->isVisible());
}

void TstCatalogueDialogs::itemDialogValidatesInOrder_data()
{
    QTest::addColumn<ItemKind>("kind");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("refusedAt"); // empty: accepted
    QTest::addColumn<QString>("message");
    const QString empty = u"数据不能为空！"_s;
    const QString notANumber = u"请输入正确的数字！"_s;
    QTest::newRow("profile: name first") << ItemKind::Profile
                                         << QStringList{QString(), u"X"_s, u"1.2.3"_s, u"2"_s, u"-"_s, u"1"_s, u"1"_s}
                                         << u"Text10"_s << empty;
    QTest::newRow("profile: two points in the length")
        << ItemKind::Profile << QStringList{u"框"_s, u"X"_s, u"1.2.3"_s, QString(), u"-"_s, u"1"_s, u"1"_s}
        << u"Text12"_s << notANumber;
    QTest::newRow("profile: lone point in the density")
        << ItemKind::Profile << QStringList{u"框"_s, u"X"_s, u"6000"_s, u"2"_s, u"-"_s, u"."_s, u"1"_s} << u"Text15"_s
        << notANumber;
    QTest::newRow("steel: price empty")
        << ItemKind::Steel << QStringList{u"钢"_s, u"G"_s, u"6000"_s, u"2"_s, u"-"_s, u"1"_s, QString()} << u"Text16"_s
        << empty;
    QTest::newRow("panel: pasted words in the width")
        << ItemKind::Panel << QStringList{u"玻"_s, u"2000"_s, u"两千"_s, u"5"_s, u"白"_s, u"40"_s} << u"Text12"_s
        << notANumber;
    QTest::newRow("panel: colour empty")
        << ItemKind::Panel << QStringList{u"玻"_s, u"2000"_s, u"2000"_s, u"5"_s, QString(), u"40"_s} << u"Text14"_s
        << empty;
    QTest::newRow("fitting: price pasted with its unit")
        << ItemKind::Fitting << QStringList{u"铰链"_s, u"P"_s, u"只"_s, u"3.5元"_s} << u"Text13"_s << notANumber;
    QTest::newRow("profile accepted") << ItemKind::Profile
                                      << QStringList{u"框 '料'"_s, u"X'60"_s, u"6000.0"_s, u".5"_s, u"-"_s, u"1.25"_s,
                                                     u"9000"_s}
                                      << QString() << QString();
    QTest::newRow("fitting accepted") << ItemKind::Fitting << QStringList{u"铰链"_s, u"1.2.3"_s, u"只"_s, u"3."_s}
                                      << QString() << QString();
}

void TstCatalogueDialogs::itemDialogValidatesInOrder()
{
    QFETCH(ItemKind, kind);
    QFETCH(QStringList, texts);
    QFETCH(QString, refusedAt);
    QFETCH(QString, message);
    const auto dialog = makeItemDialog(kind, nullptr);
    dialog->setTexts(texts); // as a paste would put them, past the key filter
    clickOk(dialog.get());
    if (!refusedAt.isEmpty()) {
        expectRefused(dialog.get(), refusedAt, message);
        return;
    }
    QVERIFY(m_fx->msgs->shown.isEmpty());
    const std::optional<QStringList> entered = dialog->entered();
    QVERIFY(entered);
    for (int i = 0; i < texts.size(); ++i)
        QCOMPARE(entered->at(i), texts[i]);
    QCOMPARE(entered->size(), texts.size()); // the boxes only: owner and 编号 are the caller's
}

void TstCatalogueDialogs::priceDialog_data()
{
    QTest::addColumn<QString>("text"); // null: leave the default
    QTest::addColumn<QString>("message");
    QTest::newRow("default") << QString() << QString();
    QTest::newRow("typed") << u"8500.5"_s << QString();
    QTest::newRow("empty") << u""_s << u"数据不能为空！"_s;
    QTest::newRow("two points") << u"1.2.3"_s << u"请输入正确的数字！"_s;
    QTest::newRow("lone point") << u"."_s << u"请输入正确的数字！"_s;
    QTest::newRow("pasted words") << u"一万"_s << u"请输入正确的数字！"_s;
}

void TstCatalogueDialogs::priceDialog()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    FrmPrice dialog;
    QVERIFY(!dialog.entered());
    QCOMPARE(dialog.findChild<QGroupBox *>(u"Frame1"_s)->title(), u"价格输入："_s);
    QCOMPARE(dialog.box()->objectName(), u"Text1"_s);
    QCOMPARE(dialog.box()->text(), u"10000"_s);
    QVERIFY(dialog.findChild<QPushButton *>(u"OKButton"_s)->isDefault());
    if (!text.isNull())
        dialog.box()->setText(text);
    clickOk(&dialog);
    if (!message.isEmpty()) {
        expectRefused(&dialog, u"Text1"_s, message, u"提示！"_s);
        return;
    }
    QCOMPARE(dialog.entered(), std::optional<QString>(text.isNull() ? u"10000"_s : text));
}

void TstCatalogueDialogs::priceDialogKeys()
{
    {
        FrmPrice dialog;
        QVERIFY(showActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), dialog.box());
        dialog.box()->clear();
        QTest::keyClicks(dialog.box(), u"9x.5y"_s);
        // Text from an input method is filtered as well.
        QInputMethodEvent im;
        im.setCommitString(u"元"_s);
        QCoreApplication::sendEvent(dialog.box(), &im);
        QCOMPARE(dialog.box()->text(), u"9.5"_s);
        QTest::keyClick(dialog.box(), Qt::Key_Return); // the default button
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.entered(), std::optional<QString>(u"9.5"_s));
    }
    FrmPrice dialog;
    QVERIFY(showActive(&dialog));
    QTest::keyClick(dialog.box(), Qt::Key_Escape); // the cancel button
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.entered());
}

QTEST_MAIN(TstCatalogueDialogs)
#include "tst_catalogue_dialogs.moc"
