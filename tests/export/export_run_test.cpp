// Whole runs of the program: the golden invoice, every failure with its messages and
// exit status, and inputs the program must not harm.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "invoice_tables.hpp"
#include "run_program.hpp"

namespace {

using fixture::InvoiceTables;

constexpr const char* kMissingArgument =
    "Brak parametru - nazwa pliku wyj\x9e"
    "ciowego";

TEST(ExportRun, WritesTheGoldenInvoiceWhateverTheHeaderTrailer) {
  for (const std::size_t trailer :
       {fixture::kDbase3Trailer, fixture::kTwoByteTrailer, fixture::kFoxProTrailer}) {
    SCOPED_TRACE(trailer);
    InvoiceTables tables = fixture::sample_invoice();
    for (fixture::Table* table : {&tables.invoice, &tables.positions, &tables.goods}) {
      table->trailer_length = trailer;
    }
    const fixture::Export result = fixture::export_tables(tables);
    EXPECT_EQ(result.run.status, 0);
    EXPECT_EQ(result.run.out, "");
    EXPECT_EQ(result.run.err, "");
    EXPECT_EQ(result.invoice, fixture::golden_invoice());
  }
}

// The sample tables (dBASE III layout, code page 852) give the invoice shown beside them.
TEST(ExportRun, ExportsTheSampleInvoice) {
  fixture::TempFolder output;
  const std::string path = (output.path / "faktura.txt").string();
  const fixture::RunResult run = fixture::run_invoice_export(EXAMPLES_FOLDER, {path});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(fixture::read_file(path),
            fixture::read_file(std::filesystem::path(EXAMPLES_FOLDER) / "faktura.txt"));
}

TEST(ExportRun, ExtraArgumentsChangeNothing) {
  fixture::TempFolder folder;
  fixture::write_tables(folder.path, fixture::sample_invoice());
  const fixture::RunResult run =
      fixture::run_invoice_export(folder.path, {"faktura.txt", "inny.txt", "-x"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(fixture::read_file(folder.path / "faktura.txt"), fixture::golden_invoice());
  EXPECT_FALSE(std::filesystem::exists(folder.path / "inny.txt"));
}

TEST(ExportRun, CommandLineAndOutputFailures) {
  fixture::TempFolder folder;
  fixture::write_tables(folder.path, fixture::sample_invoice());
  struct Case {
    std::vector<std::string> arguments;
    std::string out;
    std::string err;
  };
  const Case kCases[] = {
      {{}, kMissingArgument, ""},
      {{"brak/faktura.txt"}, "Niemozliwe otwarcie brak/faktura.txt\r\n", ""},
      {{"."}, "Niemozliwe otwarcie .\r\n", ""},
      {{"/dev/full"}, "", "Blad zapisu /dev/full\r\n"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.out + c.err);
    const fixture::RunResult run = fixture::run_invoice_export(folder.path, c.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
  }
  EXPECT_FALSE(std::filesystem::exists(folder.path / "brak"));
}

// Each failure of a table: what the console shows and what stays in the file.
TEST(ExportRun, TableFailures) {
  using Folder = std::filesystem::path;
  const std::string golden = fixture::golden_invoice();
  const std::string header_only = fixture::header_section_of(golden);
  const std::string two_positions = golden.substr(0, golden.find("[Poz3]"));
  struct Case {
    const char* what;
    void (*edit)(InvoiceTables&);                         // before the tables are written
    void (*damage)(const InvoiceTables&, const Folder&);  // to the written files
    std::string out;
    std::string err;
    std::string invoice;
    int status;
  };
  const Case kCases[] = {
      {"no invoice table", nullptr,
       [](const InvoiceTables&, const Folder& f) { std::filesystem::remove(f / "dfaktura.dbf"); },
       "Niemozliwe otwarcie dfaktura.dbf\r\n", "", "", 1},
      {"no positions table", nullptr,
       [](const InvoiceTables&, const Folder& f) { std::filesystem::remove(f / "dpozycja.dbf"); },
       "Niemozliwe otwarcie dpozycja.dbf\r\n", "", header_only, 1},
      {"no goods table", nullptr,
       [](const InvoiceTables&, const Folder& f) { std::filesystem::remove(f / "dtowar.dbf"); },
       "Niemozliwe otwarcie dtowar.dbf\r\n", "", header_only, 1},
      {"invoice table without records", [](InvoiceTables& t) { t.invoice.records.clear(); },
       nullptr, "", "Brak rekordu w dfaktura.dbf\r\n", "", 1},
      {"invoice table cut inside its first record", nullptr,
       [](const InvoiceTables& t, const Folder& f) {
         const std::string bytes = fixture::table_bytes(t.invoice);
         fixture::write_file(f / "dfaktura.dbf",
                             bytes.substr(0, fixture::header_length(t.invoice) + 5));
       },
       "", "Brak rekordu w dfaktura.dbf\r\n", "", 1},
      {"invoice table with record length 0", nullptr,
       [](const InvoiceTables& t, const Folder& f) {
         std::string bytes = fixture::table_bytes(t.invoice);
         fixture::put_u16le(bytes, 10, 0);
         fixture::write_file(f / "dfaktura.dbf", bytes);
       },
       "", "Uszkodzony naglowek dfaktura.dbf\r\n", "", 1},
      {"positions table with header length 32", nullptr,
       [](const InvoiceTables& t, const Folder& f) {
         std::string bytes = fixture::table_bytes(t.positions);
         fixture::put_u16le(bytes, 8, 32);
         fixture::write_file(f / "dpozycja.dbf", bytes);
       },
       "", "Uszkodzony naglowek dpozycja.dbf\r\n", header_only, 1},
      {"empty goods file", nullptr,
       [](const InvoiceTables&, const Folder& f) { fixture::write_file(f / "dtowar.dbf", ""); }, "",
       "Uszkodzony naglowek dtowar.dbf\r\n", header_only, 1},
      {"positions count 0", [](InvoiceTables& t) { t.positions.record_count = 0; }, nullptr, "", "",
       header_only, 0},
      {"positions count with the top bit set",
       [](InvoiceTables& t) { t.positions.record_count = -2147483647 - 1; }, nullptr, "", "",
       header_only, 0},
      {"positions table ends before its count",
       [](InvoiceTables& t) { t.positions.record_count = 5; }, nullptr, "",
       "Niepelna tabela dpozycja.dbf\r\n", golden, 1},
      {"positions count below the records there",
       [](InvoiceTables& t) { t.positions.record_count = 2; }, nullptr, "", "", two_positions, 0},
      {"goods table ends before the positions",
       [](InvoiceTables& t) { t.goods.records.pop_back(); }, nullptr, "",
       "Niepelna tabela dtowar.dbf\r\n", two_positions, 1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    InvoiceTables tables = fixture::sample_invoice();
    if (c.edit != nullptr) c.edit(tables);
    fixture::TempFolder folder;
    fixture::write_tables(folder.path, tables);
    if (c.damage != nullptr) c.damage(tables, folder.path);
    const fixture::RunResult run = fixture::run_invoice_export(folder.path, {"faktura.txt"});
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(fixture::read_file(folder.path / "faktura.txt"), c.invoice);
  }
}

// Naming a table as the output would empty it before it is read.
TEST(ExportRun, RefusesToOverwriteAnInputTable) {
  struct Case {
    const char* output;
    void (*prepare)(const std::filesystem::path& folder);
    const char* table;
  };
  const Case kCases[] = {
      {"dfaktura.dbf", nullptr, "dfaktura.dbf"},
      {"./dpozycja.dbf", nullptr, "dpozycja.dbf"},
      {"link.txt",
       [](const std::filesystem::path& folder) {
         std::filesystem::create_symlink("dtowar.dbf", folder / "link.txt");
       },
       "dtowar.dbf"},
      {"hard.txt",
       [](const std::filesystem::path& folder) {
         std::filesystem::create_hard_link(folder / "dpozycja.dbf", folder / "hard.txt");
       },
       "dpozycja.dbf"},
      {"sub/../dtowar.dbf",
       [](const std::filesystem::path& folder) {
         std::filesystem::create_directory(folder / "sub");
       },
       "dtowar.dbf"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.output);
    fixture::TempFolder folder;
    const InvoiceTables tables = fixture::sample_invoice();
    fixture::write_tables(folder.path, tables);
    if (c.prepare != nullptr) c.prepare(folder.path);
    const fixture::RunResult run = fixture::run_invoice_export(folder.path, {c.output});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              std::string("Plik wyjsciowy ") + c.output + " to tabela " + c.table + "\r\n");
    EXPECT_EQ(fixture::read_file(folder.path / "dfaktura.dbf"),
              fixture::table_bytes(tables.invoice));
    EXPECT_EQ(fixture::read_file(folder.path / "dpozycja.dbf"),
              fixture::table_bytes(tables.positions));
    EXPECT_EQ(fixture::read_file(folder.path / "dtowar.dbf"), fixture::table_bytes(tables.goods));
  }
}

}  // namespace
