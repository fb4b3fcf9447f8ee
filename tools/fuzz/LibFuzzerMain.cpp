// libFuzzer entry: the fuzzer feeds arbitrary bytes as a case file.

#include <cstddef>
#include <cstdint>

#include "FuzzCase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tavrin::fuzz::RunCaseBytes(data, size);
    return 0;
}
