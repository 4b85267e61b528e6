#pragma once
// Basic definitions shared by the foundation library: the "no position" value that searches return
// and that bounds checks recognise.

#include <cstddef>

// Returned by searches when nothing is found; as an index it is never valid.
inline constexpr std::size_t RW_NPOS = static_cast<std::size_t>(-1);
