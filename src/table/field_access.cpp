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

// A mantissa of up to 19 digits fits 64 bits; up to 2^53 it is exact as a double, as
// are the powers of ten up to 10^22.
constexpr int kMaxExactDigits = 19;
constexpr std::uint64_t kMaxExactMantissa = std::uint64_t{1} << 53;
constexpr long kMaxExactPower = 22;
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

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
  const char* at = text.data();
  const char* const end = at + text.size();
  while (at < end && is_space(*at)) ++at;
  bool negative = false;
  if (at < end && (*at == '+' || *at == '-')) negative = *at++ == '-';

  // The mantissa: digits, then a full stop and digits; "5." and ".5" count too. Read
  // as value = mantissa * 10^scale from its first 19 significant digits; exact stays
  // true while every digit left out is a 0.
  std::uint64_t mantissa = 0;
  int significant_digits = 0;
  long scale = 0;
  bool exact = true;
  const char* const integer_begin = at;
  for (; at < end && is_digit(*at); ++at) {
    const auto digit = static_cast<std::uint64_t>(*at - '0');
    if (significant_digits < kMaxExactDigits) {
      mantissa = mantissa * 10 + digit;
      if (mantissa != 0) ++significant_digits;  // leading zeros do not count
    } else {
      exact = exact && digit == 0;
      ++scale;
    }
  }
  const char* const integer_end = at;
  const char* fraction_begin = at;
  if (at < end && *at == '.' &&
      (integer_end > integer_begin || (at + 1 < end && is_digit(at[1])))) {
    fraction_begin = ++at;
    for (; at < end && is_digit(*at); ++at) {
      const auto digit = static_cast<std::uint64_t>(*at - '0');
      if (significant_digits < kMaxExactDigits) {
        mantissa = mantissa * 10 + digit;
        if (mantissa != 0) ++significant_digits;
        --scale;
      } else {
        exact = exact && digit == 0;
      }
    }
  }
  const char* const fraction_end = at;
  if (integer_end == integer_begin && fraction_end == fraction_begin) return 0.0;

  // The exponent, when its letter is followed by digits.
  int exponent = 0;
  if (at < end && (*at == 'E' || *at == 'e' || *at == 'D' || *at == 'd')) {
    const char* digit = at + 1;
    const bool exponent_negative = digit < end && *digit == '-';
    if (digit < end && (*digit == '+' || *digit == '-')) ++digit;
    for (; digit < end && is_digit(*digit); ++digit) {
      exponent = std::min(exponent * 10 + (*digit - '0'), kExponentCap);
    }
    if (exponent_negative) exponent = -exponent;
  }
  scale += exponent;
  if (mantissa == 0) return negative ? -0.0 : 0.0;

  // Both factors exact as doubles: one correctly rounded multiplication or division.
  if (exact && mantissa <= kMaxExactMantissa && scale >= -kMaxExactPower &&
      scale <= kMaxExactPower) {
    auto value = static_cast<double>(mantissa);
    value = scale < 0 ? value / kPowersOfTen[-scale] : value * kPowersOfTen[scale];
    return negative ? -value : value;
  }

  // Anything else goes to std::from_chars, in the form it reads: no plus sign, 'e'
  // for every exponent letter, the exponent capped.
  char number[kNumberTextCapacity];
  char* out = number;
  if (negative) *out++ = '-';
  out = std::copy(integer_begin, integer_end, out);
  if (fraction_end > fraction_begin) {
    *out++ = '.';
    out = std::copy(fraction_begin, fraction_end, out);
  }
  *out++ = 'e';
  out = std::to_chars(out, number + kNumberTextCapacity, exponent).ptr;
  double value = 0.0;
  if (std::from_chars(number, out, value).ec == std::errc::result_out_of_range) {
    // The first significant digit stands at 10^(scale + significant_digits - 1): a
    // positive power overflowed, a negative one underflowed.
    const bool overflow = scale + significant_digits - 1 > 0;
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
