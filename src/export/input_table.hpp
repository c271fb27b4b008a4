// Opening one of the three input tables for the export, with the message each
// failure gets.
#pragma once

#include <string_view>

#include "table/table_file.hpp"

namespace invoice_export {

constexpr const char* kInvoiceTableName = "dfaktura.dbf";
constexpr const char* kPositionsTableName = "dpozycja.dbf";
constexpr const char* kGoodsTableName = "dtowar.dbf";

struct InputTable {
  table::TableFile file;
  table::RecordChunk chunk;
  std::string_view name;
};

// Opens the table and allocates its record buffer. On failure says why (standard
// output for a file that cannot be opened, standard error otherwise) and returns false.
bool open_input_table(InputTable& input, const char* name);

}  // namespace invoice_export
