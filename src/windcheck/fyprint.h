#pragma once
// Printing of the two-step check: the report line by line with a page footer, and the cover page
// with its texts kept in the settings section "FM". Both draw on any surface in twips.
#include <QDate>
#include <QString>

namespace platform {
class Surface;
}

namespace windcheck {

struct FYState;

inline constexpr int FYPrintFontSize = 9;
inline constexpr double kReportFontSize = 9.2;

struct CoverSettings
{
    QString gcmc; // project name
    QString jh;   // checker
    QString sh;   // reviewer
    QString jhdw; // checking unit
};

CoverSettings LoadCoverSettings();
// False, with the cause in *error, when the settings file could not be written.
bool SaveCoverSettings(const CoverSettings &cover, QString *error = nullptr);

// One blank between each two characters, none at the end.
QString SpaceOutText(const QString &text);
// Year, month and day without leading zeros: "2026年1月5日".
QString coverDateText(const QDate &date);

struct PrintLayout
{
    int left = 0;   // x of every report line
    int top = 0;    // y of the first line of a page
    int bottom = 0; // a line whose position has reached this goes to the next page
};

// From the page extent in twips.
PrintLayout printLayoutFor(double pageWidth, double pageHeight);

// TextHeight("A") plus a third of it, in whole twips, at the surface's current font.
int reportLineStep(const platform::Surface &surface);

// Prints report lines 1-217 at `fontSize`, every page with its footer "页:/ n/", and ends the
// document. Returns the number of pages.
int PrintReportLine(platform::Surface &surface, const FYState &state, double fontSize);

// Prints the cover as one document and leaves the report font at 9 in `state`.
void PrintCoverPage(platform::Surface &surface, const CoverSettings &cover, const QDate &today, FYState &state);

} // namespace windcheck
