// Figures for people: a full drawing drawn into the whole drawing area of a picture box, and saved
// to and loaded from the drawing library of a fresh main database.
#include "app/maindb.h"
#include "app/schema.h"
#include "drawing/cpictire.h"
#include "platform/datafolder.h"
#include "platform/settings.h"
#include "platform/surface_widget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using namespace drawing;

namespace {

void fillFull(CPictire &pic)
{
    for (int i = 0; i < kCapacity; ++i) {
        const float x = float(100 + (i % 19) * 480);
        const float y = float(100 + (i / 19) * 400);
        pic.AddLine({x, y}, {x + 400, y + 300});
        pic.AddRec({x, y}, {x + 350, y + 280});
        pic.AddDir({x, y + 50}, {x + 380, y + 50});
        pic.AddDim({x, y}, {x + 400, y}, {x + 200, y + 150});
        pic.AddString({x + 20, y + 200}, u"KH%1"_s.arg(i));
        pic.AddArc({x, y + 300}, {x + 400, y + 300}, {x + 200, y + 100});
    }
}

struct Figures
{
    double min, median, max;
};

template<typename F>
Figures timeIt(int runs, F f)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2], ms.back()};
}

void report(const char *what, Figures f)
{
    std::printf("%-58s min %7.2f ms  median %7.2f ms  max %7.2f ms\n", what, f.min, f.median, f.max);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication a(argc, argv);
    QTemporaryDir dir;
    platform::setDataFolder(dir.filePath(u"data"_s));
    platform::SettingsStore::useFile(dir.filePath(u"settings.ini"_s));
    QString err;
    if (!app::ensureDataFolder(&err) || app::OpenMainDatabase(nullptr, &err) != app::OpenStatus::Opened) {
        std::fprintf(stderr, "cannot make a database: %s\n", qPrintable(err));
        return 1;
    }

    CPictire pic;
    fillFull(pic);
    std::printf("Full drawing: %d entities of each of the six kinds\n\n", kCapacity);

    platform::WidgetSurface box;
    box.resize(633, 529); // the drawing area at 15 twips per pixel
    box.setLogicalExtent(kAreaWidth, kAreaHeight);
    box.show();
    const int runs = 50;
    report("draw into the picture box (clear + PrintPic)", timeIt(runs, [&] {
               box.clear();
               pic.PrintPic(box, 0, 0, kAreaWidth, kAreaHeight, 0, 0, kAreaWidth, kAreaHeight);
               box.snapshot(); // ends the painting on the pixmap
           }));
    report("draw and repaint the widget", timeIt(runs, [&] {
               box.clear();
               pic.PrintPic(box, 0, 0, kAreaWidth, kAreaHeight, 0, 0, kAreaWidth, kAreaHeight);
               box.repaint();
           }));
    box.setPersistent(false);
    report("draw on the temporary layer and repaint", timeIt(runs, [&] {
               box.refresh();
               pic.PrintPic(box, 0, 0, kAreaWidth, kAreaHeight, 0, 0, kAreaWidth, kAreaHeight);
               box.repaint();
           }));
    box.setPersistent(true);

    bool ok = true;
    report("save to the library (SaveFileEx, one transaction)", timeIt(20, [&] {
               ok = pic.SaveFileEx(u"1"_s, {}, &err) && ok;
           }));
    CPictire back;
    report("load from the library (ClearData + OpenFileEX)", timeIt(20, [&] {
               back.ClearData();
               ok = back.OpenFileEX(u"1"_s, &err) && ok;
           }));
    // bench_drawing <file.png>: also keeps a picture of the drawn box.
    if (argc > 1) {
        box.clear();
        back.PrintPic(box, 0, 0, kAreaWidth, kAreaHeight, 0, 0, kAreaWidth, kAreaHeight);
        box.snapshot().save(QString::fromLocal8Bit(argv[1]));
    }
    if (!ok || back.lists().ArcLast != kCapacity - 1) {
        std::fprintf(stderr, "library round trip failed: %s\n", qPrintable(err));
        return 1;
    }
    return 0;
}
