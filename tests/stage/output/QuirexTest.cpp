// The object layer over the spreadsheet-writer library, on a table of exports that records its
// calls: what Create binds and registers, the handle's life, properties without an export, and
// the value assignment's choice between the long and the double putter.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "stage/output/Quirex.h"
#include "tests/stage/output/RecordingQuirex.h"

namespace {

using Calls = std::vector<std::string>;

class QuirexTest : public testing::Test {
 protected:
  QuirexTest() { ResetRecordingQuirex(); }
  const QuirexExports table_ = RecordingQuirex();
};

TEST_F(QuirexTest, PropertiesDoNothingBeforeCreate) {
  CQuirex report(table_);
  report.Cell.Value.Assign(2.0);
  report.Cell.Value.PutStringW(u"x");
  EXPECT_EQ(report.Cell.Attr.Fit.Put(1), 0);
  report.Cell.Attr.BackColor.Put(0xccff);
  report.Option.ExcelMode.Put(1);
  EXPECT_EQ(report.Cell.Attr.Box(0x1000000, 1, 0x80000008), 0);
  EXPECT_EQ(RecordedQuirexCalls(), Calls{});
}

TEST_F(QuirexTest, CreateBindsEveryObjectToTheNewHandleAndRegistersTheCallbacks) {
  CQuirex report(table_);
  EXPECT_EQ(report.Create(), 1);
  EXPECT_EQ(report.Handle(), 1);
  report.Option.ExcelMode.Put(1);
  report.Cell.Attr.Fit.Put(1);
  report.Cell.Value.Assign(2.0);
  EXPECT_EQ(RecordedQuirexCalls(), (Calls{"Create 1", "SetOnErrorProc 1", "SetOnProgressProc 1",
                                          "ExcelMode 1", "Fit 1", "Long 2"}));
}

// Create twice holds exactly one handle, the second; the destructor releases it.
TEST_F(QuirexTest, CreateTwiceReleasesTheFirstHandle) {
  {
    CQuirex report(table_);
    report.Create();
    report.Create();
    EXPECT_EQ(report.Handle(), 2);
  }
  EXPECT_EQ(RecordedQuirexCalls(),
            (Calls{"Create 1", "SetOnErrorProc 1", "SetOnProgressProc 1", "Release 1", "Create 2",
                   "SetOnErrorProc 2", "SetOnProgressProc 2", "Release 2"}));
}

// An object never created, or whose handle was released, calls no release when destroyed.
TEST_F(QuirexTest, NoReleaseWithoutAHandle) {
  { const CQuirex never(table_); }
  {
    CQuirex released(table_);
    released.Create();
    released.Release();
    EXPECT_EQ(released.Handle(), 0);
  }
  EXPECT_EQ(RecordedQuirexCalls(),
            (Calls{"Create 1", "SetOnErrorProc 1", "SetOnProgressProc 1", "Release 1"}));
}

// The properties of the library's areas that the system never calls have no export: their
// calls are skipped, as are those of an export a table lacks.
TEST_F(QuirexTest, PropertiesWithoutAnExportAreSkipped) {
  QuirexExports withoutLong = table_;
  withoutLong.putValueLong = nullptr;
  CQuirex report(withoutLong);
  report.Create();
  ResetRecordingQuirex();
  EXPECT_EQ(report.Option.DoubleMode.Put(1), 0);
  EXPECT_EQ(report.Cell.Attr.FontPoint.Put(10.5), 0);
  EXPECT_EQ(report.Printer.Copies.Put(2), 0);
  EXPECT_EQ(report.Cell.Drawing.LineColor.Put(0xff), 0);
  EXPECT_EQ(report.Page.Attr.Center.Put(1), 0);
  report.Cell.Value.PutString("narrow");
  report.Cell.Value.Assign(2.0);  // a long, whose putter the table lacks
  int isPrint = 7;
  report.Out.IsPrint.Get(&isPrint);
  EXPECT_EQ(isPrint, 7);
  EXPECT_EQ(RecordedQuirexCalls(), Calls{});
}

// A number an int holds exactly goes as a long; everything else, also where converting it to an
// int first would be undefined, as a double.
TEST_F(QuirexTest, ValueAssignmentChoosesTheLongOrTheDoublePutter) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    const char* call;
  } cases[] = {
      {2.0, "Long 2"},
      {-0.0, "Long 0"},
      {-12.0, "Long -12"},
      {2147483647.0, "Long 2147483647"},
      {-2147483648.0, "Long -2147483648"},
      {2.5, "Double 2.5"},
      {-0.5, "Double -0.5"},
      {2147483648.0, "Double 2147483648"},
      {-2147483649.0, "Double -2147483649"},
      {3e9, "Double 3000000000"},
      {-9e32, "Double -9.0000000000000007e+32"},
      {inf, "Double inf"},
      {-inf, "Double -inf"},
      {std::nan(""), "Double nan"},
  };
  CQuirex report(table_);
  report.Create();
  for (const auto& c : cases) {
    ResetRecordingQuirex();
    report.Cell.Value.Assign(c.value);
    EXPECT_EQ(RecordedQuirexCalls(), Calls{c.call}) << c.value;
  }
}

}  // namespace
