// The [Naglowek] section: number, dates and payment word from the invoice table.
#include <gtest/gtest.h>

#include <string>

#include "invoice_tables.hpp"

namespace {

using fixture::InvoiceTables;

TEST(HeaderSection, LinesFromTheInvoiceTable) {
  const fixture::LineCase kCases[] = {
      {"filling spaces of the number stay", nullptr, "Nr=", "12        /2026"},
      {"missing number",
       [](InvoiceTables& t) { fixture::rename_field(t.invoice, "NR_WEWN", "NR"); }, "Nr=", "/2026"},
      {"missing year",
       [](InvoiceTables& t) { fixture::rename_field(t.invoice, "NR_WEWN_R", "ROK"); },
       "Nr=", "12        /"},
      {"date", [](InvoiceTables& t) { fixture::set_value(t.invoice, "DATA", "20030123"); },
       "DataWyst=", "03.01.23"},
      {"sale date", [](InvoiceTables& t) { fixture::set_value(t.invoice, "DAT_S", "19991231"); },
       "DataSprzed=", "99.12.31"},
      {"due date", [](InvoiceTables& t) { fixture::set_value(t.invoice, "TERMIN", "20040229"); },
       "Termin=", "04.02.29"},
      {"blank date", [](InvoiceTables& t) { fixture::set_value(t.invoice, "DATA", ""); },
       "DataWyst=", "  .  .  "},
      {"missing date", [](InvoiceTables& t) { fixture::rename_field(t.invoice, "DATA", "D"); },
       "DataWyst=", "  .  .  "},
      {"short date field",
       [](InvoiceTables& t) {
         t.invoice.fields[fixture::field_index(t.invoice, "DAT_S")].width = 5;
         fixture::set_value(t.invoice, "DAT_S", "20031");
       },
       "DataSprzed=", "03.1 .  "},
      {"NUL inside the date",
       [](InvoiceTables& t) {
         fixture::set_value(t.invoice, "TERMIN",
                            std::string("2003\0"
                                        "123",
                                        8));
       },
       "Termin=", "03.  .  "},
      {"check", [](InvoiceTables& t) { fixture::set_value(t.invoice, "SPOS_ZAPL", "Czek"); },
       "Platnosc=", "czek"},
      {"cash", [](InvoiceTables& t) { fixture::set_value(t.invoice, "SPOS_ZAPL", "G"); },
       "Platnosc=", "gotowka"},
      {"transfer", [](InvoiceTables& t) { fixture::set_value(t.invoice, "SPOS_ZAPL", "Przelew"); },
       "Platnosc=", "przelew"},
      {"lower case is no method",
       [](InvoiceTables& t) { fixture::set_value(t.invoice, "SPOS_ZAPL", "przelew"); },
       "Platnosc=", ""},
      {"blank method", [](InvoiceTables& t) { fixture::set_value(t.invoice, "SPOS_ZAPL", ""); },
       "Platnosc=", ""},
      {"missing method",
       [](InvoiceTables& t) { fixture::rename_field(t.invoice, "SPOS_ZAPL", "SPOSOB"); },
       "Platnosc=", ""},
      {"deleted first record is read like any other",
       [](InvoiceTables& t) { t.invoice.deleted = {true}; }, "Nr=", "12        /2026"},
  };
  fixture::expect_lines(kCases);
}

}  // namespace
