#pragma once
// The circles a search kept, read off its result mesh, for tests that compare searches.

#include <vector>

#include "core/circle/RepMesh.h"
#include "core/circle/RepPoint.h"

// Centre, radius and normal Fs of one kept circle.
struct KeptCircle {
  double x, y, r, fs;
  bool operator==(const KeptCircle&) const = default;
};

// The kept circles of every node, in the mesh's row order.
inline std::vector<KeptCircle> KeptCirclesOf(const CRepMesh& mesh) {
  std::vector<KeptCircle> out;
  for (int j = 0; j < mesh.GetSizeY(); ++j) {
    for (int i = 0; i < mesh.GetSizeX(); ++i) {
      const CRepPoint* node = mesh.GetRepPoint(i, j);
      for (int c = 0; node != nullptr && c < node->GetChildSize(); ++c) {
        const CRepPoint& p = node->GetChild(c);
        out.push_back({p.GetCenter().x, p.GetCenter().y, p.GetRadius(), p.GetValue(0)});
      }
    }
  }
  return out;
}
