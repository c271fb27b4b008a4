// invoice-export: writes one invoice from the sales program's tables as a text file.
#include "export/export_run.hpp"

int main(int argc, char** argv) { return invoice_export::export_run(argc, argv); }
