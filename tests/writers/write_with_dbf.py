#!/usr/bin/python3
"""Writes the sample invoice's three tables with python3-dbf (Debian's package).

Usage: write_with_dbf.py VARIANT FOLDER, VARIANT one of db3 (dBASE III), vfp (Visual
FoxPro) or fp (FoxPro 2, which this library writes only for tables with a memo field).
The contents are those of the test fixture sample_invoice(), so the export must give
tests/golden/invoice.txt. Whatever else the library does (header trailer, end-of-file
byte, number alignment) is its own choice.
"""
import datetime
import os
import sys

import dbf

variant, folder = sys.argv[1], sys.argv[2]


def write(name, fields, records):
    if variant == "fp":
        # A memo field just before the last one, so that a number stays last.
        head, last = fields.rsplit(";", 1)
        fields = head + "; UWAGI M;" + last
        records = [record[:-1] + ("uwagi",) + record[-1:] for record in records]
    table = dbf.Table(os.path.join(folder, name), fields, dbf_type=variant, codepage="cp852")
    table.open(dbf.READ_WRITE)
    for record in records:
        table.append(record)
    table.close()


def day(text):
    return datetime.date(int(text[:4]), int(text[4:6]), int(text[6:]))


write("dfaktura.dbf",
      "NR_WEWN C(10); NR_WEWN_R C(4); NABYWCA C(30); DATA D; DAT_S D; SPOS_ZAPL C(10); "
      "TERMIN D; WARTOSC N(12,2)",
      [("12", "2026", "Sklep Żółty Sp. z o.o.", day("20261211"), day("20261210"), "Przelew",
        day("20261225"), 173.48),
       ("13", "2026", "Inny", day("20261212"), day("20261212"), "Gotowka", day("20261212"), 1.0)])

write("dpozycja.dbf", "LP N(3,0); ID_TOW N(6,0); ILOSC N(10,3); WART_ZL N(12,2)",
      [(1, 101, 12.0, 39.48), (2, 102, 3.0, 100.0), (3, 103, 32.0, 1.0)])

write("dtowar.dbf",
      "ID_TOW N(6,0); TOWAR C(40); KOD_KRESKI C(13); JM C(5); NAZWISKO C(20); CENA N(10,2); "
      "PODA_OBRO N(5,2)",
      [(101, "Mleko UHT 3,2% 1l", "5900512345678", "szt", "10.51.11.0", 3.29, 5.0),
       (102, "Żółć spożywcza", "5901234123457", "kg", "10.89.19.0", 33.33, 8.0),
       (103, "Usługa pakowania", "", "usł", "82.92.10.0", 0.03, 23.0)])
