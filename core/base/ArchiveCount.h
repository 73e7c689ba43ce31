#pragma once
// Reading the stored count of a list before its items.

#include <cstddef>
#include <cstdint>

class Archive;

// Reads a count (int32) and checks it before anything is allocated for the items: a negative
// count throws ArchiveException (BadFormat), and a count of items of itemSize bytes each that
// cannot fit in the data left throws ArchiveException (EndOfFile). `what` names the count in the
// message, e.g. "polyline point count".
std::int32_t ReadCount(Archive& ar, std::size_t itemSize, const char* what);
