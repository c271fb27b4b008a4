// Builds dBASE table files byte by byte for tests, benchmarks and the sample tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fixture {

struct Field {
  std::string name;  // up to 11 bytes; exactly 11 leaves no NUL in the descriptor
  char type = 'C';   // 'N' and 'F' values are right-aligned, all others left-aligned
  std::uint8_t width = 1;
  std::uint8_t decimals = 0;
};

// Trailer lengths found in the wild: the bytes from the terminator 0x0D to the first
// record. dBASE III writes the terminator alone; some writers add one more byte;
// Visual FoxPro adds a 263-byte backlink.
constexpr std::size_t kDbase3Trailer = 1;
constexpr std::size_t kTwoByteTrailer = 2;
constexpr std::size_t kFoxProTrailer = 264;

struct Table {
  std::vector<Field> fields;
  std::vector<std::vector<std::string>> records;  // one value per field, padded to width
  std::vector<bool> deleted;                      // optional, per record
  std::size_t trailer_length = kTwoByteTrailer;
  std::optional<std::int32_t> record_count;  // stored count; the number of records if unset
  bool end_of_file_marker = true;            // the 0x1A after the last record
};

std::uint16_t record_length(const Table& table);
std::uint16_t header_length(const Table& table);

// Header, descriptors and trailer.
std::string header_bytes(const Table& table, std::int32_t record_count);
// One record: the deletion flag, then each value padded or cut to its field's width.
std::string record_bytes(const Table& table, const std::vector<std::string>& values,
                         bool deleted = false);
// The whole file.
std::string table_bytes(const Table& table);

// Overwrites two bytes at offset with value, little-endian (to damage a header).
void put_u16le(std::string& bytes, std::size_t offset, std::uint16_t value);
void put_i32le(std::string& bytes, std::size_t offset, std::int32_t value);

void write_file(const std::filesystem::path& path, std::string_view bytes);
std::string read_file(const std::filesystem::path& path);

}  // namespace fixture
