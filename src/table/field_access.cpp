// Finds fields of a record by name and reads them as text, real number or integer.
#include "table/field_access.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace table {
namespace {

// Exponents are capped here: no field is wide enough for the mantissa to bring a
// larger exponent back into the range of a double.
constexpr int kExponentCap = 5201;

// Longest number text handed to the conversion: a field's 255 bytes at most, then
// 'e' and a capped exponent.
constexpr std::size_t kNumberTextCapacity = MAX_FIELD_TEXT + 16;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The descriptor's NUL-terminated name equals name. A name filling all 11 bytes has
// no terminator and so equals nothing.
bool has_name(const FieldDescriptor& descriptor, std::string_view name) {
  return name.size() < kFieldNameSize && descriptor.name[name.size()] == '\0' &&
         std::memcmp(descriptor.name, name.data(), name.size()) == 0;
}

}  // namespace

FieldLocation locate_field(std::span<const FieldDescriptor> descriptors, std::string_view name) {
  std::int32_t offset = 1;  // byte 0 is the deletion flag
  for (const FieldDescriptor& descriptor : descriptors) {
    if (has_name(descriptor, name)) return {offset, descriptor.width};
    offset += descriptor.width;
  }
  return {};
}

std::int32_t field_width(std::span<const FieldDescriptor> descriptors, std::string_view name) {
  return locate_field(descriptors, name).width;
}

std::int32_t field_offset(std::span<const FieldDescriptor> descriptors, std::string_view name) {
  return locate_field(descriptors, name).offset;
}

std::string_view field_string(std::span<const char> record, FieldLocation field,
                              std::size_t max) {
  if (field.offset < 0) return {};
  const auto offset = static_cast<std::size_t>(field.offset);
  if (offset >= record.size()) return {};
  const std::size_t length = std::min({static_cast<std::size_t>(field.width), max,
                                       record.size() - offset});
  const char* start = record.data() + offset;
  const void* nul = std::memchr(start, '\0', length);
  return {start, nul == nullptr ? length : static_cast<std::size_t>(static_cast<const char*>(nul) - start)};
}

std::size_t get_field_text(std::span<const FieldDescriptor> descriptors,
                           std::span<char> destination, std::span<const char> record,
                           std::string_view name, std::size_t max) {
  if (destination.empty()) return 0;
  const FieldLocation field = locate_field(descriptors, name);
  const std::size_t limit = std::min(max, destination.size() - 1);
  const std::string_view text = field_string(record, field, limit);
  const std::size_t filled =
      field.offset < 0 ? 0 : std::min(static_cast<std::size_t>(field.width), limit);
  std::copy(text.begin(), text.end(), destination.begin());
  std::fill(destination.begin() + static_cast<std::ptrdiff_t>(text.size()),
            destination.begin() + static_cast<std::ptrdiff_t>(filled) + 1, '\0');
  return text.size();
}

double text_to_number(std::string_view text) {
  text = text.substr(0, MAX_FIELD_TEXT);
  std::size_t i = 0;
  while (i < text.size() && is_space(text[i])) ++i;

  // The accepted prefix is copied into a form std::from_chars reads: no plus sign,
  // 'e' for every exponent letter, the exponent capped.
  char number[kNumberTextCapacity];
  std::size_t length = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (negative) number[length++] = '-';

  // Decimal position of the first non-zero digit, to tell overflow from underflow.
  long leading_position = 0;
  bool seen_nonzero = false;
  long integer_digits = 0;
  std::size_t digit_count = 0;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    if (text[i] != '0' && !seen_nonzero) {
      seen_nonzero = true;
      leading_position = integer_digits;
    }
    number[length++] = text[i];
    ++integer_digits;
    ++digit_count;
  }
  if (i + 1 < text.size() && text[i] == '.' && is_digit(text[i + 1])) {
    number[length++] = '.';
    ++i;
    long fraction_digits = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) {
      if (text[i] != '0' && !seen_nonzero) {
        seen_nonzero = true;
        leading_position = integer_digits + fraction_digits;
      }
      number[length++] = text[i];
      ++fraction_digits;
      ++digit_count;
    }
  } else if (i < text.size() && text[i] == '.' && digit_count > 0) {
    ++i;  // "5." is five; the full stop adds nothing
  }
  if (digit_count == 0) return 0.0;  // blank, a lone sign or full stop, letters

  int exponent = 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    std::size_t j = i + 1;
    bool exponent_negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exponent_negative = text[j] == '-';
      ++j;
    }
    if (j < text.size() && is_digit(text[j])) {
      for (; j < text.size() && is_digit(text[j]); ++j) {
        exponent = std::min(exponent * 10 + (text[j] - '0'), kExponentCap);
      }
      if (exponent_negative) exponent = -exponent;
    }
  }
  if (!seen_nonzero) return negative ? -0.0 : 0.0;

  number[length++] = 'e';
  const auto written = std::to_chars(number + length, number + kNumberTextCapacity, exponent);
  length = static_cast<std::size_t>(written.ptr - number);

  double value = 0.0;
  const auto parsed = std::from_chars(number, number + length, value, std::chars_format::general);
  if (parsed.ec == std::errc::result_out_of_range) {
    // The first significant digit stands at 10^(integer_digits - 1 - leading_position
    // + exponent): a positive power overflowed, a negative one underflowed.
    const bool overflow = integer_digits - 1 - leading_position + exponent > 0;
    const double magnitude = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    value = negative ? -magnitude : magnitude;
  }
  return value;
}

std::int32_t truncate_to_long(double value) {
  // Both bounds are powers of two, so exactly representable.
  constexpr double kLow = -9223372036854775808.0;
  constexpr double kHigh = 9223372036854775808.0;
  if (!(value >= kLow && value < kHigh)) return 0;
  const auto whole = static_cast<std::int64_t>(value);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

double field_real(std::span<const char> record, FieldLocation field, std::int32_t factor) {
  if (field.offset < 0) return 0.0;
  return text_to_number(field_string(record, field, MAX_FIELD_TEXT)) * factor;
}

std::int32_t field_long(std::span<const char> record, FieldLocation field, std::int32_t factor) {
  if (field.offset < 0) return 0;
  return truncate_to_long(field_real(record, field, factor));
}

double get_field_real(std::span<const FieldDescriptor> descriptors, std::span<const char> record,
                      std::string_view name, std::int32_t factor) {
  return field_real(record, locate_field(descriptors, name), factor);
}

std::int32_t get_field_long(std::span<const FieldDescriptor> descriptors,
                            std::span<const char> record, std::string_view name,
                            std::int32_t factor) {
  return field_long(record, locate_field(descriptors, name), factor);
}

}  // namespace table
