#pragma once

#include <QIcon>

namespace tavrin {

// The program's icon (a portal frame with its moment diagram), drawn from
// the embedded SVG at the sizes title bars, task bars and the about box use.
QIcon ProgramIcon();

}  // namespace tavrin
