#include "fixture.h"

#include "app/generalsettings.h"
#include "app/dialogs/frminputbox.h"
#include "app/ui/frmsetting.h"

#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using namespace app;
using platform::SettingsStore;

namespace {
template<typename T>
T *child(QWidget *parent, const QString &name)
{
    auto *w = parent->findChild<T *>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

QString stored(const QString &key) { return SettingsStore::get(kSettingsGeneral, key, u"<absent>"_s); }

void click(QWidget *dialog, const QString &button)
{
    QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
}

// Enters text as an input method commits it (QTest types only Latin-1 keys).
void enterText(QLineEdit *e, const QString &text)
{
    QInputMethodEvent ev;
    ev.setCommitString(text);
    QCoreApplication::sendEvent(e, &ev);
}

// Types into the focused box: "\b" is Backspace, "\r" Enter, anything else the character itself.
void typeKeys(QLineEdit *e, const QString &keys)
{
    for (const QChar c : keys) {
        if (c == u'\b')
            QTest::keyClick(e, Qt::Key_Backspace);
        else if (c == u'\r')
            QTest::keyClick(e, Qt::Key_Return);
        else
            QTest::keyClicks(e, QString(c));
    }
}
} // namespace

class TstSettings : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_fx.reset(); }

    void startupFlags_data();
    void startupFlags();
    void dialogShowsStoredSettings_data();
    void dialogShowsStoredSettings();
    void okStoresAndApplies_data();
    void okStoresAndApplies();
    void cancelStoresNothing();
    void okReportsUnwritableSettings();
    void inputBox_data();
    void inputBox();
    void inputBoxRefusesEmpty();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
};

void TstSettings::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp(false));
    OutPutFileTypeFlag = 7;
    FYOptionFlag = 7;
}

void TstSettings::startupFlags_data()
{
    QTest::addColumn<QString>("outputType"); // "<absent>" leaves the key out
    QTest::addColumn<QString>("windCheck");
    QTest::addColumn<int>("outputFlag");
    QTest::addColumn<int>("windFlag");
    QTest::newRow("nothing stored") << u"<absent>"_s << u"<absent>"_s << 0 << 1;
    QTest::newRow("stored choices") << u"1"_s << u"0"_s << 1 << 0;
    QTest::newRow("not numbers take defaults") << u"text"_s << u"x1"_s << 0 << 1;
    QTest::newRow("too wide takes defaults") << u"70000"_s << u"-40000"_s << 0 << 1;
}

void TstSettings::startupFlags()
{
    QFETCH(QString, outputType);
    QFETCH(QString, windCheck);
    QFETCH(int, outputFlag);
    QFETCH(int, windFlag);
    if (outputType != u"<absent>")
        SettingsStore::set(kSettingsGeneral, kKeyOutputFileType, outputType);
    if (windCheck != u"<absent>")
        SettingsStore::set(kSettingsGeneral, kKeyWindCheck, windCheck);
    LoadStartupSettings();
    QCOMPARE(int(OutPutFileTypeFlag), outputFlag);
    QCOMPARE(int(FYOptionFlag), windFlag);
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstSettings::dialogShowsStoredSettings_data()
{
    QTest::addColumn<QStringList>("stored"); // DW, TEL, ADDRESS, OutPutFileType, FYOPTION; "<absent>" left out
    QTest::addColumn<QStringList>("texts");  // txtCompany, txtTelnum, txtAddress
    QTest::addColumn<QString>("exportChoice");
    QTest::addColumn<QString>("modelChoice");
    const QString absent = u"<absent>"_s;
    QTest::newRow("nothing stored") << QStringList{absent, absent, absent, absent, absent}
                                    << QStringList{QString(), QString(), QString()} << u"OptExcel"_s
                                    << u"optStandard"_s;
    QTest::newRow("stored values") << QStringList{u"O'Neil 门窗厂"_s, u"0571-88"_s, u"\"东路\" 1号"_s, u"1"_s, u"1"_s}
                                   << QStringList{u"O'Neil 门窗厂"_s, u"0571-88"_s, u"\"东路\" 1号"_s} << u"OptText"_s
                                   << u"optEasy"_s;
    QTest::newRow("any other number chooses the second")
        << QStringList{absent, absent, absent, u"2"_s, u"-1"_s} << QStringList{QString(), QString(), QString()}
        << u"OptText"_s << u"optEasy"_s;
    QTest::newRow("not numbers read as 0") << QStringList{absent, absent, absent, u"txt"_s, u"easy"_s}
                                           << QStringList{QString(), QString(), QString()} << u"OptExcel"_s
                                           << u"optStandard"_s;
}

void TstSettings::dialogShowsStoredSettings()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, texts);
    QFETCH(QString, exportChoice);
    QFETCH(QString, modelChoice);
    const QStringList keys = {kKeyCompany, kKeyTelephone, kKeyAddress, kKeyOutputFileType, kKeyWindCheck};
    for (int i = 0; i < keys.size(); ++i)
        if (stored[i] != u"<absent>")
            SettingsStore::set(kSettingsGeneral, keys[i], stored[i]);
    LoadStartupSettings();
    const qint16 outputFlag = OutPutFileTypeFlag;
    const qint16 windFlag = FYOptionFlag;

    FrmSetting dlg;
    dlg.show();
    QCOMPARE(dlg.windowTitle(), u"设置用户"_s);
    QCOMPARE(child<QLineEdit>(&dlg, u"txtCompany"_s)->text(), texts[0]);
    QCOMPARE(child<QLineEdit>(&dlg, u"txtTelnum"_s)->text(), texts[1]);
    QCOMPARE(child<QLineEdit>(&dlg, u"txtAddress"_s)->text(), texts[2]);
    QVERIFY(child<QRadioButton>(&dlg, exportChoice)->isChecked());
    QVERIFY(child<QRadioButton>(&dlg, modelChoice)->isChecked());
    // Opening changes nothing in effect.
    QCOMPARE(OutPutFileTypeFlag, outputFlag);
    QCOMPARE(FYOptionFlag, windFlag);
}

