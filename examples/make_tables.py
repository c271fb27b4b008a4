#!/usr/bin/env python3
"""Writes the sample tables dfaktura.dbf, dpozycja.dbf and dtowar.dbf in this folder.

The tables are laid out as dBASE III writes them (the header ends with the terminator
byte 0x0D alone) and hold their texts in code page 852, as a DOS sales program would.
Run it again after changing the data below; the committed .dbf files are its output.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write_table(name, fields, records):
    record_length = 1 + sum(width for _, _, width, _ in fields)
    header_length = 32 + 32 * len(fields) + 1
    out = bytearray(struct.pack("<BBBBiHH20x", 0x03, 126, 12, 11, len(records),
                                header_length, record_length))
    for field_name, field_type, width, decimals in fields:
        out += struct.pack("<11sc4xBB14x", field_name.encode("ascii"),
                           field_type.encode("ascii"), width, decimals)
    out += b"\x0d"
    for record in records:
        out += b" "
        for (_, field_type, width, _), value in zip(fields, record):
            data = value.encode("cp852")[:width]
            out += data.rjust(width) if field_type == "N" else data.ljust(width)
    out += b"\x1a"
    with open(os.path.join(HERE, name), "wb") as table:
        table.write(out)


write_table(
    "dfaktura.dbf",
    [("NR_WEWN", "C", 10, 0), ("NR_WEWN_R", "C", 4, 0), ("NABYWCA", "C", 40, 0),
     ("NIP", "C", 13, 0), ("DATA", "D", 8, 0), ("DAT_S", "D", 8, 0),
     ("SPOS_ZAPL", "C", 10, 0), ("TERMIN", "D", 8, 0), ("WARTOSC", "N", 12, 2)],
    [["147", "2026", "Delikatesy Pod Zegarem s.c.", "521-301-72-28", "20261211",
      "20261209", "Przelew", "20261225", "470.69"]],
)

write_table(
    "dpozycja.dbf",
    [("LP", "N", 3, 0), ("ILOSC", "N", 10, 3), ("RABAT", "N", 5, 2), ("WART_ZL", "N", 12, 2)],
    [["1", "24.000", "0.00", "71.76"],
     ["2", "2.500", "5.00", "62.25"],
     ["3", "10.000", "0.00", "239.00"],
     ["4", "6.000", "0.00", "47.94"],
     ["5", "1.000", "0.00", "49.74"]],
)

write_table(
    "dtowar.dbf",
    [("TOWAR", "C", 40, 0), ("KOD_KRESKI", "C", 13, 0), ("JM", "C", 5, 0),
     ("NAZWISKO", "C", 20, 0), ("CENA", "N", 10, 2), ("PODA_OBRO", "N", 5, 2)],
    [["Woda źródlana niegazowana 1,5 l", "5900531000010", "szt", "11.07.11.0", "2.99", "5.00"],
     ["Ser żółty gouda", "2000000014522", "kg", "10.51.40.0", "24.90", "5.00"],
     ["Kawa ziarnista Łagodna 1 kg", "5901234560019", "szt", "10.83.11.0", "23.90", "23.00"],
     ["Ręcznik papierowy 2 rolki", "5907812345126", "opak", "17.22.12.0", "7.99", "23.00"],
     ["Usługa dostawy", "", "usł", "49.41.19.0", "49.74", "8.00"]],
)
