// Field lookup by name, reads clamped to the record, and the text-to-number rule.
#include "table/field_access.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

using table::FieldDescriptor;

FieldDescriptor descriptor(std::string_view name, std::uint8_t width) {
  FieldDescriptor d;
  std::memcpy(d.name, name.data(), std::min(name.size(), sizeof d.name));
  d.width = width;
  return d;
}

std::span<const char> bytes_of(std::string_view text) { return {text.data(), text.size()}; }

TEST(FieldAccess, WidthAndOffsetByExactNameFirstMatchWins) {
  const std::vector<FieldDescriptor> fields = {descriptor("A", 10), descriptor("B", 200),
                                               descriptor("C", 5), descriptor("B", 7)};
  EXPECT_EQ(table::field_offset(fields, "A"), 1);
  EXPECT_EQ(table::field_offset(fields, "C"), 211);
  EXPECT_EQ(table::field_width(fields, "B"), 200);  // the first B
  EXPECT_EQ(table::field_offset(fields, "B"), 11);
  EXPECT_EQ(table::field_width(fields, "b"), -1);  // case counts
  EXPECT_EQ(table::field_offset(fields, "D"), -1);
  EXPECT_EQ(table::field_width({}, "A"), -1);
}

TEST(FieldAccess, NameWithoutTerminatorMatchesNothing) {
  const std::vector<FieldDescriptor> fields = {descriptor("ABCDEFGHIJK", 3),
                                               descriptor("ABCDEFGHIJ", 4)};
  EXPECT_EQ(table::field_offset(fields, "ABCDEFGHIJK"), -1);
  EXPECT_EQ(table::field_offset(fields, "ABCDEFGHIJ"), 4);
  EXPECT_EQ(table::field_offset(fields, ""), -1);
}

TEST(FieldAccess, OffsetsBeyond16BitsDoNotWrap) {
  std::vector<FieldDescriptor> fields(200, descriptor("X", 255));
  fields.push_back(descriptor("LAST", 3));
  EXPECT_EQ(table::field_offset(fields, "LAST"), 1 + 200 * 255);
}

TEST(FieldAccess, TextIsClampedToTheRecordAndStopsAtNul) {
  const std::string_view record = std::string_view(" ab  12\0xy3456", 14);
  struct Case {
    const char* what;
    table::FieldLocation field;
    std::size_t max;
    std::string_view want;
  };
  const Case kCases[] = {
      {"kept as stored, spaces too", {1, 4}, 255, "ab  "},
      {"stops at a NUL", {5, 4}, 255, "12"},
      {"cut at max", {1, 4}, 2, "ab"},
      {"reaches past the record end", {10, 20}, 255, "3456"},
      {"starts at the end", {14, 3}, 255, ""},
      {"starts past the end", {300, 3}, 255, ""},
      {"width 0", {3, 0}, 255, ""},
      {"missing field", {}, 255, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(table::field_string(bytes_of(record), c.field, c.max), c.want);
  }
}

TEST(FieldAccess, GetFieldTextFillsTheBufferAsDescribed) {
  const std::vector<FieldDescriptor> fields = {descriptor("A", 3), descriptor("B", 6)};
  const std::string_view record = std::string_view(
      " xyz1\0"
      "2345",
      10);
  char buffer[table::FIELD_TEXT_SIZE];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(table::get_field_text(fields, buffer, bytes_of(record), "B", table::MAX_FIELD_TEXT),
            1u);
  // The text, NULs up to the width, and one NUL after it; nothing further is touched.
  EXPECT_EQ(std::string_view(buffer, 8), std::string_view("1\0\0\0\0\0\0#", 8));
  EXPECT_EQ(table::get_field_text(fields, buffer, bytes_of(record), "Q", table::MAX_FIELD_TEXT),
            0u);
  EXPECT_EQ(buffer[0], '\0');
}

TEST(FieldAccess, TextToNumber) {
  struct Case {
    std::string_view text;
    double want;
  };
  const double inf = std::numeric_limits<double>::infinity();
  // clang-format off
  const Case kCases[] = {
      {"   123.45", 123.45}, {"-7.9", -7.9},      {"1,5", 1.0},        {"1D3", 1000.0},
      {"1d-2", 0.01},       {"1e3", 1000.0},     {"1E+3", 1000.0},    {"1e", 1.0},
      {"1e+", 1.0},         {"+5", 5.0},         {"5.", 5.0},         {".5", 0.5},
      {"-.5", -0.5},        {"\t\n\v\f\r 8", 8.0}, {"  ", 0.0},       {"", 0.0},
      {"-", 0.0},           {".", 0.0},          {"abc", 0.0},        {"1 2", 1.0},
      {"0x10", 0.0},        {"inf", 0.0},        {"nan", 0.0},        {"1e400", inf},
      {"-1e400", -inf},     {"1e-400", 0.0},     {"4.9e-324", 4.9e-324},
      {"1.7976931348623157e308", 1.7976931348623157e308},
      {"0.1e99999999", inf},  // exponent digits past 5200 count as 5201
      {"99999999999999999999999999999999999999e-5230", 0.0},
      {"0.0000000000000000000000000000001e5201", inf},
      {"12345678901234567890123456789", 12345678901234567890123456789.0},
  };
  // clang-format on
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    const double got = table::text_to_number(c.text);
    EXPECT_EQ(got, c.want);
    EXPECT_EQ(std::signbit(got), std::signbit(c.want));
  }
}

TEST(FieldAccess, NegativeZeroKeepsItsSign) {
  for (const std::string_view text : {"-0", "-0.000", " -0e5", "-0D0"}) {
    SCOPED_TRACE(text);
    const double got = table::text_to_number(text);
    EXPECT_EQ(got, 0.0);
    EXPECT_TRUE(std::signbit(got));
  }
}

TEST(FieldAccess, TruncateToLong) {
  struct Case {
    double value;
    std::int32_t want;
  };
  const Case kCases[] = {
      {22.9, 22},
      {-7.9, -7},
      {2147483647.0, 2147483647},
      {2147483648.0, -2147483647 - 1},  // low 32 bits of the 64-bit result
      {4294967297.0, 1},
      {-4294967297.0, -1},
      {9223372036854774784.0, -1024},  // 2^63 - 1024: low 32 bits 0xFFFFFC00
      {9223372036854775808.0, 0},      // 2^63: beyond the 64-bit range
      {-9223372036854775808.0, 0},     // -2^63 itself: in range, low 32 bits 0
      {std::numeric_limits<double>::infinity(), 0},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(table::truncate_to_long(c.value), c.want);
  }
}

TEST(FieldAccess, NumericReadsOfARecord) {
  const std::vector<FieldDescriptor> fields = {descriptor("ILOSC", 9), descriptor("VAT", 6)};
  const std::string_view record = "    123.45  -7.9";
  EXPECT_EQ(table::get_field_real(fields, bytes_of(record), "ILOSC", 1), 123.45);
  EXPECT_EQ(table::get_field_long(fields, bytes_of(record), "ILOSC", 1), 123);
  EXPECT_EQ(table::get_field_long(fields, bytes_of(record), "VAT", 1), -7);
  EXPECT_EQ(table::get_field_real(fields, bytes_of(record), "VAT", 10), -79.0);
  EXPECT_EQ(table::get_field_real(fields, bytes_of(record), "Ilosc", 1), 0.0);
  EXPECT_EQ(table::get_field_long(fields, bytes_of(record), "NONE", 1), 0);
}

}  // namespace
