// Writes the three tables of an invoice with N positions, for the benchmarks.
// Usage: make_tables FOLDER N
// Widths are those of a real sales program's tables; numbers vary from record to
// record so that number reading and price formatting see many different values.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "table_builder.hpp"

namespace {

// Goods names in code page 852 (\xab z acute, \x88 l with stroke, \xa2 o acute,
// \xbe z with dot above, \x98 s acute, \xa9 e with ogonek).
const char* const kGoodsNames[] = {"Mleko UHT 3,2% 1l",
                                   "Ser \xbe\xa2\x88ty gouda",
                                   "Chleb \xbeytni krojony",
                                   "Kawa ziarnista 1 kg",
                                   "Woda \xabr\xa2"
                                   "dlana 1,5 l",
                                   "Mas\x88o extra 82%",
                                   "Jab\x88ka szampion luz",
                                   "Makaron \x98widerki 500 g",
                                   "R\xa9"
                                   "cznik papierowy",
                                   "Us\x88uga dostawy"};
const char* const kUnits[] = {"szt", "kg", "opak", "l", "us\x88"};
const char* const kVatRates[] = {"0.00", "5.00", "8.00", "23.00"};

// units / 10^decimals written with exactly that many decimals: 12345, 3 -> "12.345".
std::string fixed_decimal(long long units, int decimals) {
  long long scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const std::string fraction = std::to_string(units % scale);
  return std::to_string(units / scale) + "." +
         std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
}

void write_streamed(const std::filesystem::path& path, const fixture::Table& layout,
                    std::int32_t count, auto&& record_values) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << fixture::header_bytes(layout, count);
  for (std::int32_t i = 0; i < count; ++i) file << fixture::record_bytes(layout, record_values(i));
  file << '\x1A';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_tables FOLDER N\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  const auto count = static_cast<std::int32_t>(std::atol(argv[2]));
  std::filesystem::create_directories(folder);
  std::mt19937_64 random(static_cast<std::uint64_t>(count));

  fixture::Table invoice;
  invoice.fields = {{"NR_WEWN", 'C', 10}, {"NR_WEWN_R", 'C', 4},  {"NABYWCA", 'C', 40},
                    {"DATA", 'D', 8},     {"DAT_S", 'D', 8},      {"SPOS_ZAPL", 'C', 10},
                    {"TERMIN", 'D', 8},   {"WARTOSC", 'N', 14, 2}};
  invoice.records = {{"1", "2026", "Hurtownia Spo\xbeywcza Sp. z o.o.", "20261211", "20261211",
                      "Przelew", "20270110", "0.00"}};
  fixture::write_file(folder / "dfaktura.dbf", fixture::table_bytes(invoice));

  fixture::Table positions;
  positions.fields = {{"LP", 'N', 7},
                      {"ID_TOW", 'N', 8},
                      {"ILOSC", 'N', 10, 3},
                      {"RABAT", 'N', 5, 2},
                      {"WART_ZL", 'N', 12, 2}};
  write_streamed(folder / "dpozycja.dbf", positions, count, [&](std::int32_t i) {
    const long long quantity = static_cast<long long>(random() % 9999999) + 1;  // 0.001 ..
    const long long value = static_cast<long long>(random() % 99999999) + 1;    // 0.01 ..
    return std::vector<std::string>{std::to_string(i + 1), std::to_string(100000 + i % 5000),
                                    fixed_decimal(quantity, 3), "0.00", fixed_decimal(value, 2)};
  });

  fixture::Table goods;
  goods.fields = {{"ID_TOW", 'N', 8}, {"TOWAR", 'C', 40},      {"KOD_KRESKI", 'C', 13},
                  {"JM", 'C', 5},     {"NAZWISKO", 'C', 20},   {"CENA", 'N', 10, 2},
                  {"OPIS", 'C', 30},  {"PODA_OBRO", 'N', 5, 2}};
  write_streamed(folder / "dtowar.dbf", goods, count, [&](std::int32_t i) {
    const std::string barcode = std::to_string(5900000000000LL + i);
    return std::vector<std::string>{std::to_string(100000 + i % 5000),
                                    kGoodsNames[random() % std::size(kGoodsNames)],
                                    barcode,
                                    kUnits[random() % std::size(kUnits)],
                                    "10.51.11.0",
                                    fixed_decimal(static_cast<long long>(random() % 100000), 2),
                                    "",
                                    kVatRates[random() % std::size(kVatRates)]};
  });
  return 0;
}
