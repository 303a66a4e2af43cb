#include "faces.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace platform {

namespace {
// Song/Ming serif for the book faces, Kai for the brush faces (Debian has no clerical face; Kai is
// the nearest), and the sans face for the bold gothic ones. Installed by scripts/setup.sh.
const QString kMing = u"AR PL UMing CN"_s;
const QString kKai = u"AR PL UKai CN"_s;
const QString kSans = u"WenQuanYi Micro Hei"_s;

const QHash<QString, QString> &faces()
{
    static const QHash<QString, QString> table = {
        {u"宋体"_s, kMing},   {u"新宋体"_s, kMing}, {u"仿宋"_s, kMing},     {u"仿宋_GB2312"_s, kMing},
        {u"楷体"_s, kKai},    {u"楷体_GB2312"_s, kKai}, {u"隶书"_s, kKai},   {u"华文行楷"_s, kKai},
        {u"黑体"_s, kSans},   {u"幼圆"_s, kSans},
    };
    return table;
}
} // namespace

QString installedFamily(const QString &face)
{
    return faces().value(face, face);
}

QFont faceFont(const QString &face, double pointSize, bool bold)
{
    QFont f(installedFamily(face));
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

} // namespace platform
