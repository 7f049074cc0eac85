#pragma once

#include <QIcon>

namespace pokorin {

// The program's own icon: a small blue lattice over black bins with the red
// ball on its apex, drawn here rather than loaded from a file; 32 x 32 unless
// a home screen wants it larger.
QIcon PokorinIcon(int size = 32);

} // namespace pokorin
