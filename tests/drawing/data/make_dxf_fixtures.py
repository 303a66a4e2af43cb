#!/usr/bin/env python3
"""Makes the DXF fixtures with ezdxf (Debian's python3-ezdxf 0.18): the same window drawn in four
files of different versions and encodings, each holding a LINE, an LWPOLYLINE (a POLYLINE in R12,
which has no LWPOLYLINE), a DIMENSION, an ARC and a TEXT.
- r12-ansi936.dxf: R12 in the Chinese code page, the Chinese texts as GBK bytes;
- r12-ansi1252.dxf: R12 in the Western code page: the Chinese texts as \\U+ escapes, the TEXT's
  degree sign as the byte B0;
- r2000-escapes.dxf: R2000 in the Western code page, a dimension text with \\U+ escapes and %%d;
- r2018-utf8.dxf: R2018, UTF-8 although its header names the Chinese code page.
Run: /usr/bin/python3 make_dxf_fixtures.py"""
import os

import ezdxf


def make(version, encoding, dimension_text, name):
    doc = ezdxf.new(version)
    # Saving names the encoding's code page in $DWGCODEPAGE; R2007 and later are written in UTF-8
    # whatever it is.
    doc.encoding = encoding
    msp = doc.modelspace()
    msp.add_line((750, 0), (750, 1800))
    frame = [(0, 0), (1500, 0), (1500, 1800), (0, 1800)]
    if version == "R12":
        msp.add_polyline2d(frame, close=True)
    else:
        msp.add_lwpolyline(frame, close=True)
    msp.add_linear_dim(base=(0, -400), p1=(0, 0), p2=(1500, 0), text=dimension_text).render()
    msp.add_arc((750, 900), 200, 0, 90)
    msp.add_text("角度90°", dxfattribs={"height": 50}).set_placement((100, 100))
    doc.saveas(os.path.join(os.path.dirname(os.path.abspath(__file__)), name))


make("R12", "gbk", "宽度<>", "r12-ansi936.dxf")
make("R12", "cp1252", "宽度<>", "r12-ansi1252.dxf")
make("R2000", "cp1252", "宽度<>%%d", "r2000-escapes.dxf")
make("R2018", "gbk", "宽度<>", "r2018-utf8.dxf")
