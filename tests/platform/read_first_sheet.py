#!/usr/bin/env python3
"""Reads the first worksheet of an .xlsx file with openpyxl, an independent reader, and prints it
as JSON: {"sheet": name, "rows": [[cell, ...], ...]} with text cells as strings, number cells as
numbers and empty cells as null, up to the last used row and column.

Exit status 3 when openpyxl is not installed, so that the calling test can skip."""
import json
import sys

try:
    import openpyxl
except ImportError:
    sys.exit(3)


def main() -> int:
    book = openpyxl.load_workbook(sys.argv[1], read_only=False, data_only=True)
    sheet = book.worksheets[0]
    rows = []
    for row in sheet.iter_rows(min_row=1, max_row=sheet.max_row, max_col=sheet.max_column):
        rows.append([cell.value for cell in row])
    # An empty sheet reports one empty row.
    if all(value is None for row in rows for value in row):
        rows = []
    json.dump({"sheet": sheet.title, "rows": rows}, sys.stdout, ensure_ascii=False)
    return 0


if __name__ == "__main__":
    sys.exit(main())
