// Finds fields of a record by name and reads them as text, real number or integer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

#include "table/table_file.hpp"

namespace table {

// Text buffers of the export hold at most MAX_FIELD_TEXT characters and a NUL.
constexpr std::size_t FIELD_TEXT_SIZE = 256;
constexpr std::size_t MAX_FIELD_TEXT = FIELD_TEXT_SIZE - 1;

// Where a field lies in a record: offset counted from the deletion flag, so the first
// field starts at 1. A field that no descriptor names has offset and width -1.
struct FieldLocation {
  std::int32_t offset = -1;
  std::int32_t width = -1;
};

// The first descriptor whose NUL-terminated name equals name exactly (case counts).
// A descriptor name that fills all 11 bytes without a NUL matches nothing.
FieldLocation locate_field(std::span<const FieldDescriptor> descriptors, std::string_view name);

std::int32_t field_width(std::span<const FieldDescriptor> descriptors, std::string_view name);
std::int32_t field_offset(std::span<const FieldDescriptor> descriptors, std::string_view name);

// The field's stored bytes up to the first NUL, at most max of them, and never past
// the end of the record: a field reaching past the end gives what lies inside it, one
// starting at or after the end gives nothing. Not trimmed.
// Inline: the export reads every text field through it.
inline std::string_view field_string(std::span<const char> record, FieldLocation field,
                                     std::size_t max) {
  if (field.offset < 0) return {};
  const auto offset = static_cast<std::size_t>(field.offset);
  if (offset >= record.size()) return {};
  const std::size_t length =
      std::min({static_cast<std::size_t>(field.width), max, record.size() - offset});
  const char* start = record.data() + offset;
  const void* nul = std::memchr(start, '\0', length);
  return {start, nul == nullptr ? length
                                : static_cast<std::size_t>(static_cast<const char*>(nul) - start)};
}

// Copies the field's text into destination (which must hold max + 1 bytes, and is
// used up to its size less one at most), filling the rest of the copied width with
// NULs and ending it with a NUL. Returns the text's length; a missing field gives "".
std::size_t get_field_text(std::span<const FieldDescriptor> descriptors,
                           std::span<char> destination, std::span<const char> record,
                           std::string_view name, std::size_t max);

// Reads text (its first MAX_FIELD_TEXT bytes, a field's most) as a number: white space skipped,
// then the longest prefix of the form [sign] digits [. digits] | [sign] . digits, optionally
// followed by an exponent letter E, e, D or d with [sign] digits. Anything else ends the number (a
// comma too). No digits gives +0.0; the value is the nearest double, infinity beyond the range and
// a signed zero below it.
double text_to_number(std::string_view text);

// A real number truncated toward zero, keeping the low 32 bits of the 64-bit result;
// beyond the 64-bit range, or not a number, it is 0.
std::int32_t truncate_to_long(double value);

double field_real(std::span<const char> record, FieldLocation field, std::int32_t factor);
std::int32_t field_long(std::span<const char> record, FieldLocation field, std::int32_t factor);

// The field's text read as a number and multiplied by factor; 0 for a missing field.
double get_field_real(std::span<const FieldDescriptor> descriptors, std::span<const char> record,
                      std::string_view name, std::int32_t factor);
// As get_field_real, truncated by truncate_to_long.
std::int32_t get_field_long(std::span<const FieldDescriptor> descriptors,
                            std::span<const char> record, std::string_view name,
                            std::int32_t factor);

}  // namespace table
