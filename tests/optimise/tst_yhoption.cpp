#include "optimise/ui/frmoption.h"
#include "optimise/yhoption.h"
#include "platform/scriptedmessages.h"
#include "platform/settings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace optimise;

namespace {
const QStringList kBoxes = {u"TxtCLC"_s, u"TxtLTC"_s, u"TxtCKK"_s, u"TxtCount"_s, u"TxtYHBL"_s};
const QStringList kKeys = {u"CLC"_s, u"LTC"_s, u"CKK"_s, u"COUNT"_s, u"YHBL"_s};

QLineEdit *box(QWidget *dialog, const QString &name)
{
    auto *e = dialog->findChild<QLineEdit *>(name);
    if (!e)
        qFatal("no box %s", qPrintable(name));
    return e;
}

void typeInto(QLineEdit *e, const QString &text)
{
    e->clear();
    QTest::keyClicks(e, text);
}

void click(QWidget *dialog, const QString &button)
{
    QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
}

// "KEY=value" pairs into section YHOPTION.
void storeAll(const QStringList &pairs)
{
    for (const QString &p : pairs) {
        const qsizetype eq = p.indexOf(u'=');
        platform::SettingsStore::set(kSettingsOptimise, p.left(eq), p.mid(eq + 1));
    }
}

QString storedText(const QString &key)
{
    return platform::SettingsStore::get(kSettingsOptimise, key, u"<absent>"_s);
}
} // namespace

class TstYHOption : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void dialogShowsStoredValues_data();
    void dialogShowsStoredValues();
    void okRefusesBadInput_data();
    void okRefusesBadInput();
    void okStoresTakenValues_data();
    void okStoresTakenValues();
    void cancelAndReshowDropEdits();
    void saveThenLoadKeepsValues_data();
    void saveThenLoadKeepsValues();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    platform::ScriptedMessages *m_msgs = nullptr;
};

void TstYHOption::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    platform::SettingsStore::useFile(m_dir->filePath(u"settings.ini"_s));
    m_msgs = platform::installScriptedMessages();
    // Leftovers of an earlier case must not leak into a first run.
    CLC = 1;
    LTC = 1;
    CKK = 1;
    COUNT = 1;
    YHBL = 0.5f;
    SAVEPATH = u"stale"_s;
}

void TstYHOption::cleanup() { m_dir.reset(); }

void TstYHOption::dialogShowsStoredValues_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("shown"); // CLC, LTC, CKK, Count, MaxCount, YHBL
    QTest::addColumn<float>("yhbl");

    QTest::newRow("first run") << QStringList() << QStringList{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"50000"_s, u"1"_s}
                               << 1.0f;
    QTest::newRow("ratio without leading zero")
        << QStringList{u"YHBL=.95"_s} << QStringList{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"50000"_s, u".95"_s} << 0.95f;
    QTest::newRow("usual values")
        << QStringList{u"CLC=6000"_s, u"LTC=-5"_s, u"CKK=3"_s, u"COUNT=40000"_s, u"YHBL=0.98"_s}
        << QStringList{u"6000"_s, u"-5"_s, u"3"_s, u"40000"_s, u"50000"_s, u".98"_s} << 0.98f;
    QTest::newRow("stored fractions round down")
        << QStringList{u"CLC=5800.7"_s, u"CKK=-0.5"_s, u"COUNT=99.9"_s}
        << QStringList{u"5800"_s, u"0"_s, u"-1"_s, u"99"_s, u"50000"_s, u"1"_s} << 1.0f;
    QTest::newRow("not numbers take defaults")
        << QStringList{u"CLC=abc"_s, u"LTC=12a"_s, u"CKK="_s, u"COUNT=1.2.3"_s, u"YHBL=.95x"_s}
        << QStringList{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"50000"_s, u"1"_s} << 1.0f;
    QTest::newRow("too wide take defaults")
        << QStringList{u"CLC=32768"_s, u"LTC=-32769"_s, u"CKK=1E6"_s, u"COUNT=2147483648"_s, u"YHBL=1E39"_s}
        << QStringList{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"50000"_s, u"1"_s} << 1.0f;
    QTest::newRow("widest that fit")
        << QStringList{u"CLC=32767"_s, u"LTC=-32768"_s, u"COUNT=-2147483648"_s}
        << QStringList{u"32767"_s, u"-32768"_s, u"0"_s, u"-2147483648"_s, u"50000"_s, u"1"_s} << 1.0f;
}

void TstYHOption::dialogShowsStoredValues()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, shown);
    QFETCH(float, yhbl);
    storeAll(stored);

    FrmOption dlg;
    dlg.show();
    const QStringList names = {u"TxtCLC"_s, u"TxtLTC"_s, u"TxtCKK"_s, u"TxtCount"_s, u"TxtMaxCount"_s, u"TxtYHBL"_s};
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(box(&dlg, names[i])->text(), shown[i]);
    QCOMPARE(YHBL, yhbl);
    QCOMPARE(SAVEPATH, QString());
    QCOMPARE(dlg.windowTitle(), u"基础设置"_s);
}

