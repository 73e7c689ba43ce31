#pragma once
// The display switches of one case: which load case of the multi-plane results is drawn, whether
// the step-2 view shows the block division only, and when water is drawn. The program's display
// handlers write the fields directly; when another case becomes active the old case's switches
// are copied into it, so the choice carries over. Not stored with the document.

class CDrawSet {
 public:
  CDrawSet() = default;

  // Back to the defaults below.
  void Init();
  void Copy(const CDrawSet& other);

  bool IsWaterDrawAll() const;
  bool IsWaterDrawBefore() const;
  bool IsWaterDrawAfter() const;
  // Whether the normal-case (the seismic-case) results are drawn; load case 2 draws both, any
  // other value neither.
  bool IsWaterDrawNormal() const;
  bool IsWaterDrawQuake() const;
  // The step-2 view draws the blocks and water without the section's shapes.
  bool IsBlockType() const;

  // Three further switches that this class does not interpret.
  int option1 = 0;
  int option2 = 0;
  int option3 = 0;
  int waterAll = 0;   // 1: water is drawn for all
  int waterWhen = 1;  // 0: before, 1: after
  int loadCase = 0;   // 0 normal, 1 seismic, 2 both
  int blocksOnly = 0;
};
