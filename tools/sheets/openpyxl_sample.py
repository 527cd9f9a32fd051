"""Writes openpyxl-sample.xlsx: the sample sheet as openpyxl writes it (formulas carry no
cached value, so a reader shows them empty)."""
import sys

from openpyxl import Workbook

book = Workbook()
sheet = book.active
sheet.title = "Values"
sheet.append(["Bayern", "DE.BY", 12.5, 3])
sheet.append(["Baden-Württemberg", "DE.BW", 1234567.891])
sheet["C2"].number_format = "#,##0.00"
sheet.append(["Berlin", "DE.BE", 0.25, -7])
sheet["C3"].number_format = "0%"
sheet.append([])
sheet.append([])
sheet.append(["Hamburg", "DE.HH", "=C1*2", 1e20])
sheet["D6"].number_format = "0.00E+00"
sheet.append(["Bremen", "DE.HB", "12,5", True])
sheet.cell(row=9, column=2, value="007")
sheet.cell(row=9, column=3, value=0.1)
book.create_sheet("Other").append(["Saarland", "DE.SL", 99])
book.save(sys.argv[1])
