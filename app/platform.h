#pragma once

// app/: the program's start (main.cpp) and what its platform adds at the
// start and at the end.

class QApplication;

namespace pokorin {

class MainWindow;

// What the platform needs of the application before the first window.
void SetUpPlatform(QApplication &app);

// Lets the platform share the window's experiment with a class: a page
// opened from a teacher's address sends the teacher its counts.
void ShareWithTheClass(const MainWindow &window);

// Tells that the program has ended, where the platform outlives it: a browser
// page stays open, so it says so; a desktop process simply ends.
void ShowProgramEnded();

} // namespace pokorin
