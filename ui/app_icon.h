#pragma once

#include <QIcon>

namespace pokorin {

// The program's own 32 x 32 icon: a small blue lattice over black bins with
// the red ball on its apex, drawn here rather than loaded from a file.
QIcon PokorinIcon();

} // namespace pokorin
