#pragma once

#include <QtGlobal>
#include <optional>

class QApplication;

namespace pokorin {

// Hosts the whole class's experiment from this computer (pokorin --class):
// prints the address the students' devices join at, shows the class window
// and runs until it closes; the exit code.
int RunClass(QApplication &app, std::optional<quint16> port);

} // namespace pokorin
