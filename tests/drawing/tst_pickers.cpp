// The library chooser, the library save dialog and the drawing-file picker, driven as a user would.
#include "../app/fixture.h"
#include "platform/lists.h"
#include "drawingtest.h"

#include "drawing/store.h"
#include "drawing/ui/frmopenpicture.h"
#include "drawing/ui/frmsavepicex.h"
#include "drawing/ui/frmviewmc.h"
#include "drawing/ui/showpicture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace drawing;
using drawing::ui::frmOpenPicture;
using drawing::ui::frmSavePicEX;
using drawing::ui::frmViewMC;
using testfixture::rowCount;

namespace {
// A drawing whose diagonal crosses the middle of any preview.
void saveDiagonal(qint64 number, const QString &name)
{
    CPictire pic;
    pic.AddLine({0, 0}, {9495, 7935});
    pic.AddArc({1000, 0}, {0, 1000}, {-1000, 0});
    QString err;
    QVERIFY2(DrawingStore().saveNew(number, name, pic.lists(), &err), qPrintable(err));
}

bool middleIsDrawn(platform::WidgetSurface *box)
{
    const QImage img = box->snapshot();
    return QColor(img.pixel(img.width() / 2, img.height() / 2)) == QColor(Qt::black);
}

bool isBlank(platform::WidgetSurface *box)
{
    const QImage img = box->snapshot();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (QColor(img.pixel(x, y)) != QColor(Qt::white))
                return false;
    return true;
}
} // namespace

class TstPickers : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openListsAndPreviews();
    void openNeedsASelection();
    void openReturnsNumberAndName();
    void openDeletesWholeDrawing();
    void openPreviewedRowIsTheChosenOne();
    void openThroughTheSeam();

    void saveProposesNextNumber();
    void saveRefusesNumbers_data();
    void saveRefusesNumbers();
    void saveNeedsAName();
    void saveReturnsNumberAndName();

    void viewListsEveryFileAndPreviews();
    void viewChecksTheChoice_data();
    void viewChecksTheChoice();
    void viewUnreadableFile();
    void viewThroughTheSeam();

private:
    std::unique_ptr<testfixture::DataFolder> m_fx;
    QString m_pictures;
};

void TstPickers::init()
{
    m_fx = std::make_unique<testfixture::DataFolder>();
    QVERIFY(m_fx->setUp());
    m_pictures = m_fx->dir->filePath(u"pictures"_s);
    QVERIFY(QDir().mkpath(m_pictures));
    platform::SettingsStore::set(u"TANDRIKE"_s, u"PICTUREPATH"_s, m_pictures);
}

void TstPickers::cleanup()
{
    m_fx.reset();
}

void TstPickers::openListsAndPreviews()
{
    saveDiagonal(12, u"平开窗"_s);
    saveDiagonal(3, u"推拉窗"_s);
    frmOpenPicture dlg;
    QCOMPARE(dlg.windowTitle(), u"打开门窗图"_s);
    QCOMPARE(dlg.lvw->topLevelItemCount(), 2);
    QCOMPARE(dlg.lvw->topLevelItem(0)->text(0), u"平开窗"_s);
    QCOMPARE(dlg.lvw->topLevelItem(0)->text(1), u"12"_s);
    QVERIFY(isBlank(dlg.PicMC));

    dlg.txtCBN->setText(u"1"_s); // a part of 12 selects nothing
    QVERIFY(!dlg.lvw->currentItem());
    dlg.txtCBN->setText(u"12"_s);
    QCOMPARE(dlg.lvw->currentItem(), dlg.lvw->topLevelItem(0));
    QVERIFY(middleIsDrawn(dlg.PicMC));

    // Clicking an item shows its number.
    dlg.lvw->setCurrentItem(dlg.lvw->topLevelItem(1));
    QCOMPARE(dlg.txtCBN->text(), u"3"_s);
    QVERIFY(middleIsDrawn(dlg.PicMC));
}

void TstPickers::openNeedsASelection()
{
    saveDiagonal(1, u"a"_s);
    frmOpenPicture dlg;
    dlg.OKButton->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"无选取图形！"_s});
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(!dlg.choice());
    dlg.CmdDel->click();
    QCOMPARE(m_fx->msgs->texts().count(u"无选取图形！"_s), 2);
    QCOMPARE(rowCount(app::mainDb(), u"图"_s), 1);
}

void TstPickers::openReturnsNumberAndName()
{
    saveDiagonal(7, u"固定窗"_s);
    frmOpenPicture dlg;
    dlg.lvw->setCurrentItem(dlg.lvw->topLevelItem(0));
    dlg.OKButton->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    const std::optional<drawing::ui::PictureChoice> chosen = dlg.choice();
    QVERIFY(chosen);
    QCOMPARE(chosen->number, u"7"_s);
    QCOMPARE(chosen->name, u"固定窗"_s);
}

