#pragma once

#include <string_view>

#include "model/Messages.h"

namespace tavrin {

inline constexpr std::string_view kSysInfoUnavailable = "此时系统信息不可用";

// The about box's "系统信息" button. This platform offers no system
// information tool to start, so the student is told so at once.
void StartSysInfo(MessageSink& messages);

}  // namespace tavrin
