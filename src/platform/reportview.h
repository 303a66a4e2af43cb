#pragma once
// Showing and printing reports: the preview window (through the message seam, so tests never block),
// whose print button goes through the print dialog, and printing without a preview.
#include "printing.h"
#include "report.h"

class QWidget;

namespace platform {

// Opens the print preview of the report under the window caption `caption`; the user prints from
// there.
void previewReport(QWidget *parent, const Report &report, const QString &caption);
// Prints the report; false when cancelled or failed (failures are reported).
bool printReport(QWidget *parent, const Report &report, PrintRoute route = PrintRoute::Dialog);

// Writes the whole report to a PDF file (A4). False with *error when the file cannot be written.
bool writeReportPdf(const Report &report, const QString &path, QString *error = nullptr);

} // namespace platform
