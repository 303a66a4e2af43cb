#pragma once
// The printed contract and order sheet of a job, laid out from its stored row of 工程合同.
#include "platform/report.h"

#include <QStringList>

namespace project {

// `fields`: T1..T13 and BT, as the report command CmdGCHT gives them (missing fields print empty).
platform::Report contractReport(const QStringList &fields);

} // namespace project
