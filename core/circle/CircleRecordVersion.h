#pragma once
// The format version of the circle-search records. The circle-search records gate their fields at
// versions of their own (8, 13, 16, 18, 20 and 22), which the document version (10) never
// reaches. So that every stored record loads whole, the outermost circle-search record writes the
// format version once, before its parts, and hands the version it reads down to all its parts;
// the parts' Store always writes the newest form and their Load reads by the version handed down.
// Versions up to 10 read the records as documents of that version held them.

class Archive;

inline constexpr int kCircleRecordVersion = 22;

// Writes kCircleRecordVersion (int32) and returns it, the version to hand to the parts' Store.
int StoreCircleRecordVersion(Archive& ar);
// Reads the format version; a version below 1 or above kCircleRecordVersion is a damaged record
// (ArchiveException, BadFormat).
int LoadCircleRecordVersion(Archive& ar);
