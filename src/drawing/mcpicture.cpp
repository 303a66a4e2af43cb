#include "mcpicture.h"

namespace drawing {

void MCPicture::OutMC(platform::Surface &Obj, float rLeft, float rTop, float rRight, float rBottom) const
{
    m_pic.PrintPic(Obj, 0, 0, kAreaWidth, kAreaHeight, rLeft, rTop, rRight, rBottom);
}

void MCPicture::OutMCNoStr(platform::Surface &Obj, float rLeft, float rTop, float rRight, float rBottom) const
{
    m_pic.OutMCNoStr(Obj, 0, 0, kAreaWidth, kAreaHeight, rLeft, rTop, rRight, rBottom);
}

} // namespace drawing
