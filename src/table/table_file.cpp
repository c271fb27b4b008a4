// Opens a dBASE table file, decodes its header and field descriptors, and hands out
// its records one after another.
#include "table/table_file.hpp"

#include <new>

namespace table {
namespace {

// Input is read one record at a time; a large stream buffer keeps that to few system
// calls.
constexpr std::size_t kInputBufferSize = 64 * 1024;

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
  std::setvbuf(table.stream.get(), nullptr, _IOFBF, kInputBufferSize);

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
  if (!rest || !table.descriptors) {
    opened.status = OpenStatus::out_of_memory;
    return opened;
  }
  (void)std::fread(rest.get(), 1, rest_length, table.stream.get());
  for (std::size_t i = 0; i < table.field_count; ++i) {
    table.descriptors[i] = decode_descriptor(
        std::span<const unsigned char, kDescriptorSize>(rest.get() + i * kDescriptorSize,
                                                        kDescriptorSize));
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
  return std::fread(chunk.bytes.get(), 1, chunk.length, table.stream.get()) == chunk.length;
}

void close_table(TableFile& table) {
  table.stream.reset();
  table.descriptors.reset();
  table.field_count = 0;
}

}  // namespace table
