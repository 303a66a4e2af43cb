// What the frame does for every window on a small screen: list columns that show their values,
// message boxes wide enough for their titles, file dialogs that read in Chinese and start in a
// folder that exists with a name to save under.
#include "platform/chinese.h"
#include "platform/mdi.h"
#include "platform/messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace platform;

namespace {
// What a column needs to show its header text and its cells whole.
int need(QTreeView *tree, int column)
{
    return std::max(tree->header()->sectionSizeHint(column),
                    static_cast<QAbstractItemView *>(tree)->sizeHintForColumn(column));
}

// Runs `inspect` on the modal window that `open` brings up, then closes that window.
void whileModal(const std::function<void(QWidget *)> &inspect, const std::function<void()> &open)
{
    QTimer::singleShot(0, [inspect] {
        QWidget *modal = nullptr;
        if (QTest::qWaitFor([&modal] { return (modal = QApplication::activeModalWidget()) != nullptr; }))
            inspect(modal);
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
    });
    open();
}
} // namespace

class TstScreens : public QObject
{
    Q_OBJECT
private slots:
    void listColumnsShowTheirValues_data();
    void listColumnsShowTheirValues();
    void rowsFilledLaterWidenTheirColumns();
    void messageBoxIsWideEnoughForItsTitle_data();
    void messageBoxIsWideEnoughForItsTitle();
    void fileDialogStarts_data();
    void fileDialogStarts();
    void fileDialogReadsInChinese();
    void saveDialogProposesAName();
};

void TstScreens::listColumnsShowTheirValues_data()
{
    QTest::addColumn<int>("listWidth");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QList<int>>("designed"); // widths the form sets; empty: Qt's default
    QTest::addColumn<QStringList>("row");
    // The plain window dialog's label list: four default-width columns in a narrow list.
    QTest::newRow("label list") << 260 << QStringList{u"标注"_s, u"标注值"_s, u"坐标X"_s, u"坐标Y"_s} << QList<int>{}
                                << QStringList{u"H1"_s, u"1500"_s, u"4747.5"_s, u"300"_s};
    // The job list: its designed columns are wider than the window; the short ones give room
    // back, so 编号 shows.
    QTest::newRow("job list") << 610 << QStringList{u"工程名称"_s, u"工程地点"_s, u"甲方单位"_s, u"合同编号"_s, u"编号"_s}
                              << QList<int>{163, 163, 163, 96, 96}
                              << QStringList{u"阳光花园二期十八号楼东侧住宅楼门窗工程"_s, u"某地"_s, u"甲方1"_s,
                                             u"HT123456789"_s, u"123456789"_s};
    // The statistics window's lists: 72-pixel columns, a window name longer than that.
    QTest::newRow("statistics list") << 380 << QStringList{u"门窗名称"_s, u"门窗类型"_s, u"洞口宽"_s, u"洞口高"_s}
                                     << QList<int>{72, 72, 72, 72}
                                     << QStringList{u"双扇平开窗带上亮"_s, u"窗"_s, u"1500"_s, u"1800"_s};
}

void TstScreens::listColumnsShowTheirValues()
{
    QFETCH(int, listWidth);
    QFETCH(QStringList, headers);
    QFETCH(QList<int>, designed);
    QFETCH(QStringList, row);
    QWidget window;
    auto *list = new QTreeWidget(&window);
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    for (int i = 0; i < designed.size(); ++i)
        list->setColumnWidth(i, designed[i]);
    list->addTopLevelItem(new QTreeWidgetItem(row));
    window.resize(listWidth, 300);
    fitListColumns(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    QHeaderView *header = list->header();
    for (int i = 0; i + 1 < header->count(); ++i) // the last column stretches over the rest
        QVERIFY2(header->sectionSize(i) >= need(list, i), qPrintable(headers[i]));
    int used = 0;
    for (int i = 0; i + 1 < header->count(); ++i)
        used += header->sectionSize(i);
    QVERIFY2(used + need(list, header->count() - 1) <= list->viewport()->width(),
             qPrintable(u"%1 of %2"_s.arg(used).arg(list->viewport()->width())));
}

void TstScreens::rowsFilledLaterWidenTheirColumns()
{
    QTreeWidget list;
    list.setHeaderLabels({u"门窗名称"_s, u"说明"_s});
    list.header()->setDefaultSectionSize(72);
    list.resize(600, 200);
    fitListColumns(&list);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const QString name = u"双扇平开窗带上亮固定扇"_s;
    for (int i = 0; i < 20; ++i)
        list.addTopLevelItem(new QTreeWidgetItem(QStringList{i == 7 ? name : u"C1"_s, QString()}));
    QTRY_VERIFY(list.columnWidth(0) >= list.fontMetrics().horizontalAdvance(name));
}

void TstScreens::messageBoxIsWideEnoughForItsTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("program name") << u"Velmorra"_s;
    QTest::newRow("long title") << u"塑钢门窗材料优化统计决算提示"_s;
}

