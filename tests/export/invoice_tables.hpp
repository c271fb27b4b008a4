// A small realistic invoice as three tables, for runs of the whole program.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "run_program.hpp"
#include "table_builder.hpp"

namespace fixture {

struct InvoiceTables {
  Table invoice;    // dfaktura.dbf
  Table positions;  // dpozycja.dbf
  Table goods;      // dtowar.dbf
};

// Invoice 12/2026 with three positions (goods names in code page 852); the invoice it
// gives is tests/golden/invoice.txt.
InvoiceTables sample_invoice();

void write_tables(const std::filesystem::path& folder, const InvoiceTables& tables);

// The index of the named field in table, for changing a value or layout in a test.
std::size_t field_index(const Table& table, const std::string& name);

struct Export {
  RunResult run;
  std::optional<std::string> invoice;  // faktura.txt, if the run created it
};

// Writes the tables into a fresh folder and runs "invoice-export faktura.txt" there.
Export export_tables(const InvoiceTables& tables);

// Sets the named field of record index, or renames a field so that it is missing.
void set_value(Table& table, const std::string& name, std::string value, std::size_t record = 0);
void rename_field(Table& table, const std::string& name, const std::string& new_name);

// The value of the first line starting with key ("Vat=" say), or "<no line>".
std::string line_value(const std::string& invoice, const std::string& key);

// One line of the invoice after a change to the sample tables: the value of the first
// line starting with key.
struct LineCase {
  const char* what;
  void (*edit)(InvoiceTables&);  // null: the sample unchanged
  const char* key;
  std::string want;
};

// Exports the sample with each case's change and checks the run and the line.
void expect_lines(std::span<const LineCase> cases);

// The text of the golden invoice for sample_invoice().
std::string golden_invoice();

// The invoice's header section alone, and one position section, cut out of a whole
// invoice text.
std::string header_section_of(const std::string& invoice);

}  // namespace fixture
