#include "cpictire.h"

#include "notice.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace drawing {

namespace {

template<typename Arr>
bool appendTo(Arr &arr, qint16 &last, const typename Arr::value_type &entry)
{
    if (last >= kCapacity - 1)
        return false;
    ++last;
    arr[size_t(last)] = entry;
    return true;
}

template<typename Arr>
void removeFrom(Arr &arr, qint16 &last, int i)
{
    if (i < 0 || i > last)
        return;
    if (i < last)
        arr[size_t(i)] = std::move(arr[size_t(last)]);
    --last;
}

template<typename Arr, typename Test>
void deleteIn(Arr &arr, qint16 &last, DrawPoint &C1, DrawPoint &C2, Test hit)
{
    int i = 0;
    while (i <= last) {
        if (hit(arr[size_t(i)], C1, C2))
            removeFrom(arr, last, i); // the moved-in entry is tested next
        else
            ++i;
    }
}

bool twoIn(const TwoPoints &e, DrawPoint &C1, DrawPoint &C2)
{
    return CPictire::PointInWindow(e.P1, C1, C2) || CPictire::PointInWindow(e.P2, C1, C2);
}

bool threeIn(const ThreePoints &e, DrawPoint &C1, DrawPoint &C2)
{
    return CPictire::PointInWindow(e.P1, C1, C2) || CPictire::PointInWindow(e.P2, C1, C2)
        || CPictire::PointInWindow(e.P3, C1, C2);
}

bool refused()
{
    notice(kCapacityText, kCapacityTitle, NoticeIcon::None);
    return false;
}

} // namespace

bool CPictire::append(Kind kind, const ThreePoints &p, const QString &text)
{
    DrawingLists &l = m_lists;
    switch (kind) {
    case Kind::Line: return appendTo(l.LineArr, l.LineLast, {p.P1, p.P2});
    case Kind::Rec: return appendTo(l.RecArr, l.RecLast, {p.P1, p.P2});
    case Kind::Dir: return appendTo(l.DirArr, l.DirLast, {p.P1, p.P2});
    case Kind::Dim: return appendTo(l.DimArr, l.DimLast, p);
    case Kind::String: return appendTo(l.StringArr, l.StringLast, {p.P1, text});
    case Kind::Arc: return appendTo(l.ArcArr, l.ArcLast, p);
    }
    return false;
}

bool CPictire::AddLine(DrawPoint P1, DrawPoint P2) { return append(Kind::Line, {P1, P2, {}}) || refused(); }
bool CPictire::AddRec(DrawPoint P1, DrawPoint P2) { return append(Kind::Rec, {P1, P2, {}}) || refused(); }
bool CPictire::AddDir(DrawPoint P1, DrawPoint P2) { return append(Kind::Dir, {P1, P2, {}}) || refused(); }
bool CPictire::AddDim(DrawPoint P1, DrawPoint P2, DrawPoint P3) { return append(Kind::Dim, {P1, P2, P3}) || refused(); }
bool CPictire::AddArc(DrawPoint P1, DrawPoint P2, DrawPoint P3) { return append(Kind::Arc, {P1, P2, P3}) || refused(); }
bool CPictire::AddString(DrawPoint P1, const QString &text)
{
    return append(Kind::String, {P1, {}, {}}, text) || refused();
}

void CPictire::RemoveLine(int i) { removeFrom(m_lists.LineArr, m_lists.LineLast, i); }
void CPictire::RemoveRec(int i) { removeFrom(m_lists.RecArr, m_lists.RecLast, i); }
void CPictire::RemoveDir(int i) { removeFrom(m_lists.DirArr, m_lists.DirLast, i); }
void CPictire::RemoveDim(int i) { removeFrom(m_lists.DimArr, m_lists.DimLast, i); }
void CPictire::RemoveString(int i) { removeFrom(m_lists.StringArr, m_lists.StringLast, i); }
void CPictire::RemoveArc(int i) { removeFrom(m_lists.ArcArr, m_lists.ArcLast, i); }

bool CPictire::PointInWindow(DrawPoint P, DrawPoint &C1, DrawPoint &C2)
{
    if (C1.X > C2.X)
        std::swap(C1.X, C2.X);
    if (C1.Y > C2.Y)
        std::swap(C1.Y, C2.Y);
    return C1.X <= P.X && P.X <= C2.X && C1.Y <= P.Y && P.Y <= C2.Y;
}

