// The [PozN] sections: goods paired with positions in order, the unit price, the VAT
// rate, and tables laid out in ways the sections must survive.
#include <gtest/gtest.h>

#include <string>

#include "invoice_tables.hpp"

namespace {

using fixture::InvoiceTables;

// One line of the first position's section, after a change to the tables.
TEST(PositionSections, LinesOfAPosition) {
  const fixture::LineCase kCases[] = {
      {"quantity text as stored", nullptr, "Ilosc=", "    12.000"},
      {"VAT rate", [](InvoiceTables& t) { fixture::set_value(t.goods, "PODA_OBRO", "7"); },
       "Vat=", "7 %"},
      {"VAT rate truncated",
       [](InvoiceTables& t) { fixture::set_value(t.goods, "PODA_OBRO", "22.9"); }, "Vat=", "22 %"},
      {"negative VAT rate",
       [](InvoiceTables& t) { fixture::set_value(t.goods, "PODA_OBRO", "-3.5"); }, "Vat=", "-3 %"},
      {"missing VAT rate",
       [](InvoiceTables& t) { fixture::rename_field(t.goods, "PODA_OBRO", "VAT"); }, "Vat=", "0 %"},
      {"zero quantity, positive value",
       [](InvoiceTables& t) { fixture::set_value(t.positions, "ILOSC", "0.000"); },
       "CenaNetto=", "1.#INF"},
      {"zero quantity, negative value",
       [](InvoiceTables& t) {
         fixture::set_value(t.positions, "ILOSC", "0");
         fixture::set_value(t.positions, "WART_ZL", "-5.00");
       },
       "CenaNetto=", "-1.#INF"},
      {"zero quantity, zero value",
       [](InvoiceTables& t) {
         fixture::set_value(t.positions, "ILOSC", "");
         fixture::set_value(t.positions, "WART_ZL", "0.00");
       },
       "CenaNetto=", "-1.#IND"},
      {"quantity -0 flips the infinity",
       [](InvoiceTables& t) { fixture::set_value(t.positions, "ILOSC", "-0"); },
       "CenaNetto=", "-1.#INF"},
      {"zero value, negative quantity",
       [](InvoiceTables& t) {
         fixture::set_value(t.positions, "ILOSC", "-3");
         fixture::set_value(t.positions, "WART_ZL", "0");
       },
       "CenaNetto=", "0.0000"},
      {"return of goods",
       [](InvoiceTables& t) { fixture::set_value(t.positions, "ILOSC", "-12.000"); },
       "CenaNetto=", "-3.2900"},
      {"value 10, quantity 4",
       [](InvoiceTables& t) {
         fixture::set_value(t.positions, "ILOSC", "4");
         fixture::set_value(t.positions, "WART_ZL", "10");
       },
       "CenaNetto=", "2.5000"},
      {"classification comes from NAZWISKO only",
       [](InvoiceTables& t) { fixture::rename_field(t.goods, "NAZWISKO", "PKWIU"); }, "PKWIU=", ""},
      {"missing goods name",
       [](InvoiceTables& t) { fixture::rename_field(t.goods, "TOWAR", "NAZWA"); }, "Nazwa=", ""},
  };
  fixture::expect_lines(kCases);
}

// Layouts that change nothing in the invoice.
TEST(PositionSections, LayoutsThatGiveTheSameInvoice) {
  struct Case {
    const char* what;
    void (*edit)(InvoiceTables&);
  };
  const Case kCases[] = {
      {"deleted records are read like any other",
       [](InvoiceTables& t) {
         t.positions.deleted = t.goods.deleted = {true, false, true};
       }},
      {"the goods record count is not consulted",
       [](InvoiceTables& t) { t.goods.record_count = 0; }},
      {"more goods than positions",
       [](InvoiceTables& t) { t.goods.records.push_back(t.goods.records.front()); }},
      {"no end-of-file marker",
       [](InvoiceTables& t) {
         t.positions.end_of_file_marker = t.goods.end_of_file_marker = false;
       }},
      {"goods fields beyond offset 32767 in records longer than 2047 bytes",
       [](InvoiceTables& t) {
         for (int i = 0; i < 130; ++i) {
           t.goods.fields.insert(t.goods.fields.begin(), {"OPIS" + std::to_string(i), 'C', 255});
           for (auto& record : t.goods.records) record.insert(record.begin(), "opis");
         }
       }},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    InvoiceTables tables = fixture::sample_invoice();
    c.edit(tables);
    const fixture::Export result = fixture::export_tables(tables);
    EXPECT_EQ(result.run.status, 0) << result.run.err;
    EXPECT_EQ(result.run.err, "");
    EXPECT_EQ(result.invoice, fixture::golden_invoice());
  }
}

// A descriptor wider than what is left of the record gives only the bytes inside it.
TEST(PositionSections, FieldReachingPastTheRecordEnd) {
  InvoiceTables tables = fixture::sample_invoice();
  fixture::TempFolder folder;
  fixture::write_tables(folder.path, tables);
  // PODA_OBRO (5) is the goods table's last field: the records stop after its first
  // three bytes, and the header says so.
  const std::uint16_t cut_length = fixture::record_length(tables.goods) - 2;
  std::string bytes = fixture::header_bytes(tables.goods, 3);
  fixture::put_u16le(bytes, 10, cut_length);
  for (const auto& record : tables.goods.records) {
    bytes += fixture::record_bytes(tables.goods, record).substr(0, cut_length);
  }
  fixture::write_file(folder.path / "dtowar.dbf", bytes);
  const fixture::RunResult run = fixture::run_invoice_export(folder.path, {"faktura.txt"});
  EXPECT_EQ(run.status, 0);
  const std::string invoice = fixture::read_file(folder.path / "faktura.txt");
  // " 5.00" cut to " 5." and "23.00" to "23.": the rates still read as whole numbers.
  EXPECT_EQ(fixture::line_value(invoice, "Vat="), "5 %");
  EXPECT_EQ(fixture::line_value(invoice.substr(invoice.find("[Poz3]")), "Vat="), "23 %");
}

// Sections are numbered by a counter that does not wrap at 65,536.
TEST(PositionSections, NumbersPastSixteenBits) {
  constexpr int kPositions = 70000;
  InvoiceTables tables = fixture::sample_invoice();
  tables.positions.fields = {{"ILOSC", 'N', 3}, {"WART_ZL", 'N', 3}};
  tables.goods.fields = {{"TOWAR", 'C', 3}};
  tables.positions.records.assign(kPositions, {"1", "2"});
  tables.goods.records.assign(kPositions, {"abc"});
  const fixture::Export result = fixture::export_tables(tables);
  EXPECT_EQ(result.run.status, 0);
  ASSERT_TRUE(result.invoice.has_value());
  const std::string last_section =
      "[Poz70000]\r\nNazwa=abc\r\nSymbol=\r\nJedn=\r\nIlosc=  1\r\nCenaNetto=2.0000\r\n"
      "Vat=0 %\r\nPKWIU=\r\n";
  EXPECT_TRUE(result.invoice->ends_with(last_section));
  EXPECT_NE(result.invoice->find("\r\n[Poz65536]\r\n"), std::string::npos);
  EXPECT_EQ(result.invoice->find("[Poz70001]"), std::string::npos);
}

}  // namespace
