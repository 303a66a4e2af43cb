#pragma once
// Showing and printing reports: the preview dialog (through the message seam, so tests never block)
// and the printer.
#include "report.h"

class QWidget;

namespace platform {

// Opens the print preview of the report; the user prints from there.
void previewReport(QWidget *parent, const Report &report);
// Prints the report on the printer the user chooses; false when cancelled or failed.
bool printReport(QWidget *parent, const Report &report);

} // namespace platform