void TstYHOption::okRefusesBadInput_data()
{
    QTest::addColumn<QStringList>("typed"); // CLC, LTC, CKK, Count, YHBL
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("failedBox");

    const QString invalid = u"数据不合法"_s;
    const QString tooMany = u"数据值不能大于 50000"_s;
    QTest::newRow("letters after number") << QStringList{u"6000"_s, u"12a"_s, u"3"_s, u"100"_s, u"1"_s} << invalid
                                          << u"TxtLTC"_s;
    QTest::newRow("empty kerf") << QStringList{u"6000"_s, u"10"_s, QString(), u"100"_s, u"1"_s} << invalid
                                << u"TxtCKK"_s;
    QTest::newRow("first failing box wins") << QStringList{u"x"_s, u"12a"_s, u"3"_s, u"100"_s, u"1"_s} << invalid
                                            << u"TxtCLC"_s;
    QTest::newRow("numbers checked before the limit")
        << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"50001"_s, u"1..2"_s} << invalid << u"TxtYHBL"_s;
    QTest::newRow("one over the limit") << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"50001"_s, u"1"_s} << tooMany
                                        << u"TxtCount"_s;
    QTest::newRow("rounds over the limit") << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"50000.6"_s, u"1"_s}
                                           << tooMany << u"TxtCount"_s;
    QTest::newRow("far over the limit") << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"1E12"_s, u"1"_s} << tooMany
                                        << u"TxtCount"_s;
    QTest::newRow("length too wide") << QStringList{u"32767.5"_s, u"10"_s, u"3"_s, u"100"_s, u"1"_s} << invalid
                                     << u"TxtCLC"_s;
    QTest::newRow("kerf too wide") << QStringList{u"6000"_s, u"10"_s, u"-32768.5"_s, u"100"_s, u"1"_s} << invalid
                                   << u"TxtCKK"_s;
    QTest::newRow("count too far below zero")
        << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"-3000000000"_s, u"1"_s} << invalid << u"TxtCount"_s;
    QTest::newRow("ratio beyond single precision")
        << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"100"_s, u"1E39"_s} << invalid << u"TxtYHBL"_s;
}

void TstYHOption::okRefusesBadInput()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(QString, failedBox);
    const QStringList before = {u"CLC=5000"_s, u"LTC=1"_s, u"CKK=2"_s, u"COUNT=7"_s, u"YHBL=.9"_s, u"SAVEPATH=D:/out"_s};
    storeAll(before);

    FrmOption dlg;
    dlg.show();
    for (int i = 0; i < kBoxes.size(); ++i)
        typeInto(box(&dlg, kBoxes[i]), typed[i]);
    click(&dlg, u"OKButton"_s);

    QCOMPARE(m_msgs->texts(), QStringList{message});
    QCOMPARE(m_msgs->shown.first().title, u"提示"_s);
    QVERIFY(m_msgs->shown.first().buttons == platform::MsgButtons::Ok);
    QLineEdit *failed = box(&dlg, failedBox);
    QCOMPARE(dlg.focusWidget(), failed);
    QCOMPARE(failed->selectedText(), failed->text());
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    for (const QString &p : before)
        QCOMPARE(storedText(p.section(u'=', 0, 0)), p.section(u'=', 1));
    QCOMPARE(CLC, qint16(5000));
}

void TstYHOption::okStoresTakenValues_data()
{
    QTest::addColumn<QStringList>("typed");  // CLC, LTC, CKK, Count, YHBL
    QTest::addColumn<QStringList>("stored"); // CLC, LTC, CKK, COUNT, YHBL

    QTest::newRow("the limit itself") << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"50000"_s, u"1"_s}
                                      << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"50000"_s, u"1"_s};
    QTest::newRow("half goes to even, down") << QStringList{u"5800.5"_s, u"10.5"_s, u"3"_s, u"2.5"_s, u"1"_s}
                                             << QStringList{u"5800"_s, u"10"_s, u"3"_s, u"2"_s, u"1"_s};
    QTest::newRow("half goes to even, up") << QStringList{u"5801.5"_s, u"11.5"_s, u"3"_s, u"49999.5"_s, u"1"_s}
                                           << QStringList{u"5802"_s, u"12"_s, u"3"_s, u"50000"_s, u"1"_s};
    QTest::newRow("kerf rounds down") << QStringList{u"6000"_s, u"10"_s, u"3.7"_s, u"100"_s, u"1"_s}
                                      << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"100"_s, u"1"_s};
    QTest::newRow("negative kerf rounds down") << QStringList{u"6000"_s, u"10"_s, u"-0.5"_s, u"100"_s, u"1"_s}
                                               << QStringList{u"6000"_s, u"10"_s, u"-1"_s, u"100"_s, u"1"_s};
    QTest::newRow("ratio fraction") << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"100"_s, u"0.95"_s}
                                    << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"100"_s, u".95"_s};
    QTest::newRow("zero and negatives unbounded") << QStringList{u"0"_s, u"-5"_s, u"0"_s, u"0"_s, u"-2"_s}
                                                  << QStringList{u"0"_s, u"-5"_s, u"0"_s, u"0"_s, u"-2"_s};
    QTest::newRow("blanks and exponent") << QStringList{u" 6E3 "_s, u"10"_s, u"3"_s, u"1e2"_s, u"1"_s}
                                         << QStringList{u"6000"_s, u"10"_s, u"3"_s, u"100"_s, u"1"_s};
}

