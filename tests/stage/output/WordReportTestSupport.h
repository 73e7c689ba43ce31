#pragma once
// What the Word report tests share: a template filler that records the calls a report makes, and
// a report writer on the sample case with the scripted answers of one run.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/base/CoreConfig.h"
#include "core/case/Case.h"
#include "core/case/ManageCore.h"
#include "platform/ProgramDir.h"
#include "platform/word/WordTemplate.h"
#include "stage/output/StagePrintWord.h"
#include "tests/support/SampleDocument.h"
#include "tests/support/ScriptedUi.h"

// The command's standard output; a command that fails fails the test.
inline std::string Shell(const std::string& command) {
  std::string text;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return text;
  }
  char buffer[4096];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  EXPECT_EQ(::pclose(pipe), 0) << command;
  return text;
}

inline std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// What python-docx reads of a document (tests/stage/output/read_docx.py).
inline QJsonObject ReadDocx(const std::filesystem::path& file) {
  const std::string json = Shell(std::string(BRIXO_SYSTEM_PYTHON3) +
                                 " " BRIXO_TESTS_DIR "/stage/output/read_docx.py " + Quoted(file));
  return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
}

// One call of a report to its template filler.
struct WordCall {
  std::string op;  // "open", "setup", "orient", "field", "picture", "block", "save", "quit"
  std::string key;
  std::string value;
};

// Records every call; opens and saves as told.
class RecordingTemplate final : public WordTemplate {
 public:
  RecordingTemplate(std::vector<WordCall>& calls, bool opens = true)
      : calls_(calls), opens_(opens) {}

  bool Open(const std::filesystem::path& file) override {
    calls_.push_back({"open", file.filename().string(), {}});
    return opens_;
  }
  void PageSetup(int orientation, const Margins& margins) override {
    std::string text = std::to_string(orientation);
    for (int m : margins) text += "," + std::to_string(m);
    calls_.push_back({"setup", {}, text});
  }
  void SetOrientation(int orientation) override {
    calls_.push_back({"orient", {}, std::to_string(orientation)});
  }
  void SetField(std::string_view key, std::string_view value) override {
    calls_.push_back({"field", std::string(key), std::string(value)});
  }
  void InsertPicture(std::string_view key, std::vector<std::uint8_t> png, int width,
                     int height) override {
    calls_.push_back(
        {"picture", std::string(key),
         std::to_string(width) + "x" + std::to_string(height) + (png.empty() ? " empty" : "")});
  }
  void AddBlock(std::string_view key) override {
    calls_.push_back({"block", std::string(key), {}});
  }
  bool SaveAs(const std::filesystem::path& file) override {
    calls_.push_back({"save", file.string(), {}});
    return true;
  }
  void Quit() override { calls_.push_back({"quit", {}, {}}); }
  const std::vector<std::string>& MissingKeys() const override { return missing_; }

 private:
  std::vector<WordCall>& calls_;
  bool opens_;
  std::vector<std::string> missing_;
};

class WordReportTest : public ::testing::Test {
 protected:
  WordReportTest() {
    core_.InitCore(0);
    FillSampleCase(Case(), 0);
    Case().SetModify(false);
    CCoreConfig::SetStageNo(1);
    writer_.SetCase(&Case());
    writer_.SetPrnInfo(&core_.GetPrnInfo());
    writer_.SetViewInf(&Case().GetViewInfo());
    writer_.SetPath(BRIXO_PRN_FILES);
    core_.GetPrnInfo().SetPrnStage(1);
  }

  CCase& Case() { return *core_.GetActiveCase(); }
  CPrnInfo& Prn() { return core_.GetPrnInfo(); }

  // The writer records into calls_ instead of writing a document.
  void Record() {
    writer_.SetTemplateFactory([this] { return std::make_unique<RecordingTemplate>(calls_); });
  }
  // One run of the stage's report answered with the file and No to the offer to open it; the
  // figures are those of the stage, as the main window sets them.
  int Run(int stage, int sub, const std::filesystem::path& file) {
    Prn().SetPrnStage(stage);
    TestUi().ExpectFileDialog(file);
    TestUi().ExpectMessageBox(MsgResult::No, "Word 出力が完了しました。\nファイルを開きますか？");
    return writer_.WordStart(stage, sub, 0);
  }
  int RunMulti(const std::filesystem::path& file) { return Run(1, 0, file); }
  std::filesystem::path Output(const std::string& name) const { return DataDir() / name; }

  std::vector<std::string> Blocks() const {
    std::vector<std::string> blocks;
    for (const WordCall& call : calls_) {
      if (call.op == "block") blocks.push_back(call.key);
    }
    return blocks;
  }
  int CountBlocks(const std::string& key) const {
    const std::vector<std::string> blocks = Blocks();
    return static_cast<int>(std::count(blocks.begin(), blocks.end(), key));
  }
  // The values of the field set before each appending of the block, in order.
  std::vector<std::string> FieldBefore(const std::string& block, const std::string& field) const {
    std::vector<std::string> values;
    std::string pending;
    bool set = false;
    for (const WordCall& call : calls_) {
      if (call.op == "field" && call.key == field) {
        pending = call.value;
        set = true;
      } else if (call.op == "block") {
        if (call.key == block) values.push_back(set ? pending : "<unset>");
        set = false;
      }
    }
    return values;
  }

  CManageCore core_;
  CStagePrintWord writer_;
  std::vector<WordCall> calls_;
};
