#pragma once

#include <cstdint>

// The progress window's bar during a log collection. Each of the collection's steps takes
// kTicksPerStep, so that packing a large log folder moves the bar within its step, piece by piece,
// instead of standing still until the folder is packed.
inline constexpr int kTicksPerStep = 100;

// Where the bar goes when the step it stands in is done.
int step_end_position(int position);

// Where the bar stands when done of total bytes of the current step's packing are packed; always
// inside the step, whose end is step_end_position's.
int packing_position(int position, std::uint64_t done, std::uint64_t total);
