#include "core/deformation/RfcCsvImport.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>
#include <utility>

#include "core/deformation/ReinfArrange.h"
#include "core/deformation/Reinforce.h"
#include "core/geometry/RecordCheck.h"
#include "core/model/PrmReinf.h"
#include "core/model/PrmSlide.h"
#include "platform/NumberText.h"
#include "platform/Text.h"

namespace {

constexpr std::string_view kFirstLine = "QX工法結果";
// Far beyond any file of results; a larger one is not read into memory.
constexpr std::uintmax_t kMaxFileBytes = 16 * 1024 * 1024;

// The fields of one data line as a section reads them. The first field that cannot be read as
// asked makes the refusal, which names the line and the field's column.
class FieldReader {
 public:
  FieldReader(int lineNumber, std::vector<CCsvField> fields)
      : lineNumber_(lineNumber), fields_(std::move(fields)) {}

  int Count() const { return static_cast<int>(fields_.size()); }
  int Column(int field) const { return At(field).column; }
  const std::string& Text(int field) const { return At(field).text; }
  // The field as a finite number; blanks around it are allowed, anything else is refused.
  double Number(int field) {
    const std::string_view text = TrimBlanks(Text(field));
    const auto parsed = ParseDoublePrefix(text);
    if (!parsed || parsed->used != text.size() || !std::isfinite(parsed->value)) {
      Refuse(Column(field), "が数値ではありません。");
      return kNoValue;
    }
    return parsed->value;
  }
  void RequireInteger(int field) {
    const std::string_view text = TrimBlanks(Text(field));
    const auto parsed = ParseIntPrefix(text);
    if (!parsed || parsed->used != text.size()) Refuse(Column(field), "が整数ではありません。");
  }
  // Two fields as a point's x and y, each no value or within the coordinates a section can hold.
  CDPoint Point(int xField) {
    const double x = Coordinate(xField);
    const double y = Coordinate(xField + 1);
    return CDPoint(x, y);
  }
  // The field as a number added to a sum that must stay finite; the no-value mark is not added.
  void AddTo(double& sum, int field) {
    const double value = Number(field);
    if (value == kNoValue) return;
    sum += value;
    if (!std::isfinite(sum)) Refuse(Column(field), "までの合計が大きすぎます。");
  }
  void Refuse(int column, std::string_view what) {
    if (refusal_) return;
    refusal_ = "ファイルの読み込みに失敗しました。\n\n" + FormatInt(lineNumber_) + " 行目の " +
               FormatInt(column) + " 列目" + std::string(what);
  }
  const std::optional<std::string>& Refusal() const { return refusal_; }

 private:
  double Coordinate(int field) {
    const double v = Number(field);
    if (!record_check::IsSoundCoordinate(v)) {
      Refuse(Column(field),
             "の座標が " + record_check::CoordinateRangeText() + " の範囲を超えています。");
    }
    return v;
  }
  static std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
  }
  const CCsvField& At(int field) const { return fields_.at(static_cast<std::size_t>(field)); }

  int lineNumber_;
  std::vector<CCsvField> fields_;
  std::optional<std::string> refusal_;
};

// The plan as the sections build it, and the range the next range line sets: ranges count per
// section, so a repeated section starts again at range 1.
struct PlanState {
  CRfcCsvPlan plan;
  int nextRange = 0;
};

void StartRanges(PlanState& state) { state.nextRange = 0; }
void ReadRange(PlanState& state, FieldReader& line) {
  const CRfcCsvRange points{line.Point(1), line.Point(3)};
  line.Number(5);
  line.RequireInteger(6);
  if (state.nextRange < kReinfRangeCount) {
    state.plan.ranges[static_cast<std::size_t>(state.nextRange)] = points;
  }
  ++state.nextRange;
}

void StartNothing(PlanState&) {}
void ReadStdBar(PlanState& state, FieldReader& line) {
  CReinfStdBar bar;
  bar.name = line.Text(1);
  bar.kei = line.Text(2);
  bar.w = line.Number(3);
  bar.d = line.Number(4);
  bar.as = line.Number(5);
  bar.drillD = line.Number(6);
  bar.sigmaSaN = line.Number(7);
  bar.sigmaSaQ = line.Number(8);
  state.plan.stdBar = std::move(bar);
}

void ReadCondition(PlanState& state, FieldReader& line) {
  CRfcCsvPlan& plan = state.plan;
  const double value = line.Number(1);
  const std::pair<std::string_view, std::optional<double>*> keys[] = {
      {"τc", &plan.tauC},   {"τcQ", &plan.tauCQ}, {"Fsa", &plan.fsa},
      {"FsaQ", &plan.fsaQ}, {"τp1", &plan.tauP1}, {"τp2", &plan.tauP2}};
  for (const auto& [key, target] : keys) {
    if (line.Text(0) == key) *target = value;
  }
}

void StartBolts(PlanState& state) { state.plan.boltList.emplace(); }
void ReadBolt(PlanState& state, FieldReader& line) {
  CRfcCsvBolt bolt;
  bolt.head = line.Point(1);
  bolt.pitch = line.Number(3);
  bolt.alpha = line.Number(4);
  bolt.length = line.Number(5);
  bolt.extraLength = line.Number(6);
  CRfcCsvBoltList& list = *state.plan.boltList;
  line.AddTo(list.holdingForce, 7);
  line.AddTo(list.tighteningForce, 8);
  list.bolts.push_back(bolt);
}

// One section: its name, the header lines after the name, the fields a data line needs, the first
// and the last field it reads, and what it does at its start and with each data line.
struct Section {
  std::string_view name;
  int headerLines;
  int neededFields;
  int firstRead;
  int lastRead;
  void (*start)(PlanState&);
  void (*read)(PlanState&, FieldReader&);
};

