#include "app/platform.h"

namespace pokorin {

void SetUpPlatform(QApplication &) {} // the desktop draws the windows' frames

void ShareWithTheClass(const MainWindow &) {} // a desktop hosts a class, it joins none

void ShowProgramEnded() {} // the process ends, and the desktop shows that

} // namespace pokorin