// The title must not be shortened by the window manager: the box is as wide as the title text
// and the title bar's icon and buttons.
void TstScreens::messageBoxIsWideEnoughForItsTitle()
{
    QFETCH(QString, title);
    int width = 0;
    whileModal([&width](QWidget *box) { width = box->width(); },
               [&title] { QtMessages().message(nullptr, u"好"_s, title, MsgIcon::None, MsgButtons::Ok); });
    QFont bold = QApplication::font();
    bold.setBold(true);
    QVERIFY2(width >= QFontMetrics(bold).horizontalAdvance(title) + 120, qPrintable(QString::number(width)));
}

void TstScreens::fileDialogStarts_data()
{
    QTest::addColumn<QString>("given");  // under the temporary folder; "" for nothing
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("saving");
    QTest::addColumn<QString>("start"); // under the temporary folder
    QTest::newRow("missing documents folder") << u"Documents"_s << u"图形文件 (*.MC)"_s << true
                                              << u"未命名.MC"_s;
    QTest::newRow("proposed file in a missing folder") << u"gone/deeper/材料优化.xlsx"_s
                                                       << u"Excel 工作簿 (*.xlsx)"_s << true << u"材料优化.xlsx"_s;
    QTest::newRow("existing folder") << u"jobs"_s << u"*.txt (*.txt)"_s << true << u"jobs/未命名.txt"_s;
    QTest::newRow("proposed file kept") << u"jobs/统计.txt"_s << u"文本文件 (*.txt)"_s << true << u"jobs/统计.txt"_s;
    QTest::newRow("any file") << u"jobs"_s << u"所有文件 (*)"_s << true << u"jobs/未命名"_s;
    QTest::newRow("open in a missing folder") << u"Documents"_s << u"*.MBK"_s << false << QString();
    QTest::newRow("open in an existing folder") << u"jobs/统计.txt"_s << QString() << false << u"jobs"_s;
}

void TstScreens::fileDialogStarts()
{
    QFETCH(QString, given);
    QFETCH(QString, filter);
    QFETCH(bool, saving);
    QFETCH(QString, start);
    QTemporaryDir temp;
    const QDir base(temp.path());
    QVERIFY(base.mkpath(u"jobs"_s));
    QCOMPARE(fileDialogStart(base.filePath(given), filter, saving), QDir::cleanPath(base.filePath(start)));
}

void TstScreens::fileDialogReadsInChinese()
{
    QTemporaryDir temp;
    QFile file(QDir(temp.path()).filePath(u"料单.DDD"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(483, 'x'));
    file.close();
    QString size, kind, date;
    bool wideEnough = false;
    whileModal(
        [&](QWidget *dialog) {
            auto *view = dialog->findChild<QTreeView *>(u"treeView"_s);
            if (!view || !view->isVisible())
                return;
            QModelIndex row;
            const bool listed = QTest::qWaitFor([&] {
                row = view->model()->match(view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole,
                                           u"料单.DDD"_s).value(0);
                return row.isValid();
            });
            if (!listed)
                return;
            QCoreApplication::processEvents();
            size = row.siblingAtColumn(1).data().toString();
            kind = row.siblingAtColumn(2).data().toString();
            date = row.siblingAtColumn(3).data().toString();
            wideEnough = view->columnWidth(1) >= view->fontMetrics().horizontalAdvance(size)
                         && view->columnWidth(3) >= view->fontMetrics().horizontalAdvance(date);
        },
        [&] { QtMessages().openFileName(nullptr, u"打开"_s, temp.path(), u"料单 (*.DDD)"_s); });
    QCOMPARE(size, u"483 字节"_s);
    QCOMPARE(kind, u"DDD 文件"_s);
    QVERIFY2(date.startsWith(dateText(QDate::currentDate())), qPrintable(date));
    QVERIFY(wideEnough);
}

void TstScreens::saveDialogProposesAName()
{
    QTemporaryDir temp;
    const QString missing = QDir(temp.path()).filePath(u"Documents"_s);
    QString name, folder;
    whileModal(
        [&](QWidget *dialog) {
            if (auto *edit = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s))
                name = edit->text();
            if (auto *files = qobject_cast<QFileDialog *>(dialog))
                folder = files->directory().absolutePath();
        },
        [&] { QtMessages().saveFileName(nullptr, u"保存文件"_s, missing, u"图形文件 (*.MC)"_s); });
    QCOMPARE(name, u"未命名.MC"_s);
    QCOMPARE(folder, QDir(temp.path()).absolutePath());
}

QTEST_MAIN(TstScreens)
#include "tst_screens.moc"
