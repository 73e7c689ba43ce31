// Writes the seed corpora of the fuzz targets, each seed stored by the project's own Store:
// brixo_fuzz_seeds DIR makes a folder in DIR for each target, named after it. The damaged records
// kept as test fixtures are seeds too, since they reach deep into the readers.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/base/UnitFilter.h"
#include "core/case/ManageCore.h"
#include "core/geometry/DLine.h"
#include "core/model/RefGeology.h"
#include "core/model/ZCmnStructure.h"
#include "core/section/SkinFriction.h"
#include "core/section/SpCrack.h"
#include "core/section/SpSlide.h"
#include "core/section/StratumProp.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Text.h"
#include "tests/support/SampleDocument.h"

namespace {

namespace fs = std::filesystem;
using fuzz::Bytes;

constexpr int kVersion = 20;

class Corpus {
 public:
  Corpus(const fs::path& root, const char* target) : folder_(root / target) {
    fs::create_directories(folder_);
  }

  // A seed: the selector byte when the target has one, the version byte, then the record.
  void Add(const std::vector<int>& header, const Bytes& record) {
    Bytes seed;
    for (const int byte : header) seed.push_back(static_cast<std::uint8_t>(byte));
    seed.insert(seed.end(), record.begin(), record.end());
    std::ofstream out(folder_ / ("seed-" + std::to_string(count_++)), std::ios::binary);
    out.write(reinterpret_cast<const char*>(seed.data()),
              static_cast<std::streamsize>(seed.size()));
  }

 private:
  fs::path folder_;
  int count_ = 0;
};

int ShapeSelector(int kind) {
  for (int i = 0; i < static_cast<int>(std::size(fuzz::kShapeKinds)); ++i) {
    if (fuzz::kShapeKinds[i] == kind) return i;
  }
  return 0;
}

void WriteShapeSeeds(Corpus& corpus) {
  for (const int kind : fuzz::kShapeKinds) {
    const auto shape = fuzz::SoundShape(kind);
    corpus.Add({ShapeSelector(kind), kVersion}, fuzz::Stored(*shape, kVersion));
  }
  // The crack's record before it carried soil values.
  const int older = CSpCrack::kSoilValuesVersion - 1;
  corpus.Add({ShapeSelector(kKindCrack), older},
             fuzz::Stored(*fuzz::SoundShape(kKindCrack), older));
}

void WriteShapeListSeeds(Corpus& corpus) {
  corpus.Add({kVersion}, fuzz::Stored(*fuzz::SoundShapeList(), kVersion));
  CDPolyArray everyKind;
  for (const int kind : fuzz::kShapeKinds) everyKind.Add(fuzz::SoundShape(kind));
  corpus.Add({kVersion}, fuzz::Stored(everyKind, kVersion));
}

template <class T>
Bytes StoredRecord(const T& value) {
  Archive ar;
  if constexpr (requires { value.Store(ar, kVersion); }) {
    value.Store(ar, kVersion);
  } else {
    value.Store(ar);
  }
  return ar.Bytes();
}

// In the order of the record target's readers.
void WriteRecordSeeds(Corpus& corpus) {
  CStratumProp prop;
  prop.SetName("砂");
  prop.GetSaturate().gammaT = 18;
  prop.GetSaturate().phi = 30;
  CDLineArray lines;
  lines.AddLine(0, 0, 10, 5);
  lines.AddLine(10, 5, 20, 5);
  Archive settings;
  CSpSlide::SerializeStaticMember(settings);
  const Bytes records[] = {
      StoredRecord(CUnitFilter()),
      StoredRecord(prop),
      StoredRecord(CSkinFriction()),
      StoredRecord(CCFai()),
      StoredRecord(CDPoint(1, 2)),
      StoredRecord(CDLine(CDPoint(0, 0), CDPoint(10, 5))),
      StoredRecord(lines),
      StoredRecord(CDLineVector(CDPoint(0, 0), CDPoint(10, 5))),
      settings.Bytes(),
  };
  for (int i = 0; i < static_cast<int>(std::size(records)); ++i)
    corpus.Add({i, kVersion}, records[i]);
}

// The damaged records kept as fixtures: byte 0 the version, then the record. Settings and terrain
// fixtures are whole files.
void WriteFixtureSeeds(Corpus& shapes, Corpus& lists, Corpus& settings, Corpus& terrain) {
  for (const auto& entry : fs::directory_iterator(BRIXO_TEST_DATA)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const Bytes bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.empty()) continue;
    const std::string name = entry.path().filename().string();
    if (name.starts_with("settings")) {  // a whole settings document, read as a soil file
      settings.Add({0}, bytes);
      continue;
    }
    if (name.starts_with("terrain")) {
      terrain.Add({}, bytes);
      continue;
    }
    const Bytes record(bytes.begin() + 1, bytes.end());
    const auto seed = [&](int kind) { shapes.Add({ShapeSelector(kind), bytes.front()}, record); };
    if (name.starts_with("shape-list")) {
      lists.Add({bytes.front()}, record);
    } else if (name.starts_with("ground")) {
      seed(kKindGround);
    } else if (name.starts_with("slide-surface")) {
      seed(kKindSlideWork);
    } else if (name.starts_with("slide-line")) {
      seed(kKindSlide);
    } else if (name.starts_with("stratum-line")) {
      seed(kKindStratumLine);
    }
  }
}