void TstSettings::okStoresAndApplies_data()
{
    QTest::addColumn<QStringList>("typed"); // company, telephone, address
    QTest::addColumn<QString>("exportChoice");
    QTest::addColumn<QString>("modelChoice");
    QTest::addColumn<QString>("outputType");
    QTest::addColumn<QString>("windCheck");

    QTest::newRow("text file and simple check")
        << QStringList{u"塑钢门窗厂"_s, u"123"_s, u"北路 8号"_s} << u"OptText"_s << u"optEasy"_s << u"1"_s << u"1"_s;
    QTest::newRow("excel and standard check")
        << QStringList{u"It's \"ours\""_s, QString(), QString()} << u"OptExcel"_s << u"optStandard"_s << u"0"_s
        << u"0"_s;
}

void TstSettings::okStoresAndApplies()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, exportChoice);
    QFETCH(QString, modelChoice);
    QFETCH(QString, outputType);
    QFETCH(QString, windCheck);

    FrmSetting dlg;
    dlg.show();
    const QStringList boxes = {u"txtCompany"_s, u"txtTelnum"_s, u"txtAddress"_s};
    for (int i = 0; i < boxes.size(); ++i)
        enterText(child<QLineEdit>(&dlg, boxes[i]), typed[i]);
    QTest::mouseClick(child<QRadioButton>(&dlg, exportChoice), Qt::LeftButton);
    QTest::mouseClick(child<QRadioButton>(&dlg, modelChoice), Qt::LeftButton);
    click(&dlg, u"cmdOK"_s);

    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(stored(kKeyCompany), typed[0]);
    QCOMPARE(stored(kKeyTelephone), typed[1]);
    QCOMPARE(stored(kKeyAddress), typed[2]);
    QCOMPARE(stored(kKeyOutputFileType), outputType);
    QCOMPARE(stored(kKeyWindCheck), windCheck);
    // In effect at once, and at the next start.
    QCOMPARE(QString::number(OutPutFileTypeFlag), outputType);
    QCOMPARE(QString::number(FYOptionFlag), windCheck);
    OutPutFileTypeFlag = FYOptionFlag = 7;
    LoadStartupSettings();
    QCOMPARE(QString::number(OutPutFileTypeFlag), outputType);
    QCOMPARE(QString::number(FYOptionFlag), windCheck);
}

void TstSettings::cancelStoresNothing()
{
    // Nothing stored: start-up chose the simple check, the dialog shows 标准.
    LoadStartupSettings();
    QCOMPARE(int(FYOptionFlag), 1);

    FrmSetting dlg;
    dlg.show();
    QVERIFY(child<QRadioButton>(&dlg, u"optStandard"_s)->isChecked());
    enterText(child<QLineEdit>(&dlg, u"txtCompany"_s), u"新厂"_s);
    QTest::mouseClick(child<QRadioButton>(&dlg, u"OptText"_s), Qt::LeftButton);
    click(&dlg, u"cmdCancel"_s);

    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    for (const QString &key : {kKeyCompany, kKeyTelephone, kKeyAddress, kKeyOutputFileType, kKeyWindCheck})
        QCOMPARE(stored(key), u"<absent>"_s);
    QCOMPARE(int(FYOptionFlag), 1);
    QCOMPARE(int(OutPutFileTypeFlag), 0);
}

