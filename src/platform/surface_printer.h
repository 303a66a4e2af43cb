#pragma once
// The printer page as a surface: twips measured from the corner of the sheet (the whole paper, not
// the printable area, whose edge differs from printer to printer), pages started on demand, a new
// page and the end of the document on request. Whoever paints keeps its own margins. With a PDF
// printer the pages go to a file instead of a printer.
#include "surface.h"

#include <QPainter>
#include <QPrinter>
#include <memory>

namespace platform {

class PrinterSurface : public Surface
{
public:
    // Prints on `printer` (not owned), which must outlive the surface; it is set to the whole sheet.
    explicit PrinterSurface(QPrinter *printer);
    // Prints on a printer of its own: the default printer, or a PDF file when `pdfPath` is given.
    explicit PrinterSurface(const QString &pdfPath = QString());
    ~PrinterSurface() override;

    QPrinter *printer() const { return m_printer; }

    double width() const override;
    double height() const override;
    void line(QPointF a, QPointF b) override;
    void box(QPointF a, QPointF b) override;
    void point(QPointF p) override;
    void print(const QString &text) override;
    double textHeight(const QString &text) const override;
    double textWidth(const QString &text) const override;
    // A printed page cannot be erased: both do nothing.
    void clear() override {}
    void refresh() override {}
    void setLineStyle(LineStyle style) override;
    void setColor(const QColor &color) override;
    void setLineWidth(double pixels) override;
    void setFont(const QFont &font) override;
    void newPage() override;
    void endDocument() override;

    // Pages begun in the current or last document; false when the device could not be opened.
    int pagesStarted() const { return m_pages; }
    bool failed() const { return m_failed; }

    // The font printed texts take unless the caller sets another.
    static QFont defaultFont();

private:
    QPainter *painter();
    QPointF toDevice(QPointF p) const;
    double unitsPerDevice() const;
    QPen currentPen() const;

    std::unique_ptr<QPrinter> m_ownPrinter;
    QPrinter *m_printer = nullptr;
    std::unique_ptr<QPainter> m_painter;
    int m_pages = 0;
    bool m_failed = false;
};

} // namespace platform
