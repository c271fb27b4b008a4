// The four-decimal unit price: rounding, large values and the special texts.
#include "export/unit_price.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace {

std::string price(double value) {
  invoice_export::UnitPriceBuffer buffer;
  return std::string(invoice_export::format_unit_price(value, buffer));
}

TEST(UnitPrice, Format) {
  struct Case {
    const char* what;
    double value;
    std::string want;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case kCases[] = {
      {"100 / 3", 100.0 / 3.0, "33.3333"},
      {"10 / 4", 10.0 / 4.0, "2.5000"},
      {"a tie at the fourth decimal goes up", 0.03125, "0.0313"},
      {"negative tie goes away from zero", -0.03125, "-0.0313"},
      {"2.93255 lies just below, its 17 digits end in 5", 2.93255, "2.9326"},
      {"just below a half at the fifth decimal", 0.00004999, "0.0000"},
      {"negative, rounds to zero", -0.00001, "-0.0000"},
      {"carry through the integer part", 999.99995, "1000.0000"},
      {"just below the carry", 9999.99995, "9999.9999"},  // 9999.9999499999994...
      {"whole", 39.48 / 12.0, "3.2900"},
      // 1e300 is stored as 1.0000000000000000525...e300.
      {"1e300 in full", 1e300, "10000000000000001" + std::string(284, '0') + ".0000"},
      {"digits past the 17th count as 0", 123456789012345678901.0, "123456789012345680000.0000"},
      {"largest double", std::numeric_limits<double>::max(),
       "17976931348623157" + std::string(292, '0') + ".0000"},
      {"smallest denormal", std::numeric_limits<double>::denorm_min(), "0.0000"},
      {"zero", 0.0, "0.0000"},
      {"negative zero", -0.0, "0.0000"},
      {"infinity", inf, "1.#INF"},
      {"negative infinity", -inf, "-1.#INF"},
      {"not a number", std::nan(""), "-1.#IND"},
      {"negative not a number", -std::nan(""), "-1.#IND"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(price(c.value), c.want);
  }
}

// Values whose exact expansion has 18 significant digits ending in 5 lie exactly
// halfway at 17 digits; they round up, where correctly rounded output would go to the
// even digit.
TEST(UnitPrice, ExactTiesAtSeventeenDigitsRoundUp) {
  struct Case {
    double value;
    std::string_view want;
  };
  const Case kCases[] = {
      {1234567890123456.25, "1234567890123456.3000"},  // even neighbour would be .2
      {1234567890123456.75, "1234567890123456.8000"},
      {-1234567890123456.25, "-1234567890123456.3000"},
      {999999999999999.875, "999999999999999.8800"},
      {0.5, "0.5000"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(price(c.value), c.want);
  }
}

}  // namespace
