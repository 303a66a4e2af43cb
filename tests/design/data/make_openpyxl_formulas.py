#!/usr/bin/env python3
"""Makes formulas-openpyxl.xlsx: a formula sheet whose counts are formulas, written by openpyxl,
which stores a formula without computing it (the cells carry no result). Run with Debian's
python3-openpyxl: /usr/bin/python3 make_openpyxl_formulas.py"""
import openpyxl

book = openpyxl.Workbook()
sheet = book.active
sheet.title = "公式"
rows = [
    ["门窗名称：推拉窗", 101],
    ["型材名称", "型材规格", "数量", "计算公式"],
    ["框料", "60-01", 2, "B-2*KH1"],
    ["扇料", "60-02", "=2*2", "H/2"],  # the sheet shows 4
    ["型钢名称", "型钢规格", "数量", "计算公式"],
    ["钢衬", "G-20", 2, "B-100"],
    ["板材名称", "数量", "长公式", "宽公式"],
    ["白玻", 2, "B/2-10", "H-20"],
    ["配件名称", "配件规格", "数量", "单位"],
    ["合页", "HY", 4, "套"],
    ["执手", "ZS", "=1+1", "个"],  # the sheet shows 2
]
for row in rows:
    sheet.append(row)
book.save("formulas-openpyxl.xlsx")