void TstPickers::openDeletesWholeDrawing()
{
    saveDiagonal(5, u"拱窗"_s);
    saveDiagonal(6, u"留下"_s);
    frmOpenPicture dlg;
    dlg.txtCBN->setText(u"5"_s);
    m_fx->msgs->answers = {platform::MsgAnswer::No};
    dlg.CmdDel->click();
    QCOMPARE(m_fx->msgs->lastText(), u"确定要删除吗？(拱窗)"_s);
    QCOMPARE(m_fx->msgs->shown.constLast().buttons, platform::MsgButtons::YesNo);
    QCOMPARE(rowCount(app::mainDb(), u"图"_s), 2);

    m_fx->msgs->answers = {platform::MsgAnswer::Yes};
    dlg.CmdDel->click();
    QCOMPARE(dlg.lvw->topLevelItemCount(), 1);
    QCOMPARE(dlg.lvw->topLevelItem(0)->text(0), u"留下"_s);
    QCOMPARE(rowCount(app::mainDb(), u"图"_s), 1);
    QCOMPARE(rowCount(app::mainDb(), u"Arc"_s), 1);
    QCOMPARE(rowCount(app::mainDb(), u"Line"_s), 1);
    // Nothing is selected now, so nothing looks chosen.
    QVERIFY(!platform::selectedItem(dlg.lvw));
    QVERIFY(isBlank(dlg.PicMC));
}

// The list taking the focus makes its first row current: that row is previewed and selected, so
// OK opens it; a row deselected with Ctrl+click is no longer previewed, and OK asks for one.
void TstPickers::openPreviewedRowIsTheChosenOne()
{
    saveDiagonal(12, u"平开窗"_s);
    saveDiagonal(3, u"推拉窗"_s);
    frmOpenPicture dlg;
    dlg.show();
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    dlg.lvw->setFocus(Qt::TabFocusReason);
    QCOMPARE(dlg.lvw->currentItem(), dlg.lvw->topLevelItem(0));
    QCOMPARE(platform::selectedItem(dlg.lvw), dlg.lvw->topLevelItem(0));
    QVERIFY(middleIsDrawn(dlg.PicMC));
    QCOMPARE(dlg.txtCBN->text(), u"12"_s);

    const QRect row = dlg.lvw->visualItemRect(dlg.lvw->topLevelItem(0));
    QTest::mouseClick(dlg.lvw->viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
    QVERIFY(!platform::selectedItem(dlg.lvw));
    QVERIFY(isBlank(dlg.PicMC));
    dlg.OKButton->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"无选取图形！"_s});

    QTest::keyClick(dlg.lvw, Qt::Key_Down);
    QVERIFY(platform::selectedItem(dlg.lvw));
    const QString shown = dlg.txtCBN->text();
    dlg.OKButton->click();
    QVERIFY(dlg.choice());
    QCOMPARE(dlg.choice()->number, shown);
}

void TstPickers::openThroughTheSeam()
{
    saveDiagonal(9, u"九"_s);
    m_fx->msgs->onDialog = [](QDialog *d) {
        auto *dlg = qobject_cast<frmOpenPicture *>(d);
        dlg->txtCBN->setText(u"9"_s);
        dlg->OKButton->click();
        return dlg->result();
    };
    const std::optional<drawing::ui::PictureChoice> chosen = frmOpenPicture::choose();
    QVERIFY(chosen);
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmOpenPicture"_s});
    QCOMPARE(chosen->number, u"9"_s);

    m_fx->msgs->onDialog = nullptr; // cancelled
    QVERIFY(!frmOpenPicture::choose());
}

void TstPickers::saveProposesNextNumber()
{
    {
        frmSavePicEX dlg;
        QCOMPARE(dlg.Text2->text(), u"1"_s);
        QCOMPARE(dlg.windowTitle(), u"保存"_s);
        QCOMPARE(dlg.Label2->text(), u"图形编号："_s);
        QCOMPARE(dlg.Label1->text(), u"图形名称："_s);
    }
    saveDiagonal(41, u"a"_s);
    saveDiagonal(4, u"b"_s);
    frmSavePicEX dlg;
    QCOMPARE(dlg.Text2->text(), u"42"_s);
}

void TstPickers::saveRefusesNumbers_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    QTest::newRow("taken") << u"4"_s << u"该编号已存在，请重新输入新的编号。"_s;
    QTest::newRow("taken with blanks") << u" 4 "_s << u"该编号已存在，请重新输入新的编号。"_s;
    QTest::newRow("fraction") << u"4.5"_s << u"图形编号必须是正整数！"_s;
    QTest::newRow("negative") << u"-4"_s << u"图形编号必须是正整数！"_s;
    QTest::newRow("zero") << u"0"_s << u"图形编号必须是正整数！"_s;
    QTest::newRow("text") << u"四"_s << u"图形编号必须是正整数！"_s;
    QTest::newRow("empty") << QString() << u"图形编号必须是正整数！"_s;
    QTest::newRow("too large") << u"99999999999"_s << u"图形编号必须是正整数！"_s;
}

