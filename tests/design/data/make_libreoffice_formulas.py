#!/usr/bin/env python3
"""Makes the LibreOffice fixtures: formulas-libreoffice.xlsx (the formula sheet first, a cover
sheet after it), cover-first-libreoffice.xlsx (the cover sheet in front) and formulas.ods.
It writes each workbook as a flat OpenDocument spreadsheet and lets LibreOffice convert it, so
LibreOffice computes the formulas and stores their results, writes text as shared strings, the
name 框料 as rich text (框 bold and red), and the merged cells as such. Needs Debian's
libreoffice-calc-nogui: /usr/bin/python3 make_libreoffice_formulas.py"""
import os
import shutil
import subprocess
import tempfile

HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles>
 <style:style style:name="T1" style:family="text"><style:text-properties fo:font-weight="bold" style:font-weight-asian="bold" fo:color="#c00000"/></style:style>
</office:automatic-styles>
<office:body><office:spreadsheet>
"""
TAIL = "</office:spreadsheet></office:body></office:document>\n"


def text(value, extra=""):
    return f'<table:table-cell office:value-type="string"{extra}><text:p>{value}</text:p></table:table-cell>'


def number(value):
    return f'<table:table-cell office:value-type="float" office:value="{value}"/>'


def formula(f):
    return f'<table:table-cell table:formula="of:={f}" office:value-type="float"/>'


def row(*cells):
    return "<table:table-row>" + "".join(cells) + "</table:table-row>\n"


FORMULAS = (
    '<table:table table:name="公式">\n'
    + row(text("门窗名称：推拉窗"), number(101),
          text("合并的说明", ' table:number-columns-spanned="2"'), "<table:covered-table-cell/>")
    + row(text("型材名称"), text("型材规格"), text("数量"), text("计算公式"))
    + row('<table:table-cell office:value-type="string"><text:p><text:span text:style-name="T1">框</text:span>料'
          "</text:p></table:table-cell>", text("60-01"), number(2), text("B-2*KH1"))
    + row(text("扇料"), text("60-02"), formula("2*2"), text("H/2"))
    + row(text("配件名称"), text("配件规格"), text("数量"), text("单位"))
    + row(text("执手"), text("ZS"), formula("1+1"), text("个"))
    + "</table:table>\n"
)
COVER = (
    '<table:table table:name="封面">\n'
    + row(text("塑钢门窗公式表", ' table:number-columns-spanned="4"'), *["<table:covered-table-cell/>"] * 3)
    + row(text("编制：技术科"))
    + "</table:table>\n"
)


def convert(work, name, body, target):
    source = os.path.join(work, name + ".fods")
    with open(source, "w", encoding="utf-8") as f:
        f.write(HEAD + body + TAIL)
    subprocess.run(["soffice", "--headless", f"-env:UserInstallation=file://{work}/profile",
                    "--convert-to", target, "--outdir", work, source], check=True, stdout=subprocess.DEVNULL)
    return os.path.join(work, name + "." + target.split(":")[0])


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    with tempfile.TemporaryDirectory() as work:
        xlsx = 'xlsx:Calc MS Excel 2007 XML'
        shutil.copy(convert(work, "formulas", FORMULAS + COVER, xlsx), os.path.join(here, "formulas-libreoffice.xlsx"))
        shutil.copy(convert(work, "cover", COVER + FORMULAS, xlsx), os.path.join(here, "cover-first-libreoffice.xlsx"))
        shutil.copy(convert(work, "formulas", FORMULAS + COVER, "ods"), os.path.join(here, "formulas.ods"))


if __name__ == "__main__":
    main()
