#pragma once
// Helpers shared by the drawing tests.
#include "drawing/cpictire.h"
#include "drawing/notice.h"

#include <QList>
#include <QString>
#include <QTest>

namespace drawingtest {

using drawing::DrawPoint;

// Records the engine's messages for the life of the object.
struct Notices
{
    QStringList texts;
    QStringList titles;
    Notices()
    {
        drawing::setNoticeHandler([this](const QString &text, const QString &title, drawing::NoticeIcon) {
            texts << text;
            titles << title;
        });
    }
    ~Notices() { drawing::setNoticeHandler({}); }
    int count(const QString &text) const { return int(texts.count(text)); }
};

inline bool near(double a, double b, double tol = 0.01) { return std::abs(a - b) <= tol; }
inline bool near(QPointF a, QPointF b, double tol = 0.01) { return near(a.x(), b.x(), tol) && near(a.y(), b.y(), tol); }

} // namespace drawingtest
