#!/bin/sh
# Remakes the spreadsheet files the import tests read, with real spreadsheet programs:
# LibreOffice Calc, Gnumeric's ssconvert and Python's openpyxl (Debian packages
# libreoffice-calc, gnumeric, python3-openpyxl). Run from the repository root after a build
# in build/. The files are committed, so the test suite needs none of these programs.
set -eu
out=tests/io/data
here=tools/sheets
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

calc() { # calc FORMAT[:FILTER OPTIONS] SOURCE -> converted file in $work/out
    rm -rf "$work/out"
    soffice --headless "-env:UserInstallation=file://$work/profile" \
        --convert-to "$1" --outdir "$work/out" "$2" >/dev/null 2>&1
}

# The sample: shared strings, rich text, numbers in several formats, formulas, empty rows,
# a second sheet. LibreOffice writes it in every format the program reads.
for format in xlsx xls ods; do
    calc "$format" "$here/sample.fods"
    cp "$work/out/sample.$format" "$out/calc-sample.$format"
done
calc 'csv:Text - txt - csv (StarCalc):44,34,76,1' "$here/sample.fods"
cp "$work/out/sample.csv" "$out/calc-sample.csv"
calc 'csv:Text - txt - csv (StarCalc):59,34,1,1' "$here/sample.fods" # ';', Windows-1252
cp "$work/out/sample.csv" "$out/calc-sample-semicolon.csv"

# Gnumeric writes inline strings; openpyxl leaves formulas without a cached value.
ssconvert "$out/calc-sample.ods" "$out/gnumeric-sample.xlsx" >/dev/null 2>&1
ssconvert "$out/calc-sample.ods" "$out/gnumeric-sample.xls" >/dev/null 2>&1
/usr/bin/python3 "$here/openpyxl_sample.py" "$out/openpyxl-sample.xlsx"

# 10,000 rows for the size tests and the benchmarks.
awk 'BEGIN { for (i = 1; i <= 10000; i++)
    printf "Region %05d,R%05d,%d.%02d,%d\n", i, i, i * 7 % 1000, i % 100, i % 9 + 1 }' \
    >"$work/rows-10k.csv"
for format in xlsx xls ods; do
    rm -rf "$work/out"
    soffice --headless "-env:UserInstallation=file://$work/profile" \
        --infilter='CSV:44,34,76,1' --convert-to "$format" --outdir "$work/out" \
        "$work/rows-10k.csv" >/dev/null 2>&1
    cp "$work/out/rows-10k.$format" "$out/calc-rows-10k.$format"
done

# Round trip: the program's own export, converted by LibreOffice as a user saving it would.
cmake --build build --target tolvane-sheet-sample >/dev/null
build/tolvane-sheet-sample "$out/roundtrip.xlsx"
for format in ods xls; do
    calc "$format" "$out/roundtrip.xlsx"
    cp "$work/out/roundtrip.$format" "$out/roundtrip-calc.$format"
done
ls -l "$out"
