// The net unit price as the invoice writes it: fixed notation, exactly four decimals.
#include "export/unit_price.hpp"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace invoice_export {
namespace {

constexpr int kSignificantDigits = 17;
constexpr int kDecimals = 4;

// A positive value as significant digits d0.d1d2... times 10^exponent.
struct DecimalDigits {
  char digits[kSignificantDigits];
  int exponent;
};

// The first 17 significant digits and the exponent of std::to_chars' scientific form
// "d.dddd...e+XX", which must hold at least 17 digits.
DecimalDigits parse_scientific(const char* text, const char* end) {
  DecimalDigits result{};
  result.digits[0] = text[0];
  std::copy_n(text + 2, kSignificantDigits - 1, result.digits + 1);
  const char* exponent_at = std::find(text, end, 'e') + 1;
  if (exponent_at < end && *exponent_at == '+') ++exponent_at;
  std::from_chars(exponent_at, end, result.exponent);
  return result;
}

// Whether the exact decimal expansion of magnitude has at most 18 significant digits,
// its first one standing at 10^leading_exponent.
bool has_at_most_18_digits(double magnitude, int leading_exponent) {
  // magnitude = mantissa * 2^binary_exponent, mantissa odd.
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const auto biased_exponent = static_cast<int>(bits >> 52);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int binary_exponent = -1074;
  if (biased_exponent != 0) {
    mantissa |= std::uint64_t{1} << 52;
    binary_exponent = biased_exponent - 1075;
  }
  const int trailing_zero_bits = std::countr_zero(mantissa);
  mantissa >>= trailing_zero_bits;
  binary_exponent += trailing_zero_bits;

  if (binary_exponent < 0) {
    // mantissa * 5^-e / 10^-e with the numerator not a multiple of 10: the last
    // significant digit stands at 10^binary_exponent.
    return leading_exponent - binary_exponent + 1 <= 18;
  }
  // An integer: at most 18 significant digits when it ends in enough zeros, and the
  // number of trailing zeros is the lesser of its factors of 2 and of 5.
  const int needed_zeros = leading_exponent + 1 - 18;
  if (needed_zeros <= 0) return true;
  int fives = 0;
  while (mantissa % 5 == 0) {
    mantissa /= 5;
    ++fives;
  }
  return std::min(binary_exponent, fives) >= needed_zeros;
}

// The magnitude rounded half away from zero to 17 significant digits. std::to_chars
// rounds exactly but sends a tie to the even digit, so exact ties are found and
// rounded up by hand.
DecimalDigits round_to_17_digits(double magnitude) {
  char text[40];
  // 18 significant digits: exact whenever the value lies exactly halfway at 17.
  const auto at18 = std::to_chars(text, text + sizeof text, magnitude,
                                  std::chars_format::scientific, kSignificantDigits);
  const char last_digit = text[1 + kSignificantDigits];
  if (last_digit == '5') {
    // A carry into the 18th digit would have left a 0 there, so the exponent is exact.
    DecimalDigits tie = parse_scientific(text, at18.ptr);
    if (has_at_most_18_digits(magnitude, tie.exponent)) {
      int i = kSignificantDigits - 1;
      while (i >= 0 && tie.digits[i] == '9') tie.digits[i--] = '0';
      if (i >= 0) {
        ++tie.digits[i];
      } else {
        tie.digits[0] = '1';
        ++tie.exponent;
      }
      return tie;
    }
  }
  const auto at17 = std::to_chars(text, text + sizeof text, magnitude,
                                  std::chars_format::scientific, kSignificantDigits - 1);
  return parse_scientific(text, at17.ptr);
}

// Below this the magnitude in units of 0.0001 is an integer-exact double, and the 17
// significant digits reach past the fifth decimal.
constexpr double kFastPathLimit = 4.5e11;

// The common case, without the digit strings: q = magnitude * 10^4, split exactly into
// q + error by a fused multiply-add. Rounding the 17-digit form of the magnitude at the
// fourth decimal gives the same result as rounding q itself to the nearest integer,
// unless q lies so close to a half that the 17-digit rounding (off by at most half a
// unit in the 17th digit, under q * 5e-17) could decide which side it falls on. Such
// values, and exact halves, are left to the digit strings. Returns the number of
// units of 0.0001, or -1 when the fast path cannot tell.
std::int64_t round_to_units_fast(double magnitude) {
  if (magnitude >= kFastPathLimit) return -1;
  const double q = magnitude * 1e4;
  const double error = std::fma(magnitude, 1e4, -q);  // magnitude * 10^4 == q + error
  const double whole = std::floor(q);
  const double from_half = (q - whole - 0.5) + error;
  if (std::fabs(from_half) <= q * 1e-15) return -1;
  return static_cast<std::int64_t>(whole) + (from_half > 0 ? 1 : 0);
}

// Writes units of 0.0001 as integer digits, a full stop and four decimals.
char* write_units(std::int64_t units, char* out) {
  out = std::to_chars(out, out + 24, units / 10000).ptr;
  *out++ = '.';
  auto decimals = static_cast<int>(units % 10000);
  for (int i = 3; i >= 0; --i) {
    out[i] = static_cast<char>('0' + decimals % 10);
    decimals /= 10;
  }
  return out + 4;
}

}  // namespace

std::string_view format_unit_price(double value, UnitPriceBuffer& buffer) {
  if (value == 0.0) return "0.0000";
  if (std::isinf(value)) return value > 0 ? "1.#INF" : "-1.#INF";
  if (std::isnan(value)) return "-1.#IND";

  const std::int64_t units = round_to_units_fast(std::fabs(value));
  if (units >= 0) {
    char* out = buffer.data();
    if (value < 0) *out++ = '-';
    out = write_units(units, out);
    return {buffer.data(), static_cast<std::size_t>(out - buffer.data())};
  }

  const DecimalDigits rounded = round_to_17_digits(std::fabs(value));
  // The digit worth 10^power, 0 outside the 17 significant ones.
  const auto digit_at = [&rounded](int power) -> char {
    const int index = rounded.exponent - power;
    return index >= 0 && index < kSignificantDigits ? rounded.digits[index] : '0';
  };

  // Fixed-point digits from 10^top down to 10^-4, one spare place in front for a carry.
  const int top = std::max(rounded.exponent, 0);
  char fixed[std::tuple_size_v<UnitPriceBuffer>];
  const int length = 1 + top + 1 + kDecimals;
  fixed[0] = '0';
  for (int power = top; power >= -kDecimals; --power) fixed[1 + top - power] = digit_at(power);
  if (digit_at(-kDecimals - 1) >= '5') {
    int i = length - 1;
    while (fixed[i] == '9') fixed[i--] = '0';
    ++fixed[i];
  }

  char* out = buffer.data();
  if (value < 0) *out++ = '-';
  const int first = fixed[0] == '0' ? 1 : 0;  // the spare place, unless a carry used it
  const int integer_end = 1 + top + 1;
  out = std::copy(fixed + first, fixed + integer_end, out);
  *out++ = '.';
  out = std::copy(fixed + integer_end, fixed + length, out);
  return {buffer.data(), static_cast<std::size_t>(out - buffer.data())};
}

}  // namespace invoice_export
