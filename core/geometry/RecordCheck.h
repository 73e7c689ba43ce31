#pragma once
// The check at the end of every shape's Load. A damaged record can hold values that no sound
// document holds: coordinates that are not numbers or lie far outside any section, arcs that turn
// more than once. Geometry built on such values reads out of bounds or never finishes, so each
// Load reads its record into temporaries, checks them here and only then takes them: a record
// that fails is refused with ArchiveException (BadFormat) and changes nothing.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/geometry/DArc.h"
#include "core/geometry/DPoint.h"

namespace record_check {

// The largest size of a stored coordinate. Entered coordinates lie within +-9999.999 (larger ones
// become no value) and computed shapes (stretched slide ends, base lines, fitted pieces) stay
// close to that range, so ten times the range leaves every sound document ample room. A value
// beyond it would make an arc through it huge and the cuts along that arc endless.
inline constexpr double kCoordinateLimit = 1e5;

// No value, or a finite number within +-kCoordinateLimit.
bool IsSoundCoordinate(double v);
// The limit as the user reads it in the messages of the imports: "±100000".
std::string CoordinateRangeText();

// Each throws ArchiveException (BadFormat) with a message naming the record and what is wrong.
[[noreturn]] void Refuse(std::string_view record, const std::string& what);
void RequireCoordinate(std::string_view record, std::string_view what, double v);
void RequirePoint(std::string_view record, std::string_view what, const CDPoint& p);
void RequirePoints(std::string_view record, const std::vector<std::shared_ptr<CDPoint>>& points);
// For values that are no coordinates: any finite number.
void RequireFinite(std::string_view record, std::string_view what, double v);
// A finite centre, a finite radius above 0, angles within two turns of 0, a sweep of at most one
// turn, and every point of the arc within the coordinate limit.
void RequireArc(std::string_view record, int index, const CDArc& arc);

}  // namespace record_check
