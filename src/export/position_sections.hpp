// The [PozN] sections, one per invoice line.
#pragma once

#include "export/invoice_output.hpp"

namespace invoice_export {

// Opens the positions and goods tables and writes one section per position, pairing
// the k-th positions record with the k-th goods record. True when the section of
// every position the positions table counts was written; on any failure it says why
// and stops, leaving only complete sections behind.
bool write_position_sections(InvoiceOutput& output);

}  // namespace invoice_export