void CPictire::DeleteLinesInWindow(DrawPoint &C1, DrawPoint &C2)
{
    deleteIn(m_lists.LineArr, m_lists.LineLast, C1, C2, twoIn);
}

void CPictire::DeleteRecsInWindow(DrawPoint &C1, DrawPoint &C2)
{
    deleteIn(m_lists.RecArr, m_lists.RecLast, C1, C2, twoIn);
}

void CPictire::DeleteDirsInWindow(DrawPoint &C1, DrawPoint &C2)
{
    deleteIn(m_lists.DirArr, m_lists.DirLast, C1, C2, twoIn);
}

void CPictire::DeleteDimsInWindow(DrawPoint &C1, DrawPoint &C2)
{
    deleteIn(m_lists.DimArr, m_lists.DimLast, C1, C2, threeIn);
}

void CPictire::DeleteArcsInWindow(DrawPoint &C1, DrawPoint &C2)
{
    deleteIn(m_lists.ArcArr, m_lists.ArcLast, C1, C2, threeIn);
}

void CPictire::DeleteStringsInWindow(DrawPoint &C1, DrawPoint &C2)
{
    deleteIn(m_lists.StringArr, m_lists.StringLast, C1, C2,
             [](const TextEntity &e, DrawPoint &a, DrawPoint &b) { return PointInWindow(e.P1, a, b); });
}

void CPictire::DeleteInWindow(DrawPoint &C1, DrawPoint &C2)
{
    DeleteLinesInWindow(C1, C2);
    DeleteRecsInWindow(C1, C2);
    DeleteDimsInWindow(C1, C2);
    DeleteDirsInWindow(C1, C2);
    DeleteStringsInWindow(C1, C2);
    DeleteArcsInWindow(C1, C2);
}

qint16 CPictire::last(Kind kind) const
{
    switch (kind) {
    case Kind::Line: return m_lists.LineLast;
    case Kind::Rec: return m_lists.RecLast;
    case Kind::Dir: return m_lists.DirLast;
    case Kind::Dim: return m_lists.DimLast;
    case Kind::String: return m_lists.StringLast;
    case Kind::Arc: return m_lists.ArcLast;
    }
    return -1;
}

bool CPictire::isEmpty() const
{
    const DrawingLists &l = m_lists;
    return l.LineLast < 0 && l.RecLast < 0 && l.DirLast < 0 && l.DimLast < 0 && l.StringLast < 0 && l.ArcLast < 0;
}

void CPictire::ClearData()
{
    m_lists.LineLast = m_lists.RecLast = m_lists.DimLast = -1;
    m_lists.DirLast = m_lists.StringLast = m_lists.ArcLast = -1;
}

void CPictire::PicClear()
{
    if (Pic)
        Pic->clear();
    Draw_Gird(80, 64);
    ClearData();
}

void CPictire::GetStrings(QList<float> &X, QList<float> &Y, QStringList &S) const
{
    const int n = m_lists.StringLast + 1;
    X.resize(n);
    Y.resize(n);
    S.resize(n);
    for (int i = 0; i < n; ++i) {
        const TextEntity &e = m_lists.StringArr[size_t(i)];
        X[i] = e.P1.X;
        Y[i] = e.P1.Y;
        S[i] = e.text;
    }
}

std::optional<qint64> wholeNumber(const QString &text)
{
    QString t = text.trimmed();
    const bool negative = t.startsWith(u'-');
    if (negative || t.startsWith(u'+'))
        t.remove(0, 1);
    if (t.isEmpty() || t.size() > 10)
        return std::nullopt;
    for (QChar c : t)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    const qint64 n = negative ? -t.toLongLong() : t.toLongLong();
    if (n < -2147483647 - 1LL || n > 2147483647)
        return std::nullopt;
    return n;
}

std::optional<qint64> drawingNumber(const QString &text)
{
    const QString t = text.trimmed();
    if (t.startsWith(u'+') || t.startsWith(u'-'))
        return std::nullopt;
    const std::optional<qint64> n = wholeNumber(t);
    if (!n || *n < 1)
        return std::nullopt;
    return n;
}

} // namespace drawing
