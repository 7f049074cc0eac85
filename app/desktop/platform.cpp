#include "app/platform.h"

namespace pokorin {

void SetUpPlatform(QApplication &) {} // the desktop draws the windows' frames

void ShowProgramEnded() {} // the process ends, and the desktop shows that

} // namespace pokorin
