#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/circle/CircleRecordVersion.h"
#include "core/circle/RepKey.h"
#include "core/circle/RepPoint.h"
#include "core/geometry/DArc.h"
#include "core/section/SpSlideWork.h"
#include "platform/Archive.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/RecordContract.h"

namespace {

using Q = CRepPoint::Quantity;

std::unique_ptr<CSpSlideWork> Surface(double shift) {
  auto work = std::make_unique<CSpSlideWork>();
  work->AddNewPoint(CDPoint(shift, 10),
                    std::make_unique<CDArc>(shift + 5, 15, 7.0710678, 225, 315, true), 2);
  work->AddNewPoint(CDPoint(shift + 10, 10), nullptr, 2);
  return work;
}

std::unique_ptr<CRepPoint> Child(double fs, double pr, double shift = 0) {
  auto child = std::make_unique<CRepPoint>();
  child->SetCenter(CDPoint(5, 15));
  child->SetRadius(7);
  child->SetDepth(4);
  for (const int c : {0, 1}) {
    child->SetStab(Q::kFs, c, fs);
    child->SetStab(Q::kFsAfter, c, fs + 0.5);
    child->SetStab(Q::kPr, c, pr);
    child->SetStab(Q::kT, c, 100 + pr);
    child->SetStab(Q::kS, c, 50);
  }
  child->SetSlideWork(Surface(shift));
  return child;
}

TEST(RepPointTest, ANodeWithoutChildrenIsCleared) {
  CRepPoint node;
  node.SetStab(Q::kFs, 0, 1.2);
  const CRepKey key;
  node.SetTypicalPoint(key);
  EXPECT_EQ(node.GetStab(Q::kFs, 0), kNoValue);
  EXPECT_EQ(node.GetFsMin(key), kNoValue);
  EXPECT_EQ(node.GetContourStr(key), "");
}

// Nodes that share one list of children, as a search fills them: a node that gains a child
// later, a node that is cleared and a node with children of its own beforehand each keep their
// own children in order and leave the others' as they were.
TEST(RepPointTest, NodesSharingAListOfChildrenKeepTheirOwn) {
  auto shared = std::make_shared<CRepChildren::List>();
  std::array<CRepPoint, 3> nodes;
  std::vector<std::shared_ptr<CRepPoint>> found;
  const auto fsOf = [](const CRepPoint& node) {
    std::vector<double> fs;
    for (int i = 0; i < node.GetChildSize(); ++i) fs.push_back(node.GetChild(i).GetStab(Q::kFs, 0));
    return fs;
  };
  nodes[2].AddChild(Child(2.0, 10));
  for (std::size_t n = 0; n < nodes.size(); ++n) {
    found.push_back(Child(1.0 + 0.1 * static_cast<double>(n), 10));
    found.push_back(Child(1.05 + 0.1 * static_cast<double>(n), 10));
    nodes[n].AddChildren(shared, found);
    EXPECT_TRUE(found.empty());
  }
  EXPECT_EQ(shared->size(), 4U);
  nodes[0].AddChild(Child(1.5, 10));
  nodes[1].RemoveAll();
  EXPECT_EQ(fsOf(nodes[0]), (std::vector<double>{1.0, 1.05, 1.5}));
  EXPECT_EQ(fsOf(nodes[1]), std::vector<double>{});
  EXPECT_EQ(fsOf(nodes[2]), (std::vector<double>{2.0, 1.2, 1.25}));
  EXPECT_THROW(nodes[1].GetChild(0), std::out_of_range);
  EXPECT_THROW(nodes[0].GetChild(3), std::out_of_range);
}

TEST(RepPointTest, TheRepresentativeIsTheFirstBestChild) {
  CRepPoint node;
  node.AddChild(Child(1.3, 10));
  node.AddChild(Child(1.1, 30, 1));
  node.AddChild(Child(1.1, 30, 2));
  CRepKey key;
  node.SetTypicalPoint(key);
  EXPECT_EQ(node.GetSlideWork(), node.GetChild(1).GetSlideWork());
  EXPECT_EQ(node.GetContourStr(key), "1.100");
  key.Data().contourKind = 1;
  node.SetTypicalPoint(key);
  EXPECT_EQ(node.GetSlideWork(), node.GetChild(1).GetSlideWork());
  EXPECT_EQ(node.GetContourStr(key), "30.0");
  key.Data().contourKind = 0;
  key.Data().fsType = 11;
  EXPECT_NEAR(node.GetContourValue(key), 1.6, 1e-12);
  int fs = 0, fsSeis = 0, pr = 0, prSeis = 0;
  node.GetShowResFsPrID(key, fs, fsSeis, pr, prSeis);
  EXPECT_EQ(fs, 1);
  EXPECT_EQ(pr, 1);
  EXPECT_EQ(fsSeis, -1);
  key.Data().seismicGroup = 1;
  node.GetShowResFsPrID(key, fs, fsSeis, pr, prSeis);
  EXPECT_EQ(fsSeis, 1);
  EXPECT_EQ(prSeis, 1);
  EXPECT_NEAR(node.GetFsMin(key), 1.1, 1e-12);
}

TEST(RepPointTest, ValidityUnderTheFilters) {
  CRepKey key;
  key.Data().normalGroup = 1;
  key.Data().prOn = 1;
  struct Case {
    double pr;
    int mark;
    bool valid;
  };
  for (const Case& c : {Case{200 + 1e-9, 0, true}, Case{200, 0, false}, Case{10, 1, true}}) {
    SCOPED_TRACE(c.pr);
    auto point = Child(1.2, c.pr);
    point->SetMark(1, c.mark);
    EXPECT_EQ(point->IsValid(key), c.valid);
  }
  key.Data().prOn = 0;
  key.Data().depthOn = 1;
  EXPECT_TRUE(Child(1.2, 0)->IsValid(key));  // depth 4 beyond 3
  key.Data().depthLimit = 4;
  EXPECT_FALSE(Child(1.2, 0)->IsValid(key));
  // The plain key judges Pr; the key after the work judges the Fs after the work instead.
  CRepKeyHokyo hokyo;
  hokyo.Data().normalGroup = 1;
  hokyo.Data().prOn = 1;
  hokyo.Hokyo().fsOn = 1;
  hokyo.Hokyo().fsLimit = 1.8;
  EXPECT_TRUE(Child(1.2, 0)->IsValid(hokyo));
  EXPECT_FALSE(Child(1.2, 0)->IsValid(static_cast<const CRepKey&>(hokyo)));
  hokyo.Hokyo().fsLimit = 1.7;
  EXPECT_FALSE(Child(1.2, 0)->IsValid(hokyo));
}

TEST(RepPointTest, ValuesTwentyToTwentyTwoAreNeitherCopiedNorStored) {
  CRepPoint source;
  for (int n = 8; n <= 22; ++n) source.SetValue(n, n);
  CRepPoint copy;
  copy.CopyValue(source);
  EXPECT_EQ(copy.GetValue(19), 19);
  EXPECT_EQ(copy.GetValue(20), kNoValue);
  Archive out;
  source.Store(out, kCircleRecordVersion);
  Archive in(out.Bytes());
  CRepPoint loaded;
  loaded.Load(in, kCircleRecordVersion);
  EXPECT_EQ(loaded.GetValue(19), 19);
  EXPECT_EQ(loaded.GetValue(22), kNoValue);
  EXPECT_EQ(loaded.GetKeyValue(21), 10);
}

// A node refers to its representative child's surface; neither deleting the children nor the
// node they came from leaves a copy pointing into freed memory.
TEST(RepPointTest, TheSurfaceOutlivesItsSource) {
  auto source = std::make_unique<CRepPoint>();
  source->AddChild(Child(1.3, 10));
  source->AddChild(Child(1.1, 30, 3));
  source->SetTypicalPoint(CRepKey());
  CRepPoint copy;
  copy.CopyData(*source);
  const CSpSlideWork* shared = source->GetSlideWork().get();
  source->RemoveAll();
  EXPECT_EQ(source->GetSlideWork().get(), shared);
  EXPECT_DOUBLE_EQ(source->GetSlideWork()->GetAt(0)->x, 3);
  source.reset();
  ASSERT_NE(copy.GetSlideWork(), nullptr);
  EXPECT_DOUBLE_EQ(copy.GetSlideWork()->GetAt(0)->x, 3);
  copy.SetTypicalPoint(CRepKey());
  EXPECT_EQ(copy.GetSlideWork(), copy.GetChild(1).GetSlideWork());
}

// ---- Records ----

void PutValues(RecordBytes& b, const CRepPoint& p) {
  b.Double(p.GetCenter().x).Double(p.GetCenter().y).Double(p.GetRadius()).Double(p.GetDepth());
  for (const int c : {0, 1}) {
    for (const Q q : {Q::kS, Q::kT, Q::kFs, Q::kFsAfter, Q::kPr, Q::kSixth}) {
      b.Double(p.GetStab(q, c));
    }
  }
  for (int n = 8; n <= 19; ++n) b.Double(p.GetValue(n));
}

// A node whose one child has no slip surface stores the child and no surface of its own.
TEST(RepPointRecordTest, NodeWithAChild) {
  CRepPoint node;
  node.SetId(3);
  node.SetMark(1, 1);
  node.SetCenter(CDPoint(1, 2));
  node.SetRadius(5);
  auto child = std::make_unique<CRepPoint>();
  child->SetStab(Q::kFs, 0, 1.25);
  child->SetValue(12, 0.5);
  const CRepPoint& c = *child;
  node.AddChild(std::move(child));
  RecordBytes b;
  b.Int(3).Int(0).Int(1);
  PutValues(b, node);
  b.Int(1);
  b.Int(-1).Int(0).Int(0);
  PutValues(b, c);
  b.Int(0).Int(0);  // no children, no surface
  ExpectRecordContract<CRepPoint>({
      .stored = node,
      .version = kCircleRecordVersion,
      .bytes = b.Get(),
  });
}

// Before version 13 one mark stands for both.
TEST(RepPointRecordTest, OneMarkBeforeVersionThirteen) {
  CRepPoint leaf;
  leaf.SetMark(0, 1);
  leaf.SetMark(1, 1);
  RecordBytes b;
  b.Int(-1).Int(1);
  PutValues(b, leaf);
  b.Int(0).Int(0);
  ExpectRecordContract<CRepPoint>({.stored = leaf, .version = 12, .bytes = b.Get()});
}

TEST(RepPointRecordTest, ASurfaceLoadsWhole) {
  CRepPoint leaf;
  leaf.SetSlideWork(Surface(2));
  Archive out;
  leaf.Store(out, kCircleRecordVersion);
  Archive in(out.Bytes());
  CRepPoint loaded;
  loaded.Load(in, kCircleRecordVersion);
  EXPECT_EQ(in.Remaining(), 0u);
  ASSERT_NE(loaded.GetSlideWork(), nullptr);
  EXPECT_EQ(loaded.GetSlideWork()->GetSize(), 2);
  EXPECT_NE(loaded.GetSlideWork()->GetFirstArc(), nullptr);
}

TEST(RepPointRecordTest, DamagedCountsAreRefused) {
  for (const int count : {-1, 1000000}) {
    RecordBytes b;
    b.Int(-1).Int(0).Int(0);
    PutValues(b, CRepPoint());
    b.Int(count);
    Archive in(b.Get());
    CRepPoint target;
    target.SetId(7);
    EXPECT_THROW(target.Load(in, kCircleRecordVersion), ArchiveException);
    EXPECT_EQ(target.GetId(), 7);
  }
}

}  // namespace
