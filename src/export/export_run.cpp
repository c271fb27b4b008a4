// One run of the program: from the command line to the exit status.
#include "export/export_run.hpp"

#include <filesystem>
#include <system_error>

#include "export/console.hpp"
#include "export/header_section.hpp"
#include "export/input_table.hpp"
#include "export/invoice_output.hpp"
#include "export/position_sections.hpp"

namespace invoice_export {
namespace {

// The input table that path names (by the same name, another path or a link), or
// null. Creating the output would empty that table before it is read.
const char* input_table_at(const char* path) {
  for (const char* name : {kInvoiceTableName, kPositionsTableName, kGoodsTableName}) {
    std::error_code error;
    if (std::filesystem::equivalent(path, name, error) && !error) return name;
  }
  return nullptr;
}

// The header section from the invoice table's first record, then the positions.
bool write_invoice(InvoiceOutput& output) {
  {
    InputTable invoice;
    if (!open_input_table(invoice, kInvoiceTableName)) return false;
    if (!table::read_record_chunk(invoice.file, invoice.chunk)) {
      report_failure(kNoRecord, invoice.name);
      return false;
    }
    write_header_section(output, invoice.file, table::record_view(invoice.chunk));
  }  // the invoice table is closed before the positions table is opened
  return write_position_sections(output);
}

}  // namespace

int export_run(int argc, const char* const* argv) {
  if (argc <= 1) {
    report_missing_argument();
    return kExitFailed;
  }
  const char* path = argv[1];
  if (const char* table_name = input_table_at(path)) {
    report_output_is_table(path, table_name);
    return kExitFailed;
  }

  InvoiceOutput output;
  if (!open_invoice_output(output, path)) {
    report_cannot_open(path);
    return kExitFailed;
  }
  const bool complete = write_invoice(output);
  const bool written = finish_invoice_output(output);
  if (!written) report_failure(kWriteFailed, path);
  return complete && written ? kExitWritten : kExitFailed;
}

}  // namespace invoice_export
