// The [Naglowek] section: invoice number, dates and payment method.
#pragma once

#include <span>

#include "export/invoice_output.hpp"
#include "table/table_file.hpp"

namespace invoice_export {

// Writes the header section from a record of the invoice table (its first one).
void write_header_section(InvoiceOutput& output, const table::TableFile& invoice,
                          std::span<const char> record);

}  // namespace invoice_export
