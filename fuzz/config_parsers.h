// The configuration reply parsers the config target drives, one per reply kind. They live in
// separate files because the SDK's envelope tables, own-parser tables and history tables each
// declare record-field types of the same names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzconfig {

// Each takes a reply body; `option` is a byte of the input for a parser that has a setting.
using Parser = void (*)(const std::string& reply, uint8_t option);

struct ParserList {
    const Parser* parsers;
    size_t count;
};

ParserList moduleParsers();   // the module envelope and the module tables
ParserList groupParsers();    // the settings groups with their own parser
ParserList historyParsers();  // the history queries and the flow statistics

// Aborts the run when an invariant is broken.
void check(bool condition, const char* what);

}  // namespace fuzzconfig
