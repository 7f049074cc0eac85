#pragma once

// app/: the program's start (main.cpp) and what its platform adds at the
// start and at the end.

#include <QStringList>

class QApplication;

namespace pokorin {

class MainWindow;

// What the platform needs of the application before the first window.
void SetUpPlatform(QApplication &app);

// Lets the platform share the window's experiment with a class: a page
// opened from a teacher's address sends the teacher its counts.
void ShareWithTheClass(const MainWindow &window);

// Starts the class's program, pokorin-class in the folder, in this program's
// place, with the arguments; the exit code when it cannot.
int StartClassProgram(const QString &folder, const QStringList &arguments);

// Tells that the program has ended, where the platform outlives it: a browser
// page stays open, so it says so; a desktop process simply ends.
void ShowProgramEnded();

} // namespace pokorin
