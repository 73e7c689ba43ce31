#include "core/geometry/RecordCheck.h"

#include <cmath>
#include <numbers>

#include "platform/Archive.h"
#include "platform/NumberText.h"

namespace record_check {

namespace {

constexpr double kTurn = 2 * std::numbers::pi;
// Angles computed as sums and differences of whole turns may exceed a turn by rounding.
constexpr double kTurnSlack = 1e-9;

std::string Shown(double v) { return FormatScientific(v); }

}  // namespace

bool IsSoundCoordinate(double v) {
  return v == kNoValue || (std::isfinite(v) && std::fabs(v) <= kCoordinateLimit);
}

std::string CoordinateRangeText() { return "±" + FormatFixed(kCoordinateLimit, 0); }

void Refuse(std::string_view record, const std::string& what) {
  throw ArchiveException(ArchiveException::Cause::BadFormat, std::string(record) + ": " + what);
}

void RequireCoordinate(std::string_view record, std::string_view what, double v) {
  if (IsSoundCoordinate(v)) return;
  Refuse(record, std::string(what) + " is " + Shown(v) +
                     ", neither no value nor a coordinate within +-" +
                     FormatFixed(kCoordinateLimit, 0));
}

void RequirePoint(std::string_view record, std::string_view what, const CDPoint& p) {
  RequireCoordinate(record, std::string(what) + " x", p.x);
  RequireCoordinate(record, std::string(what) + " y", p.y);
}

void RequirePoints(std::string_view record, const std::vector<std::shared_ptr<CDPoint>>& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    RequirePoint(record, "vertex " + std::to_string(i), *points[i]);
  }
}

void RequireFinite(std::string_view record, std::string_view what, double v) {
  if (std::isfinite(v)) return;
  Refuse(record, std::string(what) + " is " + Shown(v) + ", not a number");
}

void RequireArc(std::string_view record, int index, const CDArc& arc) {
  const std::string what = "arc " + std::to_string(index);
  for (const double v : {arc.centre.x, arc.centre.y, arc.R, arc.start, arc.end}) {
    RequireFinite(record, what, v);
  }
  if (!(arc.R > 0)) Refuse(record, what + " has the radius " + Shown(arc.R));
  if (std::fabs(arc.start) > 2 * kTurn || std::fabs(arc.end) > 2 * kTurn) {
    Refuse(record, what + " has an angle beyond two turns");
  }
  if (std::fabs(arc.end - arc.start) > kTurn + kTurnSlack) {
    Refuse(record, what + " turns more than once");
  }
  CDArc normalised = arc;
  for (int which = 0; which < 4; ++which) {
    RequirePoint(record, what + " extreme point", normalised.GetMinMax(which));
  }
}

}  // namespace record_check
