#pragma once

namespace pokorin {

// Raises the process's limit of open files to the most the system allows,
// where it has one; the limit then, which each connection counts against.
int RaiseOpenFileLimit();

} // namespace pokorin
