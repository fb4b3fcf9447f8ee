#include "app/SystemInformation.h"

namespace tavrin {

void StartSysInfo(MessageSink& messages)
{
    messages.Show(kSysInfoUnavailable);
}

}  // namespace tavrin
