// Opens a dBASE table file, decodes its header and field descriptors, and hands out
// its records one after another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>

namespace table {

// Table header, the first 32 bytes of the file (integers little-endian):
//   offset size
//        0    1  version byte                                    not read
//        1    3  date of last update                             not read
//        4    4  record count, signed                            positions table only
//        8    2  header length, unsigned: everything before the first record
//       10    2  record length, unsigned, deletion flag included
//       12   20  reserved                                        not read
// Field descriptors follow from offset 32, 32 bytes each, in record order:
//        0   11  field name, NUL-terminated and NUL-filled
//       11    1  type letter (C, N, D, ...)                      not read
//       16    1  field width in bytes, unsigned
//       17    1  decimal count                                   not read
// After the descriptors comes the terminator 0x0D and whatever else the writer put
// there (nothing more in dBASE III, one more byte in some writers, a 263-byte backlink
// in Visual FoxPro); the header length says where it ends. Record k starts at
// header length + k * record length. Record byte 0 is the deletion flag (a space, or
// '*' for a deleted record, which is read like any other); the fields follow, each
// exactly its width.
constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDescriptorSize = 32;
constexpr std::size_t kRecordCountAt = 4;
constexpr std::size_t kHeaderLengthAt = 8;
constexpr std::size_t kRecordLengthAt = 10;
constexpr std::size_t kFieldNameSize = 11;
constexpr std::size_t kFieldTypeAt = 11;
constexpr std::size_t kFieldWidthAt = 16;
constexpr std::size_t kFieldDecimalsAt = 17;

// The smallest header length that holds a header and the terminator byte.
constexpr std::uint16_t kMinHeaderLength = kHeaderSize + 1;

// The safety net for every path: where a failed close matters (the invoice file), the
// stream is closed explicitly and the result checked.
struct FileCloser {
  void operator()(std::FILE* file) const noexcept { (void)std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

struct TableHeader {
  std::int32_t record_count = 0;
  std::uint16_t header_length = 0;
  std::uint16_t record_length = 0;
};

struct FieldDescriptor {
  char name[kFieldNameSize] = {};  // not NUL-terminated when all 11 bytes are used
  char type = 0;
  std::uint8_t width = 0;
  std::uint8_t decimals = 0;
};

// Records are read from the stream in blocks of this size, large enough for the
// longest record.
constexpr std::size_t kReadBlockSize = std::size_t{64} * 1024;
static_assert(kReadBlockSize >= 65535, "a block must hold the longest record");

struct TableFile {
  FilePtr stream;
  TableHeader header;
  std::unique_ptr<FieldDescriptor[]> descriptors;
  std::uint16_t field_count = 0;
  // Bytes read ahead from the stream: block[block_used, block_filled) are next.
  std::unique_ptr<char[]> block;
  std::size_t block_used = 0;
  std::size_t block_filled = 0;
};

// One record's bytes, exactly record length of them; byte 0 is the deletion flag.
struct RecordChunk {
  std::unique_ptr<char[]> bytes;
  std::size_t length = 0;
};

enum class OpenStatus {
  ok,
  cannot_open,     // the file does not exist or may not be read
  out_of_memory,   // the descriptors, read block or record buffer could not be allocated
  damaged_header,  // header length below 33 or record length 0: no record can be located
};

struct OpenedTable {
  OpenStatus status = OpenStatus::cannot_open;
  TableFile table;
};

// The field count a header length implies: (header length - 33) >> 5. Writers that
// put a longer block after the terminator (the FoxPro backlink) get extra all-zero
// descriptors, which match no name and have width 0.
std::uint16_t field_count_for(std::uint16_t header_length);

TableHeader decode_header(std::span<const unsigned char, kHeaderSize> bytes);
FieldDescriptor decode_descriptor(std::span<const unsigned char, kDescriptorSize> bytes);

// Opens the table for reading raw bytes and leaves the stream at the first record.
// A file shorter than its header or descriptors is not refused here: the missing
// bytes read as zero and the first record read comes up short.
OpenedTable open_table(const char* file_name);

// A buffer for one record of the table; bytes is null if it cannot be allocated.
RecordChunk allocate_record_chunk(const TableFile& table);

// Reads the next record into chunk. False when fewer than record length bytes are
// left: that is the end of the table, and the partial record is not to be used. The
// stream is read a block at a time, so most records cost a copy and no call.
bool read_record_chunk(TableFile& table, RecordChunk& chunk);

inline std::span<const char> record_view(const RecordChunk& chunk) {
  return {chunk.bytes.get(), chunk.length};
}

inline std::span<const FieldDescriptor> table_fields(const TableFile& table) {
  return {table.descriptors.get(), table.field_count};
}

// Closes the stream and releases the descriptors and read block; the table can be
// closed again safely.
void close_table(TableFile& table);

}  // namespace table
