// Checks the shape of an invoice text: whole sections and nothing else.
#include "invoice_text.hpp"

#include <string>
#include <vector>

namespace fixture {

std::optional<int> count_whole_sections(std::string_view invoice) {
  if (invoice.empty()) return -1;
  std::vector<std::string> keys = {
      "[Naglowek]", "Nr=", "DataWyst=", "DataSprzed=", "Platnosc=", "Termin="};
  std::size_t at = 0;
  for (int sections = 0;; ++sections) {
    const std::string next_section = "[Poz" + std::to_string(sections + 1) + "]";
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (invoice.substr(at, keys[i].size()) != keys[i]) return std::nullopt;
      at += keys[i].size();
      const std::string next = "\r\n" + (i + 1 < keys.size() ? keys[i + 1] : next_section);
      const std::size_t end = invoice.find(next, at);
      if (end != std::string_view::npos) {
        at = end + 2;
      } else if (i + 1 == keys.size() && invoice.ends_with("\r\n") && invoice.size() - 2 >= at) {
        return sections;  // the last line of the last section
      } else {
        return std::nullopt;
      }
    }
    keys = {next_section, "Nazwa=", "Symbol=", "Jedn=", "Ilosc=", "CenaNetto=", "Vat=", "PKWIU="};
  }
}

}  // namespace fixture
