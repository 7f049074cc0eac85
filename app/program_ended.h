#pragma once

// app/: the program's start (main.cpp) and, per platform, its end.

namespace pokorin {

// Tells that the program has ended, where the platform outlives it: a browser
// page stays open, so it says so; a desktop process simply ends.
void ShowProgramEnded();

} // namespace pokorin
