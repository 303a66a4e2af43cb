// DXF import: the LINE, LWPOLYLINE and DIMENSION entities of the ENTITIES section, coordinates as
// they stand. The entities left out are counted by kind and told, so that an incomplete drawing
// is known as such.
#include "cpictire.h"
#include "notice.h"
#include "textcodec.h"

#include "platform/numtext.h"

#include <QFile>
#include <cmath>
#include <map>

using namespace Qt::StringLiterals;

namespace drawing {

namespace {

enum class Entity { None, Line, Polyline, Dimension };

struct Reading
{
    QString name; // as the file names the entity; "" outside the ENTITIES section
    Entity kind = Entity::None;
    DrawPoint p10, p11, p13, p14;
    bool done = false;       // the completing code came (21 of a line, 24 of a dimension)
    QString text;
    QList<DrawPoint> vertices;
    bool lastVertexHasY = false;
};

// Parts of the entity before them (a polyline's vertices, a block reference's attributes).
bool isSubEntity(const QString &name)
{
    return name == u"VERTEX" || name == u"SEQEND" || name == u"ATTRIB";
}

} // namespace

bool CPictire::InputDXF(const QString &cFilename, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    QFile file(cFilename);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QStringList lines = dxfLines(file.readAll());
    file.close();

    CPictire fresh;
    int refused = 0;
    std::map<QString, int> leftOut; // by entity name
    Reading cur;
    auto finish = [&] {
        bool ok = true;
        bool added = false;
        switch (cur.kind) {
        case Entity::None: break;
        case Entity::Line:
            if (cur.done) {
                ok = fresh.append(Kind::Line, {cur.p10, cur.p11, {}});
                added = true;
            }
            break;
        case Entity::Polyline:
            // A rectangle needs four vertices; a shorter polyline gives nothing.
            if (cur.vertices.size() >= 4 && (cur.vertices.size() > 4 || cur.lastVertexHasY)) {
                ok = fresh.append(Kind::Rec, {cur.vertices.at(0), cur.vertices.at(2), {}});
                added = true;
            }
            break;
        case Entity::Dimension:
            if (cur.done) {
                ok = fresh.append(Kind::Dim, {cur.p13, cur.p14, cur.p10});
                refused += ok ? 0 : 1;
                ok = fresh.append(Kind::String, {cur.p11, {}, {}}, cur.text);
                added = true;
            }
            break;
        }
        refused += ok ? 0 : 1;
        if (!added && !cur.name.isEmpty() && !isSubEntity(cur.name))
            ++leftOut[cur.name];
        cur = Reading();
    };

    bool inEntities = false;
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        const QString codeText = lines.at(i).trimmed();
        bool codeOk = false;
        const int code = codeText.toInt(&codeOk);
        if (!codeOk)
            return fail(u"第 %1 行不是组码：%2"_s.arg(i + 1).arg(lines.at(i)));
        const QString &value = lines.at(i + 1);
        const QString v = value.trimmed();
        if (code == 0) {
            finish();
            if (v == u"ENDSEC") {
                inEntities = false;
            } else if (inEntities) {
                cur.name = v;
                cur.kind = v == u"LINE"         ? Entity::Line
                         : v == u"LWPOLYLINE" ? Entity::Polyline
                         : v == u"DIMENSION"  ? Entity::Dimension
                                              : Entity::None;
            }
            continue;
        }
        if (code == 2 && v == u"ENTITIES") {
            inEntities = true;
            continue;
        }
        if (cur.kind == Entity::None)
            continue;
        auto number = [&](float *out) {
            if (!platform::isNumeric(v))
                return false;
            const float f = float(platform::val(v));
            if (!std::isfinite(f))
                return false;
            *out = f;
            return true;
        };
        const bool coordinateCode = code == 10 || code == 20 || code == 11 || code == 21 || code == 13 || code == 23
                                 || code == 14 || code == 24;
        if (cur.kind == Entity::Dimension && code == 1) {
            if (!cur.done)
                cur.text = decodeDxfEscapes(value);
            continue;
        }
        if (!coordinateCode)
            continue;
        float f = 0;
        if (!number(&f))
            return fail(u"第 %1 行不是数字：%2"_s.arg(i + 2).arg(value));
        switch (cur.kind) {
        case Entity::Line:
            if (cur.done)
                break;
            if (code == 10) cur.p10.X = f;
            else if (code == 20) cur.p10.Y = f;
            else if (code == 11) cur.p11.X = f;
            else if (code == 21) {
                cur.p11.Y = f;
                cur.done = true;
            }
            break;
        case Entity::Polyline:
            if (code == 10) {
                cur.vertices.append({f, 0});
                cur.lastVertexHasY = false;
            } else if (code == 20 && !cur.vertices.isEmpty() && !cur.lastVertexHasY) {
                cur.vertices.last().Y = f;
                cur.lastVertexHasY = true;
            }
            break;
        case Entity::Dimension:
            if (cur.done)
                break;
            if (code == 10) cur.p10.X = f;
            else if (code == 20) cur.p10.Y = f;
            else if (code == 11) cur.p11.X = f;
            else if (code == 21) cur.p11.Y = f;
            else if (code == 13) cur.p13.X = f;
            else if (code == 23) cur.p13.Y = f;
            else if (code == 14) cur.p14.X = f;
            else if (code == 24) {
                cur.p14.Y = f;
                cur.done = true;
            }
            break;
        case Entity::None: break;
        }
    }
    finish();
    takeLists(fresh);
    if (refused > 0)
        notice(kCapacityText, kCapacityTitle, NoticeIcon::None);
    if (!leftOut.empty()) {
        QStringList kinds;
        for (const auto &[name, count] : leftOut)
            kinds << u"%1 %2"_s.arg(name).arg(count);
        notice(u"未导入："_s + kinds.join(u"，"_s), kDxfLeftOutTitle, NoticeIcon::Information);
    }
    return true;
}

} // namespace drawing