void TstYHOption::okStoresTakenValues()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, stored);
    platform::SettingsStore::set(kSettingsOptimise, u"SAVEPATH"_s, u"D:/out"_s);

    FrmOption dlg;
    dlg.show();
    for (int i = 0; i < kBoxes.size(); ++i)
        typeInto(box(&dlg, kBoxes[i]), typed[i]);
    click(&dlg, u"OKButton"_s);

    QVERIFY(m_msgs->shown.isEmpty());
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    for (int i = 0; i < kKeys.size(); ++i)
        QCOMPARE(storedText(kKeys[i]), stored[i]);
    QCOMPARE(storedText(u"SAVEPATH"_s), QString());
    QCOMPARE(SAVEPATH, QString());
    // The values in memory are the stored ones.
    QCOMPARE(currentOptionTexts().clc, stored[0]);
    QCOMPARE(currentOptionTexts().ckk, stored[2]);
    QCOMPARE(currentOptionTexts().count, stored[3]);
    QCOMPARE(currentOptionTexts().yhbl, stored[4]);
}

void TstYHOption::cancelAndReshowDropEdits()
{
    platform::SettingsStore::set(kSettingsOptimise, u"CLC"_s, u"6000"_s);
    FrmOption dlg;
    dlg.show();
    typeInto(box(&dlg, u"TxtCLC"_s), u"7000"_s);
    click(&dlg, u"CancelButton"_s);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(storedText(u"CLC"_s), u"6000"_s);
    QCOMPARE(CLC, qint16(6000));

    // Shown again, the same dialog starts from the store.
    platform::SettingsStore::set(kSettingsOptimise, u"LTC"_s, u"15"_s);
    dlg.show();
    QCOMPARE(box(&dlg, u"TxtCLC"_s)->text(), u"6000"_s);
    QCOMPARE(box(&dlg, u"TxtLTC"_s)->text(), u"15"_s);
    QCOMPARE(LTC, qint16(15));
}

void TstYHOption::saveThenLoadKeepsValues_data()
{
    QTest::addColumn<int>("clc");
    QTest::addColumn<int>("ltc");
    QTest::addColumn<int>("ckk");
    QTest::addColumn<int>("count");
    QTest::addColumn<float>("yhbl");
    QTest::addColumn<QString>("yhblText");

    QTest::newRow("usual") << 6000 << 10 << 3 << 50000 << 0.95f << u".95"_s;
    QTest::newRow("extremes") << 32767 << -32768 << -1 << int(std::numeric_limits<qint32>::min()) << 1.0f
                              << u"1"_s;
    QTest::newRow("tiny ratio in exponent form") << 0 << 0 << 0 << 0 << 1e-6f << u"1E-06"_s;
    QTest::newRow("negative fraction") << 1 << 2 << 3 << 4 << -0.5f << u"-.5"_s;
}

void TstYHOption::saveThenLoadKeepsValues()
{
    QFETCH(int, clc);
    QFETCH(int, ltc);
    QFETCH(int, ckk);
    QFETCH(int, count);
    QFETCH(float, yhbl);
    QFETCH(QString, yhblText);

    CLC = qint16(clc);
    LTC = qint16(ltc);
    CKK = qint16(ckk);
    COUNT = count;
    YHBL = yhbl;
    SAVEPATH = u"D:/out"_s;
    SaveYHOption();
    QCOMPARE(storedText(u"YHBL"_s), yhblText);

    CLC = LTC = CKK = 99;
    COUNT = 99;
    YHBL = 99;
    SAVEPATH.clear();
    LoadYHOption();
    QCOMPARE(int(CLC), clc);
    QCOMPARE(int(LTC), ltc);
    QCOMPARE(int(CKK), ckk);
    QCOMPARE(int(COUNT), count);
    QCOMPARE(YHBL, yhbl);
    QCOMPARE(SAVEPATH, u"D:/out"_s);
}

QTEST_MAIN(TstYHOption)
#include "tst_yhoption.moc"
