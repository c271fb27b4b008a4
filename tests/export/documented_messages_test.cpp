// The messages the README documents are the ones the program prints: each row of its
// message table is produced by a run, on the stream the table names, with status 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "invoice_tables.hpp"

namespace {

using fixture::InvoiceTables;

struct DocumentedMessage {
  std::string text;    // between the backticks, with <file>, <table> or <path> in it
  std::string stream;  // "stdout" or "stderr"
};

// The rows of the README table headed "| Message | Stream | Meaning |".
std::vector<DocumentedMessage> readme_messages() {
  std::ifstream readme(README_PATH);
  std::vector<DocumentedMessage> messages;
  bool in_table = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.starts_with("| Message | Stream |")) {
      in_table = true;
    } else if (in_table && !line.starts_with("|")) {
      break;
    } else if (in_table && line.starts_with("| `")) {
      const std::size_t end = line.find('`', 3);
      const std::size_t stream = line.find("| ", end) + 2;
      messages.push_back({line.substr(3, end - 3), line.substr(stream, 6)});
    }
  }
  return messages;
}

struct Scenario {
  void (*edit)(InvoiceTables&, const std::filesystem::path& folder);  // after writing
  std::vector<std::string> arguments;
  std::map<std::string, std::string> placeholders;
  std::string line_end = "\r\n";
};

// A run that gives each documented message, by the message's text in the README.
const std::map<std::string, Scenario>& scenarios() {
  static const std::map<std::string, Scenario> kScenarios = {
      {"Brak parametru - nazwa pliku wyjściowego", {nullptr, {}, {{"ś", "\x9e"}}, ""}},
      {"Niemozliwe otwarcie <file>",
       {[](InvoiceTables&, const std::filesystem::path& f) {
          std::filesystem::remove(f / "dtowar.dbf");
        },
        {"faktura.txt"},
        {{"<file>", "dtowar.dbf"}}}},
      {"Plik wyjsciowy <path> to tabela <table>",
       {nullptr, {"./dfaktura.dbf"}, {{"<path>", "./dfaktura.dbf"}, {"<table>", "dfaktura.dbf"}}}},
      {"Uszkodzony naglowek <table>",
       {[](InvoiceTables& t, const std::filesystem::path& f) {
          std::string bytes = fixture::table_bytes(t.positions);
          fixture::put_u16le(bytes, 8, 0);
          fixture::write_file(f / "dpozycja.dbf", bytes);
        },
        {"faktura.txt"},
        {{"<table>", "dpozycja.dbf"}}}},
      {"Brak rekordu w dfaktura.dbf",
       {[](InvoiceTables& t, const std::filesystem::path& f) {
          t.invoice.records.clear();
          fixture::write_file(f / "dfaktura.dbf", fixture::table_bytes(t.invoice));
        },
        {"faktura.txt"},
        {}}},
      {"Niepelna tabela dpozycja.dbf",
       {[](InvoiceTables& t, const std::filesystem::path& f) {
          t.positions.record_count = 4;
          fixture::write_file(f / "dpozycja.dbf", fixture::table_bytes(t.positions));
        },
        {"faktura.txt"},
        {}}},
      {"Niepelna tabela dtowar.dbf",
       {[](InvoiceTables& t, const std::filesystem::path& f) {
          t.goods.records.pop_back();
          fixture::write_file(f / "dtowar.dbf", fixture::table_bytes(t.goods));
        },
        {"faktura.txt"},
        {}}},
      {"Blad zapisu <file>", {nullptr, {"/dev/full"}, {{"<file>", "/dev/full"}}}},
  };
  return kScenarios;
}

// Allocations of at most a few dozen kilobytes fail only when the machine is out of
// memory, which a test cannot arrange without disturbing everything else.
const std::string kNotProducible = "Brak pamieci na tabele <table>";

TEST(DocumentedMessages, EveryDocumentedMessageIsWhatTheProgramPrints) {
  const std::vector<DocumentedMessage> documented = readme_messages();
  ASSERT_EQ(documented.size(), scenarios().size() + 1)
      << "a message is documented or tested, not both";
  for (const DocumentedMessage& message : documented) {
    SCOPED_TRACE(message.text);
    if (message.text == kNotProducible) continue;
    const auto found = scenarios().find(message.text);
    ASSERT_NE(found, scenarios().end()) << "no run produces this documented message";
    const Scenario& scenario = found->second;

    std::string expected = message.text;
    for (const auto& [placeholder, value] : scenario.placeholders) {
      expected.replace(expected.find(placeholder), placeholder.size(), value);
    }
    expected += scenario.line_end;

    InvoiceTables tables = fixture::sample_invoice();
    fixture::TempFolder folder;
    fixture::write_tables(folder.path, tables);
    if (scenario.edit != nullptr) scenario.edit(tables, folder.path);
    const fixture::RunResult run = fixture::run_invoice_export(folder.path, scenario.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(message.stream == "stdout" ? run.out : run.err, expected);
    EXPECT_EQ(message.stream == "stdout" ? run.err : run.out, "");
  }
}

}  // namespace
