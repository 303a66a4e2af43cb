#include "dimensions.h"

#include "design/typestore.h"
#include "drawing/mcpicture.h"
#include "platform/numtext.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace project {

std::optional<QList<NamedDimension>> drawingLabels(const QString &number, QString *error)
{
    const auto pic = std::make_unique<drawing::MCPicture>();
    if (!pic->OpenFileEX(number, error))
        return std::nullopt;
    QList<float> x, y;
    QStringList s;
    pic->GetStrings(x, y, s);
    QList<NamedDimension> dims;
    for (qsizetype i = 0; i < s.size(); ++i)
        dims << NamedDimension{s.at(i), u"0"_s, double(x.value(i)), double(y.value(i))};
    return dims;
}

std::optional<QString> typeDrawingNumber(qint64 typeNo, QString *error)
{
    design::TypeStore types;
    const std::optional<design::DoorType> type = types.type(typeNo);
    if (!type) {
        if (error)
            *error = types.lastError().isEmpty() ? u"门窗类型不存在。"_s : types.lastError();
        return std::nullopt;
    }
    return type->drawingNumber;
}

std::optional<QList<NamedDimension>> typeLabels(qint64 typeNo, QString *error)
{
    const std::optional<QString> number = typeDrawingNumber(typeNo, error);
    if (!number)
        return std::nullopt;
    // A type without a drawing has no named dimensions.
    if (number->isEmpty())
        return QList<NamedDimension>();
    return drawingLabels(*number, error);
}

bool isWidthLabel(const QString &name)
{
    const QString t = name.trimmed();
    return t == u"B"_s || t == u"b"_s;
}

bool isHeightLabel(const QString &name)
{
    const QString t = name.trimmed();
    return t == u"H"_s || t == u"h"_s;
}

QString NextCBN(const QStringList &nodeTexts)
{
    double largest = 9;
    for (const QString &t : nodeTexts) {
        const double v = std::round(platform::val(QStringView(t).right(2)));
        if (v > largest)
            largest = v;
    }
    return platform::generalDouble(largest + 1);
}

QString positionText(double v)
{
    return platform::generalSingle(float(v));
}

} // namespace project
