#include "FuzzCase.h"

#include <cstdlib>
#include <sstream>
#include <string_view>

#include "batch/BatchCase.h"
#include "batch/BatchOutput.h"
#include "batch/BatchRun.h"
#include "batch/BatchTool.h"

namespace tavrin::fuzz {

void RunCaseBytes(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CaseReading reading = batch::ReadCase(text);
    if (!reading.value)
        return;
    if (const CaseReading saved = ReadCase(WriteCase(*reading.value)); !saved.value || *saved.value != *reading.value)
        std::abort();
    const batch::RunResult result =
        batch::RunCase(*reading.value, batch::kDefaultPictureUnits, batch::kDefaultPictureUnits);
    std::ostringstream out;
    batch::WriteResultText(result, out);
    out << batch::ResultJson(result) << batch::TraceJson(result.pictures);
}

}  // namespace tavrin::fuzz
