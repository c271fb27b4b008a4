// Checks the shape of an invoice text: whole sections and nothing else.
#pragma once

#include <optional>
#include <string_view>

namespace fixture {

// For the header section followed by position sections [Poz1] ... [PozN], each with
// all its lines in order and every line ended by CR LF: N (0 for the header alone).
// For an empty text: -1. For anything else, such as a text ending inside a section:
// nothing. Values may hold any bytes, CR LF included, as long as no value holds the
// line that follows it.
std::optional<int> count_whole_sections(std::string_view invoice);

}  // namespace fixture
