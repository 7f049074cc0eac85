#pragma once

// What a benchmark's process has used so far, as its system tells it (under
// Wine, Windows' figures are Linux's for the Wine process).

// The memory the process holds now, and the most it has held at once.
long ResidentKiB();
long PeakResidentKiB();

// Processor time, the user's and the system's.
double ProcessorSeconds();
