#pragma once
// The rounding rules: how many decimals each quantity code gets, which rounding direction a
// group of codes takes, and whether the calculations round their intermediate values.

class Archive;

// Rounding directions of the mode fields.
inline constexpr int kRoundModeUp = 0;        // toward plus infinity
inline constexpr int kRoundModeTruncate = 1;  // toward minus infinity
inline constexpr int kRoundModeHalfUp = 2;

class CUnitFilter {
 public:
  // Stored in this order; defaults as a new document has them.
  int roundSwitch = 1;                        // 1: calculations round intermediate values
  int modeGeneral = kRoundModeHalfUp;         // every code not named below
  int modeSafetyFactor = kRoundModeTruncate;  // codes 163 and 164
  int modeRestrainingForce = kRoundModeUp;    // code 261
  int digitsSafetyFactor = 3;                 // codes 163 and 164
  int digitsCohesion = 3;                     // code 131
  int digitsFriction = 4;                     // code 161
  int digitsSeismicCoefficient = 3;           // code 211; in documents from version 4 on
  int digits231 = 0;                          // code 231

  void Init() { *this = CUnitFilter(); }
  void Copy(const CUnitFilter* other) { *this = *other; }
  bool IsSame(const CUnitFilter* other) const { return *this == *other; }
  friend bool operator==(const CUnitFilter&, const CUnitFilter&) = default;

  int IsEnableRoundValue() const { return roundSwitch; }
  // Sets the switch and returns its previous value.
  int EnableRoundValue(int enable);

  // The number of decimals of a quantity code.
  int Digit(int code) const;
  // Round2 while the switch is on, else x unchanged.
  double Round(double x, int code) const;
  // Rounds x to the decimals of the code in the code's direction, whatever the switch says.
  // Anything as large as the no-value marker gives the no-value marker.
  double Round2(double x, int code) const;

  void Store(Archive& ar, int version) const;
  // Leaves the filter as it was when the archive ends early.
  void Load(Archive& ar, int version);
};
