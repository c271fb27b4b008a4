// Microbenchmarks of the per-position work: reading a number, formatting a price and
// finding a field by name.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "export/unit_price.hpp"
#include "table/field_access.hpp"

namespace {

void BM_TextToNumber(benchmark::State& state) {
  const std::vector<std::string> texts = {"    12.500", "     1234.56",  "-7.9", "1D3",
                                          "     0.001", "  99999999.99", "",     "  3,5"};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(table::text_to_number(texts[i++ % texts.size()]));
  }
}
BENCHMARK(BM_TextToNumber);

// Prices as the export computes them: a line value over a quantity.
void BM_FormatUnitPrice(benchmark::State& state) {
  std::mt19937_64 random(1);
  std::vector<double> prices;
  for (int i = 0; i < 4096; ++i) {
    prices.push_back(static_cast<double>(random() % 99999999 + 1) / 100 /
                     (static_cast<double>(random() % 9999999 + 1) / 1000));
  }
  invoice_export::UnitPriceBuffer buffer;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        invoice_export::format_unit_price(prices[i++ % prices.size()], buffer));
  }
}
BENCHMARK(BM_FormatUnitPrice);

// Values whose 18th significant digit is 5, which take the exact tie check: exact
// ties (quarters above 2^49) and values that only look like one at 18 digits.
void BM_FormatUnitPriceTiePath(benchmark::State& state) {
  std::mt19937_64 random(2);
  std::vector<double> prices;
  for (int i = 0; i < 4096; ++i) {
    prices.push_back(
        static_cast<double>((std::uint64_t{1} << 49) + random() % (std::uint64_t{1} << 52)) + 0.25);
    prices.push_back(0.125 + static_cast<double>(random() % 1000));
  }
  invoice_export::UnitPriceBuffer buffer;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        invoice_export::format_unit_price(prices[i++ % prices.size()], buffer));
  }
}
BENCHMARK(BM_FormatUnitPriceTiePath);

struct ThirtyFieldTable {
  std::vector<table::FieldDescriptor> fields;
  std::string record;
};

ThirtyFieldTable thirty_field_table() {
  constexpr std::string_view kValue = "    12.500";
  ThirtyFieldTable table;
  table.record.assign(1 + 30 * kValue.size(), ' ');
  for (int i = 0; i < 30; ++i) {
    table::FieldDescriptor field;
    std::string name = "POLE";
    name += std::to_string(i);
    std::memcpy(field.name, name.c_str(), name.size() + 1);
    field.width = 10;
    table.fields.push_back(field);
    std::copy(kValue.begin(), kValue.end(), table.record.begin() + 1 + i * 10);
  }
  return table;
}

// The last of 30 fields, looked up by name for every read.
void BM_FieldReadByName(benchmark::State& state) {
  const ThirtyFieldTable table = thirty_field_table();
  for (auto _ : state) {
    benchmark::DoNotOptimize(table::get_field_real(table.fields, table.record, "POLE29", 1));
  }
}
BENCHMARK(BM_FieldReadByName);

// The same read with the field located once, as the export does per table.
void BM_FieldReadLocated(benchmark::State& state) {
  const ThirtyFieldTable table = thirty_field_table();
  const table::FieldLocation field = table::locate_field(table.fields, "POLE29");
  for (auto _ : state) {
    benchmark::DoNotOptimize(table::field_real(table.record, field, 1));
  }
}
BENCHMARK(BM_FieldReadLocated);

}  // namespace

BENCHMARK_MAIN();
