// The unit price checked against a plain implementation of its rule on the exact
// decimal expansion of each double: cut to 18 significant digits, round half up to
// 17, then round half up at the fourth decimal.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "export/unit_price.hpp"

namespace {

// Adds one unit in the last place of a digit string; true if it carried out of it.
bool increment(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

std::string reference_price(double value) {
  // Every finite double has at most 1074 decimals, so this expansion is exact.
  static char exact[2000];
  const auto end =
      std::to_chars(exact, exact + sizeof exact, std::fabs(value), std::chars_format::fixed, 1100)
          .ptr;
  const std::string text(exact, end);
  const std::size_t point = text.find('.');
  std::string all = text.substr(0, point) + text.substr(point + 1);
  // all holds the digits; the decimal point stands after `integer_count` of them.
  auto integer_count = static_cast<long>(point);
  const std::size_t first = all.find_first_not_of('0');
  all.erase(0, first);
  integer_count -= static_cast<long>(first);

  std::string significant = all.substr(0, 18);
  significant.resize(18, '0');
  const bool up = significant[17] >= '5';
  significant.resize(17);
  if (up && increment(significant)) {
    significant.insert(significant.begin(), '1');
    significant.pop_back();
    ++integer_count;
  }

  // Fixed notation with five decimals (digits past the 17th are 0); the fifth then
  // decides the fourth.
  const long integer_places = std::max(integer_count, 1L);
  std::string fixed;
  for (long i = 0; i < integer_places + 5; ++i) {
    const long index = i + integer_count - integer_places;  // into significant
    fixed += index >= 0 && index < 17 ? significant[static_cast<std::size_t>(index)] : '0';
  }
  const bool round_up = fixed.back() >= '5';
  fixed.pop_back();
  if (round_up && increment(fixed)) fixed.insert(fixed.begin(), '1');
  fixed.insert(fixed.size() - 4, ".");
  return (value < 0 ? "-" : "") + fixed;
}

std::string price(double value) {
  invoice_export::UnitPriceBuffer buffer;
  return std::string(invoice_export::format_unit_price(value, buffer));
}

void expect_rule(double value) {
  ASSERT_EQ(price(value), reference_price(value)) << std::bit_cast<std::uint64_t>(value);
}

TEST(UnitPriceProperties, QuotientsOfMoneyAndQuantities) {
  std::mt19937_64 random(1);
  for (int i = 0; i < 200000; ++i) {
    const double value =
        static_cast<double>(static_cast<std::int64_t>(random() % 100000000) - 1000000) / 100;
    const double quantity = static_cast<double>(random() % 1000000 + 1) / 1000;
    expect_rule(value / quantity);
  }
}

TEST(UnitPriceProperties, ExactTiesAtTheFourthDecimalAndAtSeventeenDigits) {
  std::mt19937_64 random(2);
  for (int i = 0; i < 100000; ++i) {
    // k / 32 ends in 5 at the fifth decimal for odd k.
    expect_rule(static_cast<double>(random() % 100000000) / 32);
    // Between 2^49 and 2^53 quarters are exact: 16 integer digits and .25 or .75.
    expect_rule(
        static_cast<double>((std::uint64_t{1} << 49) + random() % (std::uint64_t{1} << 52)) + 0.25);
    expect_rule(-static_cast<double>(random() % 9000000000000000 + 1000000000000000) - 0.75);
  }
}

TEST(UnitPriceProperties, AnyFiniteDouble) {
  std::mt19937_64 random(3);
  for (int i = 0; i < 100000; ++i) {
    const double value = std::bit_cast<double>(random());
    if (!std::isfinite(value) || value == 0) continue;
    expect_rule(value);
  }
}

}  // namespace
