// Opens the catalogue window on a series of 10,000 profiles and times the window's load and the
// list fill (the figures are printed; nothing passes or fails).
#include "catalogue/store.h"
#include "catalogue/ui/browser.h"
#include "catalogue/ui/frmdatabase.h"
#include "app/maindb.h"
#include "app/schema.h"
#include "platform/database.h"
#include "platform/datafolder.h"
#include "platform/scriptedmessages.h"
#include "platform/settings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;
using namespace catalogue;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication a(argc, argv);
    constexpr int kProfiles = 10000;
    constexpr int kRounds = 7;

    QTemporaryDir dir;
    platform::setDataFolder(dir.filePath(u"data"_s));
    platform::SettingsStore::useFile(dir.filePath(u"settings.ini"_s));
    auto *msgs = platform::installScriptedMessages();
    QString err;
    if (!app::ensureDataFolder(&err) || app::OpenMainDatabase(nullptr, &err) != app::OpenStatus::Opened) {
        std::fprintf(stderr, "set-up failed: %s\n", qPrintable(err));
        return 1;
    }

    CatalogueStore store;
    const qint64 maker = store.addMaker({0, u"型材厂"_s, u"-"_s, u"-"_s, u"-"_s, 1}).value_or(-1);
    const qint64 series = store.addSeries(maker, u"60系列"_s).value_or(-1);
    {
        platform::TransactionGuard tx(app::mainDb());
        for (int i = 0; i < kProfiles; ++i)
            if (!store.addItem(ItemKind::Profile, series,
                               {u"型材%1"_s.arg(i), u"X%1"_s.arg(i), 6000.0, 2.0, u"白"_s, 1.25, 9000.0 + i})) {
                std::fprintf(stderr, "insert failed: %s\n", qPrintable(store.lastError()));
                return 1;
            }
        tx.commit();
    }

    QElapsedTimer t;
    t.start();
    FrmDatabase window;
    window.show();
    QApplication::processEvents();
    const qint64 openMs = t.elapsed();

    CatalogueBrowser *browser = window.browser();
    QTreeWidgetItem *node = browser->nodeByKey(u"Node2"_s + QString::number(series));
    QList<double> fills;
    QList<double> painted;
    for (int round = 0; round < kRounds; ++round) {
        browser->tree()->setCurrentItem(nullptr);
        browser->tree()->clearSelection();
        browser->clearList();
        QApplication::processEvents();
        t.restart();
        browser->tree()->setCurrentItem(node); // selects the series and fills its list
        fills << t.nsecsElapsed() / 1e6;
        QApplication::processEvents();
        painted << t.nsecsElapsed() / 1e6;
        if (browser->list()->topLevelItemCount() != kProfiles) {
            std::fprintf(stderr, "list holds %d rows; %s\n", browser->list()->topLevelItemCount(),
                         qPrintable(msgs->texts().join(u'|')));
            return 1;
        }
    }
    std::sort(fills.begin(), fills.end());
    std::sort(painted.begin(), painted.end());
    std::printf("catalogue window open (tree load, first paint): %lld ms\n", openMs);
    std::printf("list fill of %d profiles over %d rounds: min %.1f ms, median %.1f ms, max %.1f ms\n", kProfiles,
                kRounds, fills.first(), fills.at(kRounds / 2), fills.last());
    std::printf("fill and first paint: min %.1f ms, median %.1f ms\n", painted.first(), painted.at(kRounds / 2));
    return 0;
}