constexpr Section kSections[] = {
    {"補強材の範囲", 2, 7, 1, 6, StartRanges, ReadRange},
    {"補強材情報", 1, 9, 1, 8, StartNothing, ReadStdBar},
    {"補強材条件", 0, 2, 0, 1, StartNothing, ReadCondition},
    {"補強材一覧", 1, 9, 1, 8, StartBolts, ReadBolt},
};

const Section* FindSection(std::string_view line) {
  for (const Section& section : kSections) {
    if (line == section.name) return &section;
  }
  return nullptr;
}

// The file's lines without their line ends.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Refuses an empty piece between the fields the section reads: the fields there must lie in
// consecutive columns.
void RefuseGap(FieldReader& line, const Section& section) {
  for (int f = section.firstRead; f < section.lastRead; ++f) {
    if (line.Column(f + 1) != line.Column(f) + 1) {
      line.Refuse(line.Column(f) + 1, "が空欄です。");
      return;
    }
  }
}

// Reads the section whose name is on line `at` into the state. Returns the index of the line after
// the section, or the refusal of one of its lines.
struct SectionEnd {
  std::size_t next;
  std::optional<std::string> refusal;
};
SectionEnd ReadSection(const Section& section, const std::vector<std::string_view>& lines,
                       std::size_t at, PlanState& state) {
  section.start(state);
  std::size_t i = at + 1 + static_cast<std::size_t>(section.headerLines);
  for (; i < lines.size(); ++i) {
    FieldReader line(static_cast<int>(i) + 1, SplitCsvFields(lines[i]));
    if (line.Count() == 0) return {i + 1, std::nullopt};
    if (line.Count() < section.neededFields) continue;
    RefuseGap(line, section);
    if (!line.Refusal()) section.read(state, line);
    if (line.Refusal()) return {i, line.Refusal()};
  }
  return {i, std::nullopt};
}

}  // namespace

std::vector<CCsvField> SplitCsvFields(std::string_view line, char separator) {
  std::vector<CCsvField> fields;
  int column = 1;
  for (;;) {
    const std::size_t end = line.find(separator);
    const std::string_view piece = line.substr(0, end);
    if (!piece.empty()) fields.push_back({std::string(piece), column});
    if (end == std::string_view::npos) break;
    line.remove_prefix(end + 1);
    ++column;
  }
  return fields;
}

CRfcCsvRead ParseRfcCsv(std::string_view cp932) {
  const std::string text = Cp932ToUtf8(cp932);
  const std::vector<std::string_view> lines = Lines(text);
  if (lines.empty() || lines.front() != kFirstLine) {
    return {std::nullopt, std::string(kRfcCsvBadFormat)};
  }
  PlanState state;
  for (std::size_t i = 1; i < lines.size();) {
    const Section* section = FindSection(lines[i]);
    if (section == nullptr) {
      ++i;
      continue;
    }
    SectionEnd end = ReadSection(*section, lines, i, state);
    if (end.refusal) return {std::nullopt, std::move(*end.refusal)};
    i = end.next;
  }
  return {std::move(state.plan), {}};
}

CRfcCsvRead ReadRfcCsvFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (!in || error) return {std::nullopt, std::string(kRfcCsvCannotOpen)};
  if (size > kMaxFileBytes) return {std::nullopt, std::string(kRfcCsvBadFormat)};
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return {std::nullopt, std::string(kRfcCsvCannotOpen)};
  return ParseRfcCsv(bytes);
}

void ApplyRfcCsvPlan(const CRfcCsvPlan& plan, bool rightUpper, CPrmReinf& reinf, CPrmSlide& slide,
                     CReinfArrange& arrange) {
  for (std::size_t k = 0; k < plan.ranges.size(); ++k) {
    if (!plan.ranges[k]) continue;
    CReinfRange& range = reinf.ranges[k];
    range.start.x = plan.ranges[k]->start.x;
    range.start.y = plan.ranges[k]->start.y;
    range.end.x = plan.ranges[k]->end.x;
    range.end.y = plan.ranges[k]->end.y;
    // The upper end first, as every load and copy of the ranges puts it.
    range.Normalize();
  }
  if (plan.stdBar) {
    std::string remark = std::move(reinf.stdBar.remark);
    reinf.stdBar = *plan.stdBar;
    reinf.stdBar.remark = std::move(remark);
  }
  const std::pair<const std::optional<double>*, double*> conditions[] = {
      {&plan.tauC, &reinf.tauC}, {&plan.tauCQ, &reinf.tauCQ}, {&plan.fsa, &reinf.fsa},
      {&plan.fsaQ, &reinf.fsaQ}, {&plan.tauP1, &reinf.tauP1}, {&plan.tauP2, &reinf.tauP2}};
  for (const auto& [value, target] : conditions) {
    if (*value) *target = **value;
  }
  if (plan.boltList) {
    const int side = rightUpper ? CReinforce::kSidePlusX : CReinforce::kSideMinusX;
    arrange.RemoveAll();
    for (const CRfcCsvBolt& bolt : plan.boltList->bolts) {
      auto bar = std::make_unique<CReinforce>();
      // Standard bar 0 is the case's chosen bar, the one the file's bar section describes.
      bar->SetParam(side, 0, bolt.head, bolt.pitch, bolt.alpha, bolt.length, bolt.extraLength);
      arrange.Add(std::move(bar));
    }
    arrange.Normalize(side);
    slide.deltaCMode = CPrmSlide::kDeltaCDerived;
    slide.s2 = plan.boltList->holdingForce;
    slide.s3 = plan.boltList->tighteningForce;
  }
}
