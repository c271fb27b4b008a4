// Opening one of the three input tables for the export, with the message each
// failure gets.
#include "export/input_table.hpp"

#include <utility>

#include "export/console.hpp"

namespace invoice_export {

bool open_input_table(InputTable& input, const char* name) {
  input.name = name;
  table::OpenedTable opened = table::open_table(name);
  switch (opened.status) {
    case table::OpenStatus::ok:
      break;
    case table::OpenStatus::cannot_open:
      report_cannot_open(name);
      return false;
    case table::OpenStatus::out_of_memory:
      report_failure(kOutOfMemory, name);
      return false;
    case table::OpenStatus::damaged_header:
      report_failure(kHeaderDamaged, name);
      return false;
  }
  input.file = std::move(opened.table);
  input.chunk = table::allocate_record_chunk(input.file);
  if (!input.chunk.bytes) {
    report_failure(kOutOfMemory, name);
    return false;
  }
  return true;
}

}  // namespace invoice_export