void TstSettings::okReportsUnwritableSettings()
{
    // The settings file's folder is a file: nothing can be written there.
    const QString blocker = m_fx->dir->filePath(u"blocker"_s);
    {
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    SettingsStore::useFile(blocker + u"/settings.ini"_s);
    FrmSetting dlg;
    dlg.show();
    enterText(child<QLineEdit>(&dlg, u"txtCompany"_s), u"新厂"_s);
    click(&dlg, u"cmdOK"_s);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QVERIFY2(m_fx->msgs->lastText().startsWith(u"设置无法保存到 "_s), qPrintable(m_fx->msgs->lastText()));
    QVERIFY(m_fx->msgs->lastText().contains(u"只在本次运行中有效"_s));
}

void TstSettings::inputBox_data()
{
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<QString>("keys");     // typed right after the box opens
    QTest::addColumn<QString>("button");   // "" when the keys closed it
    QTest::addColumn<QString>("shown");    // box text before the button
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("ok");

    QTest::newRow("empty default shows 1") << QString() << QString() << u"OKButton"_s << u"1"_s << u"1"_s << true;
    QTest::newRow("typing replaces default") << u"3"_s << u"12"_s << u"OKButton"_s << u"12"_s << u"12"_s << true;
    QTest::newRow("only digits pass") << u"3"_s << u"1a-.+ 2"_s << u"OKButton"_s << u"12"_s << u"12"_s << true;
    QTest::newRow("backspace passes") << u"3"_s << u"45\b"_s << u"OKButton"_s << u"4"_s << u"4"_s << true;
    QTest::newRow("enter acts as OK") << u"3"_s << u"5\r"_s << QString() << QString() << u"5"_s << true;
    QTest::newRow("cancel keeps default") << u"4"_s << u"9"_s << u"CancelButton"_s << u"9"_s << u"4"_s << false;
    QTest::newRow("text that reaches the box is accepted")
        << u"2樘"_s << QString() << u"OKButton"_s << u"2樘"_s << u"2樘"_s << true;
}

void TstSettings::inputBox()
{
    QFETCH(QString, defaultText);
    QFETCH(QString, keys);
    QFETCH(QString, button);
    QFETCH(QString, shown);
    QFETCH(QString, result);
    QFETCH(bool, ok);

    QString seen;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        d->show();
        auto *box = child<QLineEdit>(d, u"TxtCount"_s);
        [&] {
            QCOMPARE(d->windowTitle(), u"输入框"_s);
            QCOMPARE(d->focusWidget(), box);
            QCOMPARE(box->selectedText(), box->text());
        }();
        typeKeys(box, keys);
        seen = box->text();
        if (!button.isEmpty())
            click(d, button);
        return d->result();
    };
    const std::optional<QString> count = FrmInputBox::ask(nullptr, defaultText);
    QCOMPARE(count.value_or(defaultText), result);
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmInputBox"_s});
    if (!button.isEmpty())
        QCOMPARE(seen, shown);
    QCOMPARE(count.has_value(), ok);
    // The opener the job windows use: the count, or the default when cancelled.
    QCOMPARE(InputBoxText(u"标题"_s, u"提示"_s, defaultText), ok ? result : defaultText);
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstSettings::inputBoxRefusesEmpty()
{
    bool stayedOpen = false;
    m_fx->msgs->onDialog = [&](QDialog *d) {
        d->show();
        auto *box = child<QLineEdit>(d, u"TxtCount"_s);
        typeKeys(box, u"\b"_s);
        click(d, u"OKButton"_s);
        stayedOpen = d->isVisible() && d->result() == QDialog::Rejected;
        typeKeys(box, u"2\r"_s);
        return d->result();
    };
    const std::optional<QString> count = FrmInputBox::ask(nullptr, u"5"_s);
    QCOMPARE(count.value_or(u"5"_s), u"2"_s);
    QVERIFY(stayedOpen);
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"樘数不能为空！"_s});
    QCOMPARE(m_fx->msgs->shown.first().title, u"提示！"_s);
    QVERIFY(m_fx->msgs->shown.first().icon == platform::MsgIcon::Information);
    QVERIFY(count.has_value());
}

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
