#pragma once
// The picture facade: how windows outside the editor load, show and label a door or window drawing.
// Loading a library drawing appends, so every use ends with ClearData.
#include "cpictire.h"

namespace drawing {

class MCPicture
{
public:
    // Every entity, texts included, stretched from the drawing area into the box of Obj.
    void OutMC(platform::Surface &Obj, float rLeft, float rTop, float rRight, float rBottom) const;
    void OutMCNoStr(platform::Surface &Obj, float rLeft, float rTop, float rRight, float rBottom) const;
    bool OpenFileMC(const QString &cFilename, QString *error = nullptr) { return m_pic.Open_File(cFilename, error); }
    bool OpenFileEX(const QString &cNum, QString *error = nullptr) { return m_pic.OpenFileEX(cNum, error); }
    bool SaveFileEx(const QString &cNum, const QString &cFilename = QString(), QString *error = nullptr) const
    {
        return m_pic.SaveFileEx(cNum, cFilename, error);
    }
    void ClearData() { m_pic.ClearData(); }
    // The labels: positions and texts of every text entity.
    void GetStrings(QList<float> &X, QList<float> &Y, QStringList &S) const { m_pic.GetStrings(X, Y, S); }
    float GetHeight() const { return kAreaHeight; }
    float GetWidth() const { return kAreaWidth; }
    // Index of the last text entity, -1 when there is none.
    qint16 GetStringCount() const { return m_pic.GetStringCount(); }

    CPictire &engine() { return m_pic; }
    const CPictire &engine() const { return m_pic; }

private:
    CPictire m_pic;
};

} // namespace drawing
