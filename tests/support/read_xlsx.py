# Prints what a spreadsheet reader finds in an .xlsx file, for the tests.
# Line 1: "sheets:<count>"; then one line per row of the first sheet, cells
# separated by tabs: "" empty, "n:<number>", "s:<text>", "d:<iso>|<serial>|<format>".
import sys

import openpyxl
from openpyxl.utils.datetime import to_excel
import datetime


def text(value):
    return value.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def cell(c):
    v = c.value
    if v is None:
        return ""
    if isinstance(v, bool):
        return "b:" + str(v)
    if isinstance(v, (int, float)):
        return "n:" + repr(float(v))
    if isinstance(v, (datetime.datetime, datetime.date, datetime.time)):
        return "d:%s|%r|%s" % (v.isoformat(), float(to_excel(v)), c.number_format)
    return "s:" + text(str(v))


book = openpyxl.load_workbook(sys.argv[1])
out = ["sheets:%d" % len(book.worksheets)]
sheet = book.worksheets[0]
if sheet.max_row > 1 or sheet.max_column > 1 or sheet.cell(1, 1).value is not None:
    for row in sheet.iter_rows():
        out.append("\t".join(cell(c) for c in row))
sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))
