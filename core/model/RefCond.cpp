// CRefCond: the process-wide reference values and their record.

#include "core/model/RefCond.h"

#include "platform/Archive.h"

std::array<double*, 8> CRefCond::Members() {
  return {&m_kiretuHizumi, &m_kyokuHizumi,  &m_ganmmaref, &m_TRNmax,
          &m_suberiHizumi, &m_sendanHizumi, &m_keiA,      &m_keiB};
}

void CRefCond::Default() {
  m_kiretuHizumi = kKiretuHizumi;
  m_kyokuHizumi = kKyokuHizumi;
  m_ganmmaref = kGammaref;
  m_TRNmax = kTRNmax;
  m_suberiHizumi = kSuberiHizumi;
  m_sendanHizumi = kSendanHizumi;
  m_keiA = kKeiA;
  m_keiB = kKeiB;
}

void CRefCond::Store(Archive& ar, int /*version*/) {
  for (const double* member : Members()) ar << *member;
}

void CRefCond::Load(Archive& ar, int /*version*/) {
  std::array<double, 8> read{};
  for (double& v : read) ar >> v;
  const auto members = Members();
  for (std::size_t i = 0; i < read.size(); ++i) *members[i] = read[i];
}
