#pragma once

#include <cstddef>
#include <cstdint>

namespace tavrin::fuzz {

// One case text through the batch tool's whole road: reading, the input
// form, the model type dialog, the analysis, every calculation item, the
// diagrams, and the text, JSON and trace outputs. Anything the core throws
// escapes, so that the fuzzer reports it: the program itself would end on it.
// A case that the program's "保存" would not give back whole aborts.
void RunCaseBytes(const std::uint8_t* data, std::size_t size);

}  // namespace tavrin::fuzz
