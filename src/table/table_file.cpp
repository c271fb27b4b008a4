// Opens a dBASE table file, decodes its header and field descriptors, and hands out
// its records one after another.
#include "table/table_file.hpp"

#include <algorithm>
#include <new>

namespace table {
namespace {

std::uint16_t read_u16le(const unsigned char* p) {
  return static_cast<std::uint16_t>(std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8);
}

std::int32_t read_i32le(const unsigned char* p) {
  const std::uint32_t value = std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                              std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
  return static_cast<std::int32_t>(value);  // two's complement, as stored
}

}  // namespace

std::uint16_t field_count_for(std::uint16_t header_length) {
  return static_cast<std::uint16_t>((std::uint32_t{header_length} - kMinHeaderLength) >> 5);
}

TableHeader decode_header(std::span<const unsigned char, kHeaderSize> bytes) {
  TableHeader header;
  header.record_count = read_i32le(bytes.data() + kRecordCountAt);
  header.header_length = read_u16le(bytes.data() + kHeaderLengthAt);
  header.record_length = read_u16le(bytes.data() + kRecordLengthAt);
  return header;
}

FieldDescriptor decode_descriptor(std::span<const unsigned char, kDescriptorSize> bytes) {
  FieldDescriptor descriptor;
  for (std::size_t i = 0; i < kFieldNameSize; ++i) {
    descriptor.name[i] = static_cast<char>(bytes[i]);
  }
  descriptor.type = static_cast<char>(bytes[kFieldTypeAt]);
  descriptor.width = bytes[kFieldWidthAt];
  descriptor.decimals = bytes[kFieldDecimalsAt];
  return descriptor;
}

OpenedTable open_table(const char* file_name) {
  OpenedTable opened;
  TableFile& table = opened.table;
  table.stream.reset(std::fopen(file_name, "rb"));
  if (!table.stream) {
    opened.status = OpenStatus::cannot_open;
    return opened;
  }
  // Records are read in blocks of the table's own; the stream's buffer would only copy
  // them once more.
  (void)std::setvbuf(table.stream.get(), nullptr, _IONBF, 0);

  // A short read leaves the rest zero: a truncated file shows up as a damaged header
  // or as a missing first record.
  unsigned char header_bytes[kHeaderSize] = {};
  (void)std::fread(header_bytes, 1, kHeaderSize, table.stream.get());
  table.header = decode_header(header_bytes);
  if (table.header.header_length < kMinHeaderLength || table.header.record_length == 0) {
    opened.status = OpenStatus::damaged_header;
    return opened;
  }

  // Descriptors, terminator and trailer are read in one go, so that the stream ends
  // up at the first record whatever the writer put after the terminator.
  const std::size_t rest_length = table.header.header_length - kHeaderSize;
  std::unique_ptr<unsigned char[]> rest(new (std::nothrow) unsigned char[rest_length]());
  table.field_count = field_count_for(table.header.header_length);
  table.descriptors.reset(new (std::nothrow) FieldDescriptor[table.field_count]);
  table.block.reset(new (std::nothrow) char[kReadBlockSize]);
  if (!rest || !table.descriptors || !table.block) {
    opened.status = OpenStatus::out_of_memory;
    return opened;
  }
  (void)std::fread(rest.get(), 1, rest_length, table.stream.get());
  for (std::size_t i = 0; i < table.field_count; ++i) {
    table.descriptors[i] = decode_descriptor(std::span<const unsigned char, kDescriptorSize>(
        rest.get() + i * kDescriptorSize, kDescriptorSize));
  }
  opened.status = OpenStatus::ok;
  return opened;
}

RecordChunk allocate_record_chunk(const TableFile& table) {
  RecordChunk chunk;
  chunk.length = table.header.record_length;
  chunk.bytes.reset(new (std::nothrow) char[chunk.length]());
  return chunk;
}

bool read_record_chunk(TableFile& table, RecordChunk& chunk) {
  if (table.block_filled - table.block_used < chunk.length) {
    // Keep the unread tail, then fill the block behind it. A record is at most 65,535
    // bytes, so after one refill it fits unless the file has ended.
    char* const block = table.block.get();
    const std::size_t tail = table.block_filled - table.block_used;
    std::copy(block + table.block_used, block + table.block_filled, block);
    table.block_used = 0;
    table.block_filled =
        tail + std::fread(block + tail, 1, kReadBlockSize - tail, table.stream.get());
    if (table.block_filled < chunk.length) return false;
  }
  const char* const record = table.block.get() + table.block_used;
  std::copy(record, record + chunk.length, chunk.bytes.get());
  table.block_used += chunk.length;
  return true;
}

void close_table(TableFile& table) {
  table.stream.reset();
  table.descriptors.reset();
  table.field_count = 0;
  table.block.reset();
  table.block_used = table.block_filled = 0;
}

}  // namespace table
