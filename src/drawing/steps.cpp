// The interactive commands of the drawing editor: one small step machine per command, all driven
// through the one shared step counter.
#include "cpictire.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace drawing {

namespace {

QPointF qp(DrawPoint p) { return {double(p.X), double(p.Y)}; }

void prompt(CPictire &c, const QString &text)
{
    if (c.Sta)
        c.Sta(text);
}

// Message 0 at step 0: the command starts; its point is ignored.
void start(CPictire &c, const QString &name, const QString &firstPrompt)
{
    prompt(c, firstPrompt);
    c.CurDraw = name;
    c.StepNo = 1;
}

// Message 1: back to idle; the refresh wipes any rubber band.
void end(CPictire &c)
{
    c.StepNo = 0;
    c.Rubber = false;
    c.CurDraw.clear();
    if (c.Pic)
        c.Pic->refresh();
    prompt(c, QString());
}

// What message 0 draws is kept.
void persistent(CPictire &c)
{
    if (c.Pic)
        c.Pic->setPersistent(true);
}

// The surface for a rubber-band figure, with the previous band wiped; none while no band is shown.
platform::Surface *rubberLayer(CPictire &c)
{
    if (!c.Rubber || !c.Pic)
        return nullptr;
    c.Pic->setPersistent(false);
    c.Pic->refresh();
    return c.Pic;
}

// Whether the second point of a two-point figure also starts the next one.
enum class Chain { No, Yes };

// A figure of two points: the first is kept, the second finishes the figure (finish() draws and
// stores CurPts[0], CurPts[1]); a chain goes on from that end instead of ending. band(surface, p)
// draws the rubber band to the mouse.
template <typename Finish, typename Band>
void twoPointStep(CPictire &c, qint32 Msg, DrawPoint p, const QString &name, const QString &firstPrompt,
                  const QString &nextPrompt, Chain chain, Finish finish, Band band)
{
    if (Msg == 0) {
        persistent(c);
        if (c.StepNo == 0) {
            start(c, name, firstPrompt);
        } else if (c.StepNo == 1) {
            prompt(c, nextPrompt);
            c.CurPts[0] = p;
            c.Rubber = true;
            c.StepNo = 2;
        } else if (c.StepNo == 2 || (chain == Chain::Yes && c.StepNo > 2)) {
            c.CurPts[1] = p;
            finish();
            if (chain == Chain::No) {
                end(c);
            } else {
                c.CurPts[0] = c.CurPts[1];
                if (c.StepNo < std::numeric_limits<qint16>::max())
                    ++c.StepNo;
            }
        }
    } else if (Msg == 1) {
        end(c);
    } else if (Msg == 2) {
        if (platform::Surface *s = rubberLayer(c))
            band(*s, p);
    }
}

// A figure of three points: finish() draws and stores CurPts[0..2]; band(surface) draws the
// rubber band with the mouse as the third point.
template <typename Finish, typename Band>
void threePointStep(CPictire &c, qint32 Msg, DrawPoint p, const QString &name, const QString &firstPrompt,
                    const QString &secondPrompt, const QString &thirdPrompt, Finish finish, Band band)
{
    if (Msg == 0) {
        persistent(c);
        if (c.StepNo == 0) {
            start(c, name, firstPrompt);
        } else if (c.StepNo == 1) {
            prompt(c, secondPrompt);
            c.CurPts[0] = p;
            c.StepNo = 2;
        } else if (c.StepNo == 2) {
            prompt(c, thirdPrompt);
            c.CurPts[1] = p;
            c.Rubber = true;
            c.StepNo = 3;
        } else if (c.StepNo == 3) {
            c.CurPts[2] = p;
            finish();
            end(c);
        }
    } else if (Msg == 1) {
        end(c);
    } else if (Msg == 2) {
        if (platform::Surface *s = rubberLayer(c)) {
            c.CurPts[2] = p;
            band(*s);
        }
    }
}

} // namespace

void CPictire::StepDrawLine(qint32 Msg, float x1, float y1)
{
    twoPointStep(
        *this, Msg, {x1, y1}, u"Line"_s, u"请输入第一点"_s, u"请输入下一点"_s, Chain::Yes,
        [this] {
            if (Pic)
                Pic->line(qp(CurPts[0]), qp(CurPts[1]));
            AddLine(CurPts[0], CurPts[1]);
        },
        [this](platform::Surface &s, DrawPoint p) { s.line(qp(CurPts[0]), qp(p)); });
}

void CPictire::StepDrawRec(qint32 Msg, float x1, float y1)
{
    twoPointStep(
        *this, Msg, {x1, y1}, u"Rec"_s, u"请输入第一角点"_s, u"请输入下一角点"_s, Chain::No,
        [this] {
            if (Pic)
                Pic->box(qp(CurPts[0]), qp(CurPts[1]));
            AddRec(CurPts[0], CurPts[1]);
        },
        [this](platform::Surface &s, DrawPoint p) { s.box(qp(CurPts[0]), qp(p)); });
}

