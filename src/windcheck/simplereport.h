#pragma once
// The report text of the one-window check, written from the inputs as typed and the computed values.
#include "simplecheck.h"

namespace windcheck {

// CR LF line ends; the first kTitleLength characters are the title.
QString simpleWindReportText(const SimpleWindInput &in, const SimpleWindValues &values);

} // namespace windcheck