void TstPickers::saveRefusesNumbers()
{
    QFETCH(QString, number);
    QFETCH(QString, message);
    saveDiagonal(4, u"b"_s);
    frmSavePicEX dlg;
    dlg.Text2->setText(number);
    dlg.Text1->setText(u"新窗"_s);
    dlg.OKButton->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{message});
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(!dlg.entered());
    QCOMPARE(dlg.Text2->selectedText(), number.left(10));
}

void TstPickers::saveNeedsAName()
{
    frmSavePicEX dlg;
    dlg.Text1->setText(u"   "_s);
    dlg.OKButton->click();
    QCOMPARE(m_fx->msgs->texts(), QStringList{u"图形名称不能为空！"_s});
    QVERIFY(!dlg.entered());
}

void TstPickers::saveReturnsNumberAndName()
{
    m_fx->msgs->onDialog = [](QDialog *d) {
        auto *dlg = qobject_cast<frmSavePicEX *>(d);
        if (dlg->windowTitle() != u"保存文件名" || dlg->Label1->text() != u"文件名：" || !dlg->Text1->text().isEmpty())
            return int(QDialog::Rejected);
        dlg->Text2->setText(u" 15 "_s);
        dlg->Text1->setText(u" 上悬窗 O'Neil"_s);
        dlg->OKButton->click();
        return dlg->result();
    };
    const std::optional<drawing::ui::NewLibraryPicture> picked = frmSavePicEX::ask();
    QVERIFY(picked);
    QCOMPARE(m_fx->msgs->dialogNames, QStringList{u"frmSavePicEX"_s});
    QCOMPARE(picked->number, 15);
    QCOMPARE(picked->name, u" 上悬窗 O'Neil"_s);
    QVERIFY(m_fx->msgs->shown.isEmpty());
}

void TstPickers::viewListsEveryFileAndPreviews()
{
    CPictire pic;
    pic.AddLine({0, 0}, {9495, 7935});
    QVERIFY(pic.SavePicture(m_pictures + u"/b.mc"_s));
    QFile other(m_pictures + u"/a.txt"_s);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();
    frmViewMC dlg;
    QCOMPARE(dlg.windowTitle(), u"选择门窗图文件"_s);
    QCOMPARE(dlg.folder(), QDir(m_pictures).absolutePath());
    QCOMPARE(dlg.File1->count(), 2);
    QCOMPARE(dlg.File1->item(0)->text(), u"a.txt"_s);
    dlg.File1->setCurrentRow(1);
    QVERIFY(middleIsDrawn(dlg.PicMC));
    dlg.OKButton->click();
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.fileName(), QDir(m_pictures).filePath(u"b.mc"_s));
}

void TstPickers::viewChecksTheChoice_data()
{
    QTest::addColumn<QString>("file"); // empty: none chosen
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing chosen") << QString() << u"无选取图形文件"_s;
    QTest::newRow("other extension") << u"x.mcx"_s << u"无效的图型文件"_s;
    QTest::newRow("text file") << u"x.txt"_s << u"无效的图型文件"_s;
    QTest::newRow("upper case") << u"X.MC"_s << QString();
    QTest::newRow("mixed case") << u"X.Mc"_s << QString();
}

void TstPickers::viewChecksTheChoice()
{
    QFETCH(QString, file);
    QFETCH(QString, message);
    if (!file.isEmpty()) {
        QFile f(m_pictures + u'/' + file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    frmViewMC dlg;
    if (!file.isEmpty())
        dlg.File1->setCurrentRow(0);
    dlg.OKButton->click();
    if (message.isEmpty()) {
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.fileName(), QDir(m_pictures).filePath(file));
        QVERIFY(m_fx->msgs->shown.isEmpty());
    } else {
        QCOMPARE(m_fx->msgs->texts(), QStringList{message});
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(dlg.fileName(), QString());
    }
}

void TstPickers::viewUnreadableFile()
{
    QFile f(m_pictures + u"/bad.MC"_s);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("LINE\r\n1\r\n");
    f.close();
    frmViewMC dlg;
    dlg.File1->setCurrentRow(0);
    QCOMPARE(m_fx->msgs->shown.size(), 1);
    QVERIFY(m_fx->msgs->lastText().startsWith(u"图形文件读取出错！"_s));
    QVERIFY(isBlank(dlg.PicMC));
}

void TstPickers::viewThroughTheSeam()
{
    CPictire pic;
    QVERIFY(pic.SavePicture(m_pictures + u"/w.MC"_s));
    m_fx->msgs->onDialog = [](QDialog *d) {
        auto *dlg = qobject_cast<frmViewMC *>(d);
        dlg->File1->setCurrentRow(0);
        dlg->OKButton->click();
        return dlg->result();
    };
    QCOMPARE(frmViewMC::choose(), QDir(m_pictures).filePath(u"w.MC"_s));

    m_fx->msgs->onDialog = [](QDialog *d) {
        qobject_cast<frmViewMC *>(d)->CancelButton->click();
        return int(QDialog::Rejected);
    };
    QCOMPARE(frmViewMC::choose(), QString());
}

QTEST_MAIN(TstPickers)
#include "tst_pickers.moc"
