#pragma once

namespace fw {

// For start-up measurements from outside: with TUNEMILL_EXIT_AFTER_FIRST_PAINT set, the
// process writes "first paint" to its error stream once a window has been painted, then quits.
// Without the variable nothing is installed. Only builds with benchmarks carry it.
void InstallFirstPaintProbe();

}  // namespace fw
