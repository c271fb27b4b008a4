// Reading headers, descriptors and records of table files.
#include "table/table_file.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "run_program.hpp"
#include "table_builder.hpp"

namespace {

using fixture::Table;

Table two_field_table() {
  Table table;
  table.fields = {{"NAZWA", 'C', 3}, {"WART", 'N', 6, 2}};  // a number as the last field
  table.records = {{"abc", "123.45"}, {"xy", "-7.9"}};
  return table;
}

std::string read_record(table::TableFile& file, table::RecordChunk& chunk) {
  if (!table::read_record_chunk(file, chunk)) return "<end>";
  const auto view = table::record_view(chunk);
  return {view.begin(), view.end()};
}

struct OpenedFile {
  fixture::TempFolder folder;
  table::OpenedTable opened;
};

void open_bytes(OpenedFile& file, std::string_view bytes) {
  const auto path = file.folder.path / "t.dbf";
  fixture::write_file(path, bytes);
  file.opened = table::open_table(path.c_str());
}

TEST(TableFile, RecordsStartAtTheHeaderLengthWhateverTheTrailer) {
  for (const std::size_t trailer :
       {fixture::kDbase3Trailer, fixture::kTwoByteTrailer, fixture::kFoxProTrailer}) {
    SCOPED_TRACE(trailer);
    Table source = two_field_table();
    source.trailer_length = trailer;
    OpenedFile file;
    open_bytes(file, fixture::table_bytes(source));
    ASSERT_EQ(file.opened.status, table::OpenStatus::ok);
    table::TableFile& opened = file.opened.table;
    table::RecordChunk chunk = table::allocate_record_chunk(opened);
    // The whole record, deletion flag first and the last field complete.
    EXPECT_EQ(read_record(opened, chunk), " abc123.45");
    EXPECT_EQ(read_record(opened, chunk), " xy   -7.9");
    EXPECT_EQ(read_record(opened, chunk), "<end>");
  }
}

TEST(TableFile, DecodesHeaderAndDescriptors) {
  Table source = two_field_table();
  source.record_count = -1;
  OpenedFile file;
  open_bytes(file, fixture::table_bytes(source));
  ASSERT_EQ(file.opened.status, table::OpenStatus::ok);
  const table::TableFile& opened = file.opened.table;
  EXPECT_EQ(opened.header.record_count, -1);
  EXPECT_EQ(opened.header.header_length, 32 + 2 * 32 + 2);
  EXPECT_EQ(opened.header.record_length, 10);
  ASSERT_EQ(opened.field_count, 2);
  EXPECT_STREQ(opened.descriptors[1].name, "WART");
  EXPECT_EQ(opened.descriptors[1].type, 'N');
  EXPECT_EQ(opened.descriptors[1].width, 6);
  EXPECT_EQ(opened.descriptors[1].decimals, 2);
}

TEST(TableFile, FieldCountComesFromTheHeaderLength) {
  struct Case {
    std::uint16_t header_length;
    std::uint16_t field_count;
  };
  constexpr Case kCases[] = {{33, 0}, {64, 0},    {65, 1},    {66, 1},     {97, 2},
                             {98, 2}, {0, 65534}, {1, 65535}, {32, 65535}, {65535, 2046}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.header_length);
    EXPECT_EQ(table::field_count_for(c.header_length), c.field_count);
  }
}

TEST(TableFile, UnusableHeadersAreRefused) {
  struct Case {
    const char* what;
    std::uint16_t header_length;
    std::uint16_t record_length;
    table::OpenStatus status;
  };
  const Case kCases[] = {
      {"header length 0", 0, 10, table::OpenStatus::damaged_header},
      {"header length 32", 32, 10, table::OpenStatus::damaged_header},
      {"record length 0", 98, 0, table::OpenStatus::damaged_header},
      {"header length 33, no fields", 33, 10, table::OpenStatus::ok},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    std::string bytes = fixture::table_bytes(two_field_table());
    fixture::put_u16le(bytes, table::kHeaderLengthAt, c.header_length);
    fixture::put_u16le(bytes, table::kRecordLengthAt, c.record_length);
    OpenedFile file;
    open_bytes(file, bytes);
    EXPECT_EQ(file.opened.status, c.status);
  }
}

TEST(TableFile, AnyRecordLengthUpTo65535IsRead) {
  for (const std::uint16_t record_length : {1, 2047, 2048, 65535}) {
    SCOPED_TRACE(record_length);
    Table source;
    source.fields = {{"A", 'C', 1}};
    std::string bytes = fixture::header_bytes(source, 2);
    fixture::put_u16le(bytes, table::kRecordLengthAt, record_length);
    std::string first(record_length, 'x');
    first.back() = '1';
    std::string second(record_length, 'y');
    second.back() = '2';
    OpenedFile file;
    open_bytes(file, bytes + first + second);
    ASSERT_EQ(file.opened.status, table::OpenStatus::ok);
    table::RecordChunk chunk = table::allocate_record_chunk(file.opened.table);
    EXPECT_EQ(read_record(file.opened.table, chunk), first);
    EXPECT_EQ(read_record(file.opened.table, chunk), second);
    EXPECT_EQ(read_record(file.opened.table, chunk), "<end>");
  }
}

TEST(TableFile, TruncatedFilesOpenAndEndAtTheFirstRecord) {
  const std::string whole = fixture::table_bytes(two_field_table());
  const std::size_t header_length = 32 + 2 * 32 + 2;
  // Cut inside the descriptors, in the trailer, and inside the first record.
  for (const std::size_t cut : {std::size_t{40}, header_length - 1, header_length + 5}) {
    SCOPED_TRACE(cut);
    OpenedFile file;
    open_bytes(file, whole.substr(0, cut));
    ASSERT_EQ(file.opened.status, table::OpenStatus::ok);
    table::RecordChunk chunk = table::allocate_record_chunk(file.opened.table);
    EXPECT_EQ(read_record(file.opened.table, chunk), "<end>");
  }
  OpenedFile short_header;
  open_bytes(short_header, whole.substr(0, 10));  // record length not even present
  EXPECT_EQ(short_header.opened.status, table::OpenStatus::damaged_header);
}

TEST(TableFile, RecordCountIsNotConsulted) {
  Table source = two_field_table();
  source.record_count = 0;
  OpenedFile file;
  open_bytes(file, fixture::table_bytes(source));
  table::RecordChunk chunk = table::allocate_record_chunk(file.opened.table);
  EXPECT_EQ(read_record(file.opened.table, chunk), " abc123.45");
  EXPECT_EQ(read_record(file.opened.table, chunk), " xy   -7.9");
}

TEST(TableFile, MissingFileCannotBeOpened) {
  EXPECT_EQ(table::open_table("/nonexistent/dtowar.dbf").status, table::OpenStatus::cannot_open);
}

}  // namespace
