#include "batch/BatchCase.h"

#include <cstdint>
#include <string>

#include "model/CellReading.h"

namespace tavrin::batch {

CaseReading ReadCase(std::string_view text)
{
    CaseReading reading = tavrin::ReadCase(text);
    if (!reading.value || !reading.value->degree)
        return reading;
    const std::optional<std::int16_t> n = ReadIntegerCell(*reading.value->degree);
    if (n && *n > kMaxBatchDegree) {
        reading.value.reset();
        reading.error =
            "degree: 超静定次数" + std::to_string(*n) + "超过本工具能计算的" + std::to_string(kMaxBatchDegree) + "次";
    }
    return reading;
}

}  // namespace tavrin::batch
