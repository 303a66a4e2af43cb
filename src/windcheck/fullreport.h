#pragma once
// The report of the two-step wind check, written from what each step computed: lines 1-24 from the
// loads the load step stored, lines 25-217 from the values of the glass, fixing and member checks.
#include "fullcheck.h"

namespace windcheck {

// Lines 1-24 from the inputs and loads stored in `state`.
void writeLoadReport(FYState &state);

// Lines 25-217 from the inputs and the values; 39 and 54 stay empty.
void writeGlassReport(const GlassCheckInput &in, const GlassCheckValues &values, FYState &state);

// Lines 1-217, each followed by CR LF.
QString fullReportText(const FYState &state);

} // namespace windcheck
