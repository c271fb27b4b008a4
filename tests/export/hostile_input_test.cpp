// Damaged and cut tables, run in a loop: every run must end with exit status 0 or 1,
// standard output as for valid tables, one line on standard error when it fails,
// whole sections in the file, no descriptor left open and no sanitizer report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "invoice_tables.hpp"
#include "invoice_text.hpp"
#include "run_in_process.hpp"

namespace {

using fixture::InvoiceTables;

constexpr const char* kTableNames[] = {"dfaktura.dbf", "dpozycja.dbf", "dtowar.dbf"};

std::vector<std::string> sample_table_bytes() {
  const InvoiceTables tables = fixture::sample_invoice();
  return {fixture::table_bytes(tables.invoice), fixture::table_bytes(tables.positions),
          fixture::table_bytes(tables.goods)};
}

// The golden invoice up to and including position section count (-1: nothing at all).
std::string golden_sections(int count) {
  const std::string golden = fixture::golden_invoice();
  if (count < 0) return "";
  const std::size_t end = golden.find("[Poz" + std::to_string(count + 1) + "]");
  return golden.substr(0, end);
}

struct Outcome {
  int status;
  std::string err;
  std::string invoice;
};

// Runs the export on the three tables given as bytes and checks what every run must
// show, whatever the input.
Outcome run_sound(const std::vector<std::string>& tables) {
  fixture::TempFolder folder;
  for (std::size_t i = 0; i < tables.size(); ++i) {
    fixture::write_file(folder.path / kTableNames[i], tables[i]);
  }
  const fixture::InProcessRun run = fixture::run_in_process(folder.path, {"faktura.txt"});
  Outcome outcome{run.result.status, run.result.err,
                  fixture::read_file(folder.path / "faktura.txt")};
  EXPECT_EQ(run.descriptors_left_open, 0);
  EXPECT_EQ(run.result.out, "");
  EXPECT_TRUE(outcome.status == 0 || outcome.status == 1) << outcome.status;
  if (outcome.status == 0) {
    EXPECT_EQ(outcome.err, "");
  } else {
    EXPECT_TRUE(outcome.err.ends_with("\r\n") && outcome.err.find("\r\n") == outcome.err.size() - 2)
        << outcome.err;
  }
  EXPECT_TRUE(fixture::count_whole_sections(outcome.invoice).has_value()) << outcome.invoice;
  return outcome;
}

// Each table cut at every byte: the invoice is the golden one up to the last position
// that both tables hold in full, and anything short of the whole invoice is status 1.
TEST(HostileInput, TablesCutAtEveryByte) {
  const std::vector<std::string> whole = sample_table_bytes();
  const InvoiceTables tables = fixture::sample_invoice();
  const fixture::Table* layouts[] = {&tables.invoice, &tables.positions, &tables.goods};
  for (std::size_t table = 0; table < whole.size(); ++table) {
    const std::size_t header_length = fixture::header_length(*layouts[table]);
    const std::size_t record_length = fixture::record_length(*layouts[table]);
    for (std::size_t cut = 0; cut <= whole[table].size(); ++cut) {
      SCOPED_TRACE(std::string(kTableNames[table]) + " cut at " + std::to_string(cut));
      std::vector<std::string> damaged = whole;
      damaged[table].resize(cut);
      const Outcome outcome = run_sound(damaged);

      const int whole_records =
          cut < header_length ? 0 : static_cast<int>((cut - header_length) / record_length);
      const int sections = table == 0 ? (whole_records >= 1 ? 3 : -1) : std::min(whole_records, 3);
      EXPECT_EQ(outcome.invoice, golden_sections(sections));
      EXPECT_EQ(outcome.status, sections == 3 ? 0 : 1);
      if (outcome.status == 1) {
        const std::string name = kTableNames[table];
        const std::string ends[] = {"Uszkodzony naglowek " + name + "\r\n",
                                    "Brak rekordu w " + name + "\r\n",
                                    "Niepelna tabela " + name + "\r\n"};
        EXPECT_TRUE(outcome.err == ends[0] || outcome.err == ends[1] || outcome.err == ends[2])
            << outcome.err;
      }
    }
  }
}

// Header damage applied to each table in turn, with what each table then gives.
TEST(HostileInput, DamagedHeaders) {
  struct Expected {
    int status;
    const char* problem;  // the message's first words, or "" for none
    int sections;         // -1: the file stays empty
  };
  struct Case {
    const char* what;
    void (*damage)(std::string& bytes, std::size_t field_count);
    Expected invoice, positions, goods;
  };
  constexpr Expected kDamaged[] = {
      {1, "Uszkodzony naglowek", -1}, {1, "Uszkodzony naglowek", 0}, {1, "Uszkodzony naglowek", 0}};
  constexpr Expected kNoRecords[] = {
      {1, "Brak rekordu w", -1}, {1, "Niepelna tabela", 0}, {1, "Niepelna tabela", 0}};
  constexpr Expected kWhole = {0, "", 3};
  const Case kCases[] = {
      {"header length 0", [](std::string& b, std::size_t) { fixture::put_u16le(b, 8, 0); },
       kDamaged[0], kDamaged[1], kDamaged[2]},
      {"header length 1 (65,535 descriptors by the wrapped count)",
       [](std::string& b, std::size_t) { fixture::put_u16le(b, 8, 1); }, kDamaged[0], kDamaged[1],
       kDamaged[2]},
      {"header length 32", [](std::string& b, std::size_t) { fixture::put_u16le(b, 8, 32); },
       kDamaged[0], kDamaged[1], kDamaged[2]},
      // No descriptors, so no field is found, and the records are read from offset 33.
      {"header length 33", [](std::string& b, std::size_t) { fixture::put_u16le(b, 8, 33); },
       kWhole, kWhole, kWhole},
      {"header length 64", [](std::string& b, std::size_t) { fixture::put_u16le(b, 8, 64); },
       kWhole, kWhole, kWhole},
      {"header length 65535", [](std::string& b, std::size_t) { fixture::put_u16le(b, 8, 65535); },
       kNoRecords[0], kNoRecords[1], kNoRecords[2]},
      {"record length 0", [](std::string& b, std::size_t) { fixture::put_u16le(b, 10, 0); },
       kDamaged[0], kDamaged[1], kDamaged[2]},
      {"record length 1", [](std::string& b, std::size_t) { fixture::put_u16le(b, 10, 1); }, kWhole,
       kWhole, kWhole},
      {"record length 65535", [](std::string& b, std::size_t) { fixture::put_u16le(b, 10, 65535); },
       kNoRecords[0], kNoRecords[1], kNoRecords[2]},
      {"widths summing past the record length",
       [](std::string& b, std::size_t fields) {
         for (std::size_t i = 0; i < fields; ++i) b[32 + 32 * i + 16] = '\xff';
       },
       kWhole, kWhole, kWhole},
      {"names without a NUL",
       [](std::string& b, std::size_t fields) {
         for (std::size_t i = 0; i < fields; ++i) {
           for (std::size_t j = 0; j < 11; ++j) {
             if (b[32 + 32 * i + j] == '\0') b[32 + 32 * i + j] = 'X';
           }
         }
       },
       kWhole, kWhole, kWhole},
      {"record count -1",
       [](std::string& b, std::size_t) { fixture::put_i32le(b, 4, -1); },
       kWhole,
       {0, "", 0},
       kWhole},
      {"record count 2^31-1",
       [](std::string& b, std::size_t) { fixture::put_i32le(b, 4, 2147483647); },
       kWhole,
       {1, "Niepelna tabela", 3},
       kWhole},
  };
  const InvoiceTables tables = fixture::sample_invoice();
  const std::size_t field_counts[] = {tables.invoice.fields.size(), tables.positions.fields.size(),
                                      tables.goods.fields.size()};
  for (const Case& c : kCases) {
    const Expected* expected[] = {&c.invoice, &c.positions, &c.goods};
    for (std::size_t table = 0; table < 3; ++table) {
      SCOPED_TRACE(std::string(c.what) + " in " + kTableNames[table]);
      std::vector<std::string> damaged = sample_table_bytes();
      c.damage(damaged[table], field_counts[table]);
      const Outcome outcome = run_sound(damaged);
      EXPECT_EQ(outcome.status, expected[table]->status);
      EXPECT_EQ(fixture::count_whole_sections(outcome.invoice), expected[table]->sections);
      const std::string problem = expected[table]->problem;
      EXPECT_EQ(outcome.err, problem.empty() ? "" : problem + " " + kTableNames[table] + "\r\n");
    }
  }
}

// The largest header length leaves room for 2046 descriptors; a valid table that uses
// them all is read like any other.
TEST(HostileInput, LargestDescriptorCount) {
  InvoiceTables tables = fixture::sample_invoice();
  while (tables.goods.fields.size() < 2046) {
    tables.goods.fields.insert(tables.goods.fields.begin(),
                               {"F" + std::to_string(tables.goods.fields.size()), 'C', 1});
    for (auto& record : tables.goods.records) record.insert(record.begin(), "f");
  }
  ASSERT_LE(fixture::header_length(tables.goods), 65535);
  const Outcome outcome =
      run_sound({fixture::table_bytes(tables.invoice), fixture::table_bytes(tables.positions),
                 fixture::table_bytes(tables.goods)});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.invoice, fixture::golden_invoice());
}

}  // namespace
