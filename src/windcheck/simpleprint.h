#pragma once
// The printout of the one-window check report: the title at 24 point and the body at 14 point in
// the report's font, line by line as on screen.
#include "platform/report.h"

#include <QString>

namespace windcheck {

inline const QString kSimpleReportFont = QStringLiteral("隶书");
inline constexpr double kSimpleTitleSize = 24;
inline constexpr double kSimpleBodySize = 14;

// `text` as MakeWindReport writes it: CR LF line ends, the title in its first kTitleLength characters.
platform::Report simpleReportPrintout(const QString &text);

} // namespace windcheck
