// The text-to-number rule checked against the C library's strtod on many generated
// texts. Both round correctly, so they must agree to the bit wherever strtod reads the
// same prefix: texts are generated without the words and hexadecimal forms that only
// strtod knows, and with the D exponent turned into E for strtod.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "table/field_access.hpp"

namespace {

std::string digits(std::mt19937_64& random, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += static_cast<char>('0' + random() % 10);
  return text;
}

// A text of the number grammar, with sometimes a piece missing and something after it.
std::string number_text(std::mt19937_64& random) {
  const auto pick = [&random](std::initializer_list<const char*> options) {
    return std::string(*(options.begin() + random() % options.size()));
  };
  std::string text = pick({"", "", " ", "   ", "\t", "\r\n "});
  text += pick({"", "", "-", "+"});
  const int scale = static_cast<int>(random() % 4);  // mostly short, sometimes long mantissas
  text += digits(random, static_cast<int>(random() % (scale == 3 ? 40 : 8)));
  if (random() % 2)
    text += "." + digits(random, static_cast<int>(random() % (scale == 3 ? 40 : 6)));
  if (random() % 3 == 0) {
    text += pick({"e", "E", "d", "D"}) + pick({"", "+", "-"});
    text += digits(random, static_cast<int>(random() % 5));
  }
  text += pick({"", "", "", ",5", " 7", "x", "e", "E+", "d-", ".", "..5", "-1"});
  return text.substr(0, table::MAX_FIELD_TEXT);
}

double strtod_reference(std::string text) {
  for (char& c : text) {
    if (c == 'd' || c == 'D') c = 'e';
  }
  return std::strtod(text.c_str(), nullptr);
}

// A prefix only strtod reads: infinity, not-a-number or a hexadecimal number.
bool strtod_only(const std::string& text) {
  std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string::npos) return false;
  if (text[i] == '+' || text[i] == '-') ++i;
  std::string rest = text.substr(i, 3);
  for (char& c : rest) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return rest.starts_with("inf") || rest.starts_with("nan") || rest.starts_with("0x");
}

TEST(NumberProperties, AgreesWithStrtodOnTextsOfTheGrammar) {
  std::mt19937_64 random(20261211);
  for (int i = 0; i < 200000; ++i) {
    const std::string text = number_text(random);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(table::text_to_number(text)),
              std::bit_cast<std::uint64_t>(strtod_reference(text)))
        << '"' << text << '"';
  }
}

TEST(NumberProperties, AgreesWithStrtodOnRandomBytes) {
  std::mt19937_64 random(7);
  const std::string alphabet = "0123456789+-.eEdD ,\t\x01\xff";
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    const int length = static_cast<int>(random() % 12);
    for (int j = 0; j < length; ++j) {
      text += random() % 8 == 0 ? static_cast<char>(random() % 256)
                                : alphabet[random() % alphabet.size()];
    }
    if (strtod_only(text) || text.find('\0') != std::string::npos) continue;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(table::text_to_number(text)),
              std::bit_cast<std::uint64_t>(strtod_reference(text)))
        << '"' << text << '"';
  }
}

}  // namespace
