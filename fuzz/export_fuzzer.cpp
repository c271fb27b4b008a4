// libFuzzer target: the whole export on tables made from the input, plus field access,
// the number rule and the price formatting on the raw bytes.
//
// Input layout: tables separated by kSeparator. Three or more parts are the invoice,
// positions and goods tables. Fewer parts replace tables of the sample invoice in
// examples/: one part (after a first byte that picks which table) replaces that table;
// two parts replace the positions and goods tables.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_run.hpp"
#include "export/unit_price.hpp"
#include "table/field_access.hpp"
#include "table/table_file.hpp"

namespace {

constexpr std::string_view kSeparator = "\xFE\xFDTABELA\xFD\xFE";
constexpr const char* kTableNames[] = {"dfaktura.dbf", "dpozycja.dbf", "dtowar.dbf"};

std::vector<std::string> sample_tables;
std::string work_folder;

// The scratch folder goes when the fuzzer ends normally.
void remove_work_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(work_folder, ignored);
}

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void write_file(const char* path, std::string_view bytes) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) std::abort();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::vector<std::string_view> split(std::string_view data) {
  std::vector<std::string_view> parts;
  for (std::size_t at; (at = data.find(kSeparator)) != std::string_view::npos;) {
    parts.push_back(data.substr(0, at));
    data.remove_prefix(at + kSeparator.size());
  }
  parts.push_back(data);
  return parts;
}

// Field access and conversions straight on the bytes: the input's 32-byte blocks as
// descriptors, the input itself as a record.
void fuzz_field_access(std::string_view data) {
  std::vector<table::FieldDescriptor> descriptors;
  for (std::size_t at = 0; at + table::kDescriptorSize <= data.size() && descriptors.size() < 64;
       at += table::kDescriptorSize) {
    descriptors.push_back(
        table::decode_descriptor(std::span<const unsigned char, table::kDescriptorSize>(
            reinterpret_cast<const unsigned char*>(data.data() + at), table::kDescriptorSize)));
  }
  const std::span<const char> record(data.data(), data.size());
  char text[table::FIELD_TEXT_SIZE];
  for (const char* name : {"TOWAR", "ILOSC", "WART_ZL", "PODA_OBRO", ""}) {
    (void)table::get_field_text(descriptors, text, record, name, table::MAX_FIELD_TEXT);
    (void)table::get_field_real(descriptors, record, name, 1);
    (void)table::get_field_long(descriptors, record, name, 1);
  }
  (void)table::text_to_number(data);

  invoice_export::UnitPriceBuffer price;
  double value = 0;
  if (data.size() >= sizeof value) std::memcpy(&value, data.data(), sizeof value);
  (void)invoice_export::format_unit_price(value, price);
  (void)invoice_export::format_unit_price(table::text_to_number(data), price);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  for (const char* name : kTableNames) {
    sample_tables.push_back(read_file(std::string(EXAMPLES_FOLDER) + "/" + name));
  }
  // The export reads and writes in the working directory: give it a folder of its own,
  // in memory where the machine has one.
  work_folder =
      access("/dev/shm", W_OK) == 0 ? "/dev/shm/invoice-fuzz-XXXXXX" : "/tmp/invoice-fuzz-XXXXXX";
  if (mkdtemp(work_folder.data()) == nullptr || chdir(work_folder.c_str()) != 0) std::abort();
  (void)std::atexit(remove_work_folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view data(reinterpret_cast<const char*>(bytes), size);
  fuzz_field_access(data);

  std::vector<std::string_view> tables(sample_tables.begin(), sample_tables.end());
  const std::vector<std::string_view> parts = split(data);
  if (parts.size() >= 3) {
    tables.assign(parts.begin(), parts.begin() + 3);
  } else if (parts.size() == 2) {
    tables[1] = parts[0];
    tables[2] = parts[1];
  } else if (!data.empty()) {
    tables[static_cast<unsigned char>(data[0]) % 3] = data.substr(1);
  }
  for (std::size_t i = 0; i < 3; ++i) write_file(kTableNames[i], tables[i]);

  const char* argv[] = {"invoice-export", "faktura.txt", nullptr};
  (void)invoice_export::export_run(2, argv);
  return 0;
}