void CPictire::StepDrawDir(qint32 Msg, float x1, float y1)
{
    twoPointStep(
        *this, Msg, {x1, y1}, u"Dir"_s, u"请输入第一点"_s, u"请输入下一点"_s, Chain::No,
        [this] {
            AddDir(CurPts[0], CurPts[1]);
            if (Pic)
                DrawArrow(*Pic, CurPts[0], CurPts[1]);
        },
        [this](platform::Surface &s, DrawPoint p) {
            CurPts[2] = p;
            DrawArrow(s, CurPts[0], CurPts[2]);
        });
}

void CPictire::StepDrawDiM(qint32 Msg, float x1, float y1)
{
    threePointStep(
        *this, Msg, {x1, y1}, u"Dim"_s, u"请输入标注起点"_s, u"请输入标注终点"_s, u"请输入标注宽点"_s,
        [this] {
            StepNo = 4; // past the last point while the dimension is drawn and stored
            if (Pic)
                DrawDim(*Pic, CurPts[0], CurPts[1], CurPts[2]);
            AddDim(CurPts[0], CurPts[1], CurPts[2]);
        },
        [this](platform::Surface &s) { DrawDim(s, CurPts[0], CurPts[1], CurPts[2]); });
}

void CPictire::StepDrawString(qint32 Msg, float x1, float y1)
{
    const DrawPoint p{x1, y1};
    if (Msg == 0) {
        persistent(*this);
        if (StepNo == 0) {
            start(*this, u"String"_s, u"输入文字中心坐标"_s);
        } else if (StepNo == 1) {
            prompt(*this, u"输入文本"_s);
            CurPts[0] = p;
            // A dialog that is not there, or is cancelled, leaves no text.
            const QString text = TF ? TF() : QString();
            if (!text.isEmpty()) {
                if (Pic)
                    Draw_String(*Pic, CurPts[0].X, CurPts[0].Y, text);
                AddString(CurPts[0], text);
            }
            end(*this);
        }
    } else if (Msg == 1) {
        end(*this);
    }
}

void CPictire::StepDel(qint32 Msg, float x1, float y1)
{
    const DrawPoint p{x1, y1};
    if (Msg == 0) {
        persistent(*this);
        if (StepNo == 0) {
            start(*this, u"Del"_s, u"请输入第一角点"_s);
        } else if (StepNo == 1) {
            prompt(*this, u"请输入下一角点"_s);
            CurPts[0] = p;
            StepNo = 2;
            if (Pic)
                Pic->setLineStyle(platform::LineStyle::Dash);
            Rubber = true;
        } else if (StepNo == 2) {
            CurPts[1] = p;
            if (Pic)
                Pic->box(qp(CurPts[0]), qp(CurPts[1]));
            DeleteInWindow(CurPts[0], CurPts[1]);
            StepDel(1, x1, y1);
            if (Pic) {
                Pic->clear();
                PrintPic(*Pic, 0, 0, kAreaWidth, kAreaHeight, 0, 0, kAreaWidth, kAreaHeight);
                Draw_Gird(80, 64);
            }
        }
    } else if (Msg == 1) {
        end(*this);
        if (Pic)
            Pic->setLineStyle(platform::LineStyle::Solid);
    } else if (Msg == 2) {
        if (platform::Surface *s = rubberLayer(*this))
            s->box(qp(CurPts[0]), qp(p));
    }
}

void CPictire::StepDrawArc(qint32 Msg, float x1, float y1)
{
    threePointStep(
        *this, Msg, {x1, y1}, u"Arc"_s, u"请输入弧的起点坐标"_s, u"请输入弧的端点坐标"_s, u"请输入弧的方向坐标"_s,
        [this] {
            if (Pic)
                DrawArc(*Pic, CurPts[0], CurPts[1], CurPts[2]);
            AddArc(CurPts[0], CurPts[1], CurPts[2]);
        },
        [this](platform::Surface &s) { DrawArc(s, CurPts[0], CurPts[1], CurPts[2]); });
}

bool CPictire::StepCommand(const QString &name, qint32 Msg, float x1, float y1)
{
    if (name == u"Line")
        StepDrawLine(Msg, x1, y1);
    else if (name == u"Rec")
        StepDrawRec(Msg, x1, y1);
    else if (name == u"Dir")
        StepDrawDir(Msg, x1, y1);
    else if (name == u"Dim")
        StepDrawDiM(Msg, x1, y1);
    else if (name == u"String")
        StepDrawString(Msg, x1, y1);
    else if (name == u"Del")
        StepDel(Msg, x1, y1);
    else if (name == u"Arc")
        StepDrawArc(Msg, x1, y1);
    else
        return false;
    return true;
}

} // namespace drawing