// A sound soil file as our own writer writes it, read as a soil file and as a configuration file.
void WriteSettingSeeds(const fs::path& root, Corpus& settings) {
  const fs::path file = root / "DefGeology.sxg";
  if (!CRefGeology().WriteGeology(file.string(), false)) return;
  std::ifstream in(file, std::ios::binary);
  const Bytes bytes{std::istreambuf_iterator<char>(in), {}};
  settings.Add({0}, bytes);
  settings.Add({1}, bytes);
  fs::remove(file);
}

// A file of every feature kind with every value set, as our own writer writes it.
void WriteTerrainSeeds(Corpus& terrain) {
  CZCmnStructure data;
  CZCmnJobSite site;
  site.SetSiteName("現場");
  site.SetSiteArea(0, 50, -10, 30);
  site.SetSiteGrid(1, 1, 0.5, 0.5);
  site.SetSiteAutoGrid(1, 2);
  data.SetSite(site);
  CZCmnShape shape;
  const auto withShapes = [&](CZCmnFeature& feature) {
    for (int i = 0; i < 3; ++i) {
      shape.SetVertexXY(i * 10.0, 20.0 - i);
      shape.SetType(i % 2, 0);
      shape.SetArc(5, 30, 12.5, 0.25, 1.5);
      feature.AddNewShape(shape);
    }
    data.AddNewFeature(feature);
  };
  CZCmnFeature feature;
  feature.SetGround("地表面", 0);
  withShapes(feature);
  feature.Init();
  feature.SetStratumPolygon("砂", "砂質土", 0, 0x80FF80);
  feature.SetStratumProp(18, 19, 10, 30, 12, 0.5, true);
  withShapes(feature);
  feature.Init();
  feature.SetWater("水位線", 0xFF0000, 9.81);
  withShapes(feature);
  feature.Init();
  feature.SetLoad("分布荷重", 0);
  feature.SetLoadDist(1, 2, 10, 20);
  withShapes(feature);
  feature.Init();
  feature.SetLoad("集中荷重", 0);
  feature.SetLoadConcent(3, 15, 45);
  withShapes(feature);
  feature.Init();
  feature.SetCartoon("円", 0);
  feature.SetCartoonCircle(1, 2, 3);
  withShapes(feature);
  data.MakeVertex();
  CZCmnCondition cond;
  cond.SetQuake(1);
  cond.SetFsp(1.2);
  cond.SetFspQ(1.0);
  cond.SetKh(0.15);
  data.SetCond(cond);
  const std::string bytes = data.ToXmlBytes();
  terrain.Add({}, Bytes(bytes.begin(), bytes.end()));
}

// The sample document with its three filled cases, stored at the newest version and at the
// versions that change the case slot or the document body.
void WriteDocumentSeeds(Corpus& documents) {
  CManageCore core;
  FillSampleDocument(core);
  for (const int version : {10, 8, 7, 6, 3, 2}) {
    Archive ar;
    core.StoreCore(ar, version);
    documents.Add({version}, ar.Bytes());
  }
}

// Sound reinforcement CSV files in CP932, every section once, and one with the commas before and
// after the fields read that the reader ignores.
void WriteRfcCsvSeeds(Corpus& csv) {
  const char* const files[] = {
      "QX工法結果\r\n"
      "補強材の範囲\r\nNo,始点,,終点\r\n,X,Y,X,Y,長さ,本数\r\n"
      "範囲1,10,20,30,25,12.5,3\r\n範囲2,30,25,40,32,8.1,2\r\n\r\n"
      "補強材情報\r\n材質,呼び径,w,d,As,D,σsa,σsaQ\r\n"
      "1,ネジ節棒鋼,D25,3.98,25.4,5.067,90,300,450\r\n\r\n"
      "補強材条件\r\nτc,1.1\r\nτcQ,1.2\r\nFsa,2.5\r\nFsaQ,1.5\r\nσck,24\r\nτp1,0.7\r\n"
      "τp2,0.9\r\n\r\n"
      "補強材一覧\r\nNo,X,Y,SH,α,L,余長,S2,S3\r\n"
      "1,12,21,2,30,5,0.5,10,1\r\n2,14,22,2,30,6,0.5,-9e32,2\r\n\r\n",
      "QX工法結果\n"
      "補強材一覧\nh\n,,1,12,21,2,30,5,0.5,10,1,,メモ,\n"
      "補強材条件\n,τc,0.5,,\n",
  };
  for (const char* file : files) {
    const std::string bytes = Utf8ToCp932(file);
    csv.Add({}, Bytes(bytes.begin(), bytes.end()));
  }
}

// The DXF fixtures, written by ezdxf and by hand.
void WriteDxfSeeds(Corpus& dxf) {
  for (const auto& entry : fs::directory_iterator(fs::path(BRIXO_TEST_DATA) / "cad")) {
    if (entry.path().extension() != ".dxf") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    dxf.Add({}, Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  Corpus shapes(root, "ShapeFuzzer");
  Corpus lists(root, "ShapeListFuzzer");
  Corpus records(root, "RecordFuzzer");
  Corpus settings(root, "SettingXmlFuzzer");
  Corpus csv(root, "RfcCsvFuzzer");
  Corpus terrain(root, "TerrainXmlFuzzer");
  Corpus documents(root, "DocumentFuzzer");
  Corpus dxf(root, "DxfReaderFuzzer");
  WriteShapeSeeds(shapes);
  WriteShapeListSeeds(lists);
  WriteRecordSeeds(records);
  WriteFixtureSeeds(shapes, lists, settings, terrain);
  WriteTerrainSeeds(terrain);
  WriteSettingSeeds(root, settings);
  WriteRfcCsvSeeds(csv);
  WriteDocumentSeeds(documents);
  WriteDxfSeeds(dxf);
  return 0;
}
