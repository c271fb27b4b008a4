// Builds dBASE table files byte by byte for tests, benchmarks and the sample tables.
#include "table_builder.hpp"

#include <fstream>
#include <iterator>

namespace fixture {

std::uint16_t record_length(const Table& table) {
  std::size_t length = 1;  // deletion flag
  for (const Field& field : table.fields) length += field.width;
  return static_cast<std::uint16_t>(length);
}

std::uint16_t header_length(const Table& table) {
  return static_cast<std::uint16_t>(32 + 32 * table.fields.size() + table.trailer_length);
}

void put_u16le(std::string& bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<char>(value & 0xFF);
  bytes[offset + 1] = static_cast<char>(value >> 8);
}

void put_i32le(std::string& bytes, std::size_t offset, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(bits >> (8 * i) & 0xFF);
}

std::string header_bytes(const Table& table, std::int32_t record_count) {
  std::string bytes(32, '\0');
  bytes[0] = 0x03;  // dBASE III, no memo
  bytes[1] = 126;   // last update 2026-12-11
  bytes[2] = 12;
  bytes[3] = 11;
  put_i32le(bytes, 4, record_count);
  put_u16le(bytes, 8, header_length(table));
  put_u16le(bytes, 10, record_length(table));
  for (const Field& field : table.fields) {
    std::string descriptor(32, '\0');
    descriptor.replace(0, std::min<std::size_t>(field.name.size(), 11), field.name, 0, 11);
    descriptor[11] = field.type;
    descriptor[16] = static_cast<char>(field.width);
    descriptor[17] = static_cast<char>(field.decimals);
    bytes += descriptor;
  }
  if (table.trailer_length > 0) {
    bytes += '\x0D';
    bytes.append(table.trailer_length - 1, '\0');
  }
  return bytes;
}

std::string record_bytes(const Table& table, const std::vector<std::string>& values, bool deleted) {
  std::string bytes(1, deleted ? '*' : ' ');
  for (std::size_t i = 0; i < table.fields.size(); ++i) {
    const Field& field = table.fields[i];
    std::string value = i < values.size() ? values[i] : std::string();
    value.resize(std::min<std::size_t>(value.size(), field.width));
    const std::string fill(field.width - value.size(), ' ');
    const bool right_aligned = field.type == 'N' || field.type == 'F';
    bytes += right_aligned ? fill + value : value + fill;
  }
  return bytes;
}

std::string table_bytes(const Table& table) {
  const auto count = static_cast<std::int32_t>(table.records.size());
  std::string bytes = header_bytes(table, table.record_count.value_or(count));
  for (std::size_t i = 0; i < table.records.size(); ++i) {
    bytes += record_bytes(table, table.records[i], i < table.deleted.size() && table.deleted[i]);
  }
  if (table.end_of_file_marker) bytes += '\x1A';
  return bytes;
}

void write_file(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace fixture
