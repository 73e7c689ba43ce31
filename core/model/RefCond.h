#pragma once
// The reference values that the deformation checks of steps 3 and 4 compare their results with:
// the rope-net strains at crack initiation and at local failure, the reference shear strain, the
// maximum rope-net tension, the allowable slide and shear strains, and the coefficients A and B
// of the slide strain relation gamma_s = A * Fsr^B. They are process-wide: every case of every
// document uses the same values, read from a reference-condition file at start-up.

#include <array>
#include <string>

class Archive;

class CRefCond {
 public:
  // The eight values in their stored order.
  using Values = std::array<double, 8>;

  // Every value back to its default.
  static void Default();
  // The defaults, without changing the values.
  static Values DefaultValues();
  // All eight values at once, in their stored order.
  static Values GetValues();
  static void SetValues(const Values& values);
  // The eight values as doubles in the order of the members below; the version is not consulted.
  static void Store(Archive& ar, int version);
  // Reads all eight values before it changes any: a record that ends early throws
  // ArchiveException and leaves the values as they were.
  static void Load(Archive& ar, int version);

  // The reference-condition file (.cond), 108 bytes: the header text "BRIXO_REF_COND_DOC" as a
  // framework string, the int32 file version 1 and the record of the eight values. With
  // `remember`, a successful read or write makes the path the last reference-condition file and
  // rewrites DefFile.sdxf.
  //
  // Writes beside the file and replaces it only when complete; false when it cannot be written.
  static bool WriteCond(const std::string& path, bool remember);
  // Takes a file only when it is exactly that: a missing, foreign, short, longer or later file,
  // or one whose values are not all finite numbers, gives false and changes no value. With
  // `remember`, a failed read empties the last reference-condition file (without rewriting
  // DefFile.sdxf).
  static bool ReadCond(const std::string& path, bool remember);

  static double GetKiretuHizumi() { return m_kiretuHizumi; }
  static void SetKiretuHizumi(double v) { m_kiretuHizumi = v; }
  static double GetKyokuHizumi() { return m_kyokuHizumi; }
  static void SetKyokuHizumi(double v) { m_kyokuHizumi = v; }
  static double GetGammaref() { return m_ganmmaref; }
  static void SetGammaref(double v) { m_ganmmaref = v; }
  static double GetTRNmax() { return m_TRNmax; }
  static void SetTRNmax(double v) { m_TRNmax = v; }
  static double GetSuberiHizumi() { return m_suberiHizumi; }
  static void SetSuberiHizumi(double v) { m_suberiHizumi = v; }
  static double GetSendanHizumi() { return m_sendanHizumi; }
  static void SetSendanHizumi(double v) { m_sendanHizumi = v; }
  static double GetKeiA() { return m_keiA; }
  static void SetKeiA(double v) { m_keiA = v; }
  static double GetKeiB() { return m_keiB; }
  static void SetKeiB(double v) { m_keiB = v; }

 private:
  // The members in their stored order.
  static std::array<double*, 8> Members();

  static constexpr double kKiretuHizumi = 0.013;
  static constexpr double kKyokuHizumi = 0.052;
  static constexpr double kGammaref = 0.025;
  static constexpr double kTRNmax = 2.39;
  static constexpr double kSuberiHizumi = 0.1;
  static constexpr double kSendanHizumi = 0.05;
  static constexpr double kKeiA = 0.016;
  static constexpr double kKeiB = -1.7;

  // In their stored order.
  inline static double m_kiretuHizumi = kKiretuHizumi;  // strain at crack initiation
  inline static double m_kyokuHizumi = kKyokuHizumi;    // strain at local failure
  inline static double m_ganmmaref = kGammaref;         // reference shear strain
  inline static double m_TRNmax = kTRNmax;              // maximum rope-net tension
  inline static double m_suberiHizumi = kSuberiHizumi;  // allowable slide strain
  inline static double m_sendanHizumi = kSendanHizumi;  // allowable shear strain
  inline static double m_keiA = kKeiA;
  inline static double m_keiB = kKeiB;
};
