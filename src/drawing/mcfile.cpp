// Drawing files (.MC): one keyword line per section, then one value per line.
#include "cpictire.h"
#include "textcodec.h"

#include "platform/filewrite.h"
#include "platform/numtext.h"

#include <QFile>
#include <cmath>

using namespace Qt::StringLiterals;

namespace drawing {

namespace {

const QString kLine = u"Line"_s, kRec = u"Rec"_s, kDir = u"Dir"_s, kDim = u"Dim"_s, kString = u"String"_s,
              kArc = u"Arc"_s, kCircle = u"Circle"_s;

void number(QString &out, float v)
{
    out += platform::statementSingle(v);
    out += u" \r\n"_s;
}

void points(QString &out, std::initializer_list<DrawPoint> pts)
{
    for (const DrawPoint &p : pts) {
        number(out, p.X);
        number(out, p.Y);
    }
}

std::optional<float> parseNumber(const QString &line)
{
    if (!platform::isNumeric(line))
        return std::nullopt;
    const float v = float(platform::val(line));
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

bool CPictire::SavePicture(const QString &filename, QString *error) const
{
    const DrawingLists &l = m_lists;
    QString out;
    auto twoSection = [&](const QString &key, const auto &arr, qint16 last) {
        if (last < 0)
            return;
        out += key + u"\r\n"_s;
        for (int i = 0; i <= last; ++i)
            points(out, {arr[size_t(i)].P1, arr[size_t(i)].P2});
    };
    auto threeSection = [&](const QString &key, const auto &arr, qint16 last) {
        if (last < 0)
            return;
        out += key + u"\r\n"_s;
        for (int i = 0; i <= last; ++i)
            points(out, {arr[size_t(i)].P1, arr[size_t(i)].P2, arr[size_t(i)].P3});
    };
    twoSection(kLine, l.LineArr, l.LineLast);
    twoSection(kRec, l.RecArr, l.RecLast);
    twoSection(kDir, l.DirArr, l.DirLast);
    threeSection(kDim, l.DimArr, l.DimLast);
    if (l.StringLast >= 0) {
        out += kString + u"\r\n"_s;
        for (int i = 0; i <= l.StringLast; ++i) {
            const TextEntity &e = l.StringArr[size_t(i)];
            points(out, {e.P1});
            QString text = e.text;
            // One line per text: a line break would split it.
            text.replace(u"\r\n"_s, u" "_s).replace(u'\r', u' ').replace(u'\n', u' ');
            out += text + u"\r\n"_s;
        }
    }
    threeSection(kArc, l.ArcArr, l.ArcLast);

    const std::optional<QByteArray> bytes = encodeGb18030(out);
    if (!bytes) {
        if (error)
            *error = u"无法转换为 GB18030 编码"_s;
        return false;
    }
    return platform::writeWholeFile(filename, *bytes, error);
}

bool CPictire::Open_File(const QString &filename, QString *error)
{
    QFile file(filename);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.close();
    const std::optional<QString> text = decodeDrawingText(bytes);
    if (!text) {
        if (error)
            *error = u"文件编码无法识别"_s;
        return false;
    }

    CPictire fresh;
    Kind kind = Kind::Line;
    int k = 0;
    std::array<float, 6> buf{};
    const QStringList lines = splitLines(*text);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString &line = lines.at(n);
        if (kind == Kind::String && k == 2) { // the text line, whatever it reads
            fresh.AddString({buf[0], buf[1]}, line);
            k = 0;
            continue;
        }
        const QString t = line.trimmed();
        if (t == kLine || t == kRec || t == kDir || t == kDim || t == kString || t == kArc) {
            kind = t == kLine ? Kind::Line
                 : t == kRec  ? Kind::Rec
                 : t == kDir  ? Kind::Dir
                 : t == kDim  ? Kind::Dim
                 : t == kString ? Kind::String
                                : Kind::Arc;
            k = 0;
            continue;
        }
        if (t == kCircle)
            continue;
        const std::optional<float> v = parseNumber(t);
        if (!v) {
            if (error)
                *error = u"第 %1 行不是数字：%2"_s.arg(n + 1).arg(line);
            return false;
        }
        buf[size_t(k)] = *v;
        switch (kind) {
        case Kind::String: ++k; break;
        case Kind::Line:
        case Kind::Rec:
        case Kind::Dir:
            if (k == 3) {
                const DrawPoint p1{buf[0], buf[1]}, p2{buf[2], buf[3]};
                if (kind == Kind::Line)
                    fresh.AddLine(p1, p2);
                else if (kind == Kind::Rec)
                    fresh.AddRec(p1, p2);
                else
                    fresh.AddDir(p1, p2);
                k = 0;
            } else {
                ++k;
            }
            break;
        case Kind::Dim:
        case Kind::Arc:
            if (k == 5) {
                const DrawPoint p1{buf[0], buf[1]}, p2{buf[2], buf[3]}, p3{buf[4], buf[5]};
                if (kind == Kind::Dim)
                    fresh.AddDim(p1, p2, p3);
                else
                    fresh.AddArc(p1, p2, p3);
                k = 0;
            } else {
                ++k;
            }
            break;
        }
    }
    takeLists(fresh);
    return true;
}

} // namespace drawing
