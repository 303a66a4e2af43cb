#include "projectstate.h"

namespace project {

QString CurGCNum;
QString CurGCName;
QString CurMCNum;

void setCurrentJob(const QString &id, const QString &name)
{
    CurGCNum = id;
    CurGCName = name;
}

} // namespace project
