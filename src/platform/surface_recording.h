#pragma once
// A surface that only records: every primitive with its coordinates, layer and line style, and the
// clears, refreshes and page breaks between them. Tests read the log.
#include "surface.h"

#include <QImage>
#include <QLineF>
#include <QList>
#include <QSizeF>

namespace platform {

struct SurfaceOp
{
    enum Kind { Line, Box, Point, Text, Clear, Refresh, NewPage, EndDocument };
    Kind kind = Line;
    QPointF a;  // line start, box corner, point, text position
    QPointF b;  // line end, other box corner
    QString text;
    bool persistent = true;
    LineStyle style = LineStyle::Solid;
    int page = 0; // pages counted from 0; NewPage starts the next one
    // Text: its width and height as the surface measured them, and the font it was printed in.
    QSizeF extent;
    QFont font;
};

class RecordingSurface : public Surface
{
public:
    // Text height is the same for every text; a text is half as wide per character as it is high.
    explicit RecordingSurface(double width = 9495, double height = 7935, double textHeight = 240);

    // A page of paper: texts are measured in their font as a printer measures them, one unit a
    // twip, so that a recorded page shows where real text would run over its box.
    static RecordingSurface paper(double widthTwips, double heightTwips);

    double width() const override { return m_width; }
    double height() const override { return m_height; }
    void line(QPointF a, QPointF b) override;
    void box(QPointF a, QPointF b) override;
    void point(QPointF p) override;
    void print(const QString &text) override;
    double textHeight(const QString &text) const override;
    double textWidth(const QString &text) const override;
    void clear() override;
    void refresh() override;
    void newPage() override;
    void endDocument() override;


    QList<SurfaceOp> ops;
    // Filters over the log; page -1 means every page.
    QList<QLineF> lines(int page = -1) const;
    QList<SurfaceOp> texts(int page = -1) const;
    QList<QPointF> points() const;
    int count(SurfaceOp::Kind kind) const;
    int pageCount() const { return m_page + 1; }
    void reset();

private:
    void add(SurfaceOp op);
    void add(SurfaceOp::Kind kind, QPointF a = {}, QPointF b = {});
    double m_width;
    double m_height;
    double m_textHeight;
    int m_page = 0;
    QImage m_twips; // null unless texts are measured in their font

};

} // namespace platform
