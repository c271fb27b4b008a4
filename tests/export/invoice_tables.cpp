// A small realistic invoice as three tables, for runs of the whole program.
#include "invoice_tables.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace fixture {

InvoiceTables sample_invoice() {
  InvoiceTables tables;
  tables.invoice.fields = {
      {"NR_WEWN", 'C', 10}, {"NR_WEWN_R", 'C', 4},  {"NABYWCA", 'C', 30}, {"DATA", 'D', 8},
      {"DAT_S", 'D', 8},    {"SPOS_ZAPL", 'C', 10}, {"TERMIN", 'D', 8},   {"WARTOSC", 'N', 12, 2},
  };
  tables.invoice.records = {
      {"12", "2026", "Sklep \xbd\xa2\x88ty Sp. z o.o.", "20261211", "20261210", "Przelew",
       "20261225", "173.48"},
      {"13", "2026", "Inny", "20261212", "20261212", "Gotowka", "20261212", "1.00"},
  };

  tables.positions.fields = {
      {"LP", 'N', 3},
      {"ID_TOW", 'N', 6},
      {"ILOSC", 'N', 10, 3},
      {"WART_ZL", 'N', 12, 2},
  };
  tables.positions.records = {
      {"1", "101", "12.000", "39.48"},
      {"2", "102", "3.000", "100.00"},
      {"3", "103", "32.000", "1.00"},
  };

  tables.goods.fields = {
      {"ID_TOW", 'N', 6},    {"TOWAR", 'C', 40},   {"KOD_KRESKI", 'C', 13},  {"JM", 'C', 5},
      {"NAZWISKO", 'C', 20}, {"CENA", 'N', 10, 2}, {"PODA_OBRO", 'N', 5, 2},
  };
  // Code page 852: \xbd is Z with dot above, \xbe z with dot above, \xa2 o acute,
  // \x88 l with stroke, \x86 c acute.
  tables.goods.records = {
      {"101", "Mleko UHT 3,2% 1l", "5900512345678", "szt", "10.51.11.0", "3.29", "5.00"},
      {"102", "\xbd\xa2\x88\x86 spo\xbeywcza", "5901234123457", "kg", "10.89.19.0", "33.33",
       "8.00"},
      {"103", "Us\x88uga pakowania", "", "us\x88", "82.92.10.0", "0.03", "23.00"},
  };
  return tables;
}

void write_tables(const std::filesystem::path& folder, const InvoiceTables& tables) {
  write_file(folder / "dfaktura.dbf", table_bytes(tables.invoice));
  write_file(folder / "dpozycja.dbf", table_bytes(tables.positions));
  write_file(folder / "dtowar.dbf", table_bytes(tables.goods));
}

Export export_tables(const InvoiceTables& tables) {
  TempFolder folder;
  write_tables(folder.path, tables);
  Export result;
  result.run = run_invoice_export(folder.path, {"faktura.txt"});
  if (std::filesystem::exists(folder.path / "faktura.txt")) {
    result.invoice = read_file(folder.path / "faktura.txt");
  }
  return result;
}

std::size_t field_index(const Table& table, const std::string& name) {
  for (std::size_t i = 0; i < table.fields.size(); ++i) {
    if (table.fields[i].name == name) return i;
  }
  throw std::invalid_argument("no field " + name);
}

void set_value(Table& table, const std::string& name, std::string value, std::size_t record) {
  table.records.at(record).at(field_index(table, name)) = std::move(value);
}

void rename_field(Table& table, const std::string& name, const std::string& new_name) {
  table.fields[field_index(table, name)].name = new_name;
}

std::string line_value(const std::string& invoice, const std::string& key) {
  std::size_t at = invoice.rfind(key, 0) == 0 ? 0 : invoice.find("\r\n" + key);
  if (at == std::string::npos) return "<no line>";
  if (at != 0) at += 2;
  const std::size_t start = at + key.size();
  return invoice.substr(start, invoice.find("\r\n", start) - start);
}

void expect_lines(std::span<const LineCase> cases) {
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.what);
    InvoiceTables tables = sample_invoice();
    if (c.edit != nullptr) c.edit(tables);
    const Export result = export_tables(tables);
    EXPECT_EQ(result.run.status, 0) << result.run.err;
    ASSERT_TRUE(result.invoice.has_value());
    EXPECT_EQ(line_value(*result.invoice, c.key), c.want);
  }
}

std::string golden_invoice() {
  return read_file(std::filesystem::path(GOLDEN_FOLDER) / "invoice.txt");
}

std::string header_section_of(const std::string& invoice) {
  return invoice.substr(0, invoice.find("[Poz"));
}

}  // namespace fixture
