#pragma once

class QWidget;

namespace pokorin {

// Under a right-to-left layout (Qt's -reverse), mirrors the places of the
// window's own controls, as Qt's layouts would; the drawings inside the
// surfaces keep their direction, the experiment's left and right.
void MirrorForRightToLeft(QWidget &window);

} // namespace pokorin
