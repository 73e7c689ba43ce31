// The movie recorder and its AVI file: the bytes of a small movie spelled out by hand, the
// recorder's limits (frame count, frame size, closing), and the movie as Debian's ffmpeg reads it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MakeAvi.h"
#include "platform/ProgramDir.h"
#include "tests/support/RecordBytes.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

// An image whose every pixel has its own colour, different in every frame.
CanvasImage Frame(int width, int height, int frame) {
  CanvasImage image(DevSize{width, height});
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.SetPixelColor({x, y}, Color::Rgb(10 * x + frame, 20 * y + frame, 100 + 50 * frame));
    }
  }
  return image;
}

class FixedWindow : public PlatformWindow {
 public:
  explicit FixedWindow(CanvasImage image) : image_(std::move(image)) {}
  CanvasImage GrabClientArea() const override { return image_; }

 private:
  CanvasImage image_;
};

RecordBytes& FourCc(RecordBytes& bytes, std::string_view code) {
  for (const char c : code) bytes.UInt8(static_cast<std::uint8_t>(c));
  return bytes;
}

// The frame as a 24-bit DIB: rows bottom-up, blue, green, red, each row padded to 4 bytes.
void AppendDib(RecordBytes& bytes, const CanvasImage& image) {
  const int rowBytes = (image.Width() * 3 + 3) / 4 * 4;
  for (int y = image.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.Width(); ++x) {
      const Color c = image.PixelColor({x, y});
      bytes.UInt8(static_cast<std::uint8_t>(c.Blue()))
          .UInt8(static_cast<std::uint8_t>(c.Green()))
          .UInt8(static_cast<std::uint8_t>(c.Red()));
    }
    for (int pad = image.Width() * 3; pad < rowBytes; ++pad) bytes.UInt8(0);
  }
}

std::vector<std::uint8_t> FileBytes(const fs::path& file) {
  const std::string bytes = ReadFileBytes(file);
  return {bytes.begin(), bytes.end()};
}

TEST(MakeAviTest, WritesTheHeadersFramesAndIndexOfAnUncompressedMovie) {
  const fs::path file = DataDir() / "two.avi";
  CMakeAvi recorder("Brixo");
  EXPECT_EQ(recorder.ChooseCompressor(1, 10, 2), 0);  // no compressor: the plain stream
  ASSERT_EQ(recorder.Open(10, 2, 5, file), 1);
  const CanvasImage first = Frame(10, 2, 0);
  const CanvasImage second = Frame(10, 2, 1);
  ASSERT_TRUE(recorder.AddFrame(first));
  ASSERT_TRUE(recorder.AddFrame(second));
  recorder.Close();

  // A frame: rows of 30 bytes padded to 32, two rows. The lists' sizes count their type.
  constexpr std::uint32_t kFrame = 64;
  constexpr std::uint32_t kStrl = 4 + (8 + 56) + (8 + 40) + (8 + 14);  // 138
  constexpr std::uint32_t kHdrl = 4 + (8 + 56) + (8 + kStrl);          // 214
  constexpr std::uint32_t kMovi = 4 + 2 * (8 + kFrame);                // 148
  constexpr std::uint32_t kRiff = 4 + (8 + kHdrl) + (8 + kMovi) + (8 + 2 * 16);
  RecordBytes expected;
  FourCc(expected, "RIFF").UInt32(kRiff);
  FourCc(expected, "AVI ");
  FourCc(expected, "LIST").UInt32(kHdrl);
  FourCc(expected, "hdrl");
  FourCc(expected, "avih").UInt32(56);
  expected
      .UInt32(50000)        // microseconds per frame: 20 frames a second
      .UInt32(kFrame * 20)  // bytes per second
      .UInt32(0)            // padding granularity
      .UInt32(0x10)         // has an index
      .UInt32(2)            // frames written, not the 5 allowed
      .UInt32(0)            // initial frames
      .UInt32(1)            // streams
      .UInt32(kFrame)       // suggested buffer
      .UInt32(10)           // width
      .UInt32(2)            // height
      .Raw(std::vector<std::uint8_t>(16, 0));
  FourCc(expected, "LIST").UInt32(kStrl);
  FourCc(expected, "strl");
  FourCc(expected, "strh").UInt32(56);
  FourCc(expected, "vids");
  FourCc(expected, "DIB ");
  expected.UInt32(0)
      .UInt16(0)
      .UInt16(0)
      .UInt32(0)           // flags, priority, language, initial frames
      .UInt32(1)           // scale
      .UInt32(20)          // rate
      .UInt32(0)           // start
      .UInt32(2)           // length: frames written
      .UInt32(kFrame)      // suggested buffer
      .UInt32(0xFFFFFFFF)  // default quality
      .UInt32(0)           // sample size
      .UInt16(0)
      .UInt16(0)
      .UInt16(10)
      .UInt16(2);  // frame rectangle
  FourCc(expected, "strf").UInt32(40);
  expected.UInt32(40).Int(10).Int(2).UInt16(1).UInt16(24).UInt32(0).UInt32(kFrame).Raw(
      std::vector<std::uint8_t>(16, 0));
  FourCc(expected, "strn").UInt32(13);
  FourCc(expected, "Brixo-System").UInt8(0).UInt8(0);  // the zero that ends it, one to pad
  FourCc(expected, "LIST").UInt32(kMovi);
  FourCc(expected, "movi");
  FourCc(expected, "00db").UInt32(kFrame);
  AppendDib(expected, first);
  FourCc(expected, "00db").UInt32(kFrame);
  AppendDib(expected, second);
  FourCc(expected, "idx1").UInt32(2 * 16);
  FourCc(expected, "00db").UInt32(0x10).UInt32(4).UInt32(kFrame);  // key frames, from 'movi'
  FourCc(expected, "00db").UInt32(0x10).UInt32(4 + 8 + kFrame).UInt32(kFrame);

  EXPECT_EQ(FileBytes(file), expected.Get());
}

TEST(MakeAviTest, RowsArePaddedToFourBytes) {
  struct Case {
    int width, height, imageSize;
  };
  const Case cases[] = {{10, 8, 32 * 8}, {4, 1, 12}, {1, 3, 4 * 3}, {5, 2, 16 * 2}};
  for (const Case& c : cases) {
    CMakeAvi recorder;
    ASSERT_EQ(recorder.Open(c.width, c.height, 1, DataDir() / "size.avi"), 1) << c.width;
    EXPECT_EQ(recorder.GetImageSize(), c.imageSize) << c.width;
    recorder.Close();
  }
}

// The frame counts of the main and the stream header.
std::pair<std::uint32_t, std::uint32_t> HeaderFrameCounts(const fs::path& file) {
  const std::vector<std::uint8_t> bytes = FileBytes(file);
  const auto at = [&](std::size_t i) {
    return static_cast<std::uint32_t>(bytes.at(i) | bytes.at(i + 1) << 8 | bytes.at(i + 2) << 16 |
                                      bytes.at(i + 3) << 24);
  };
  return {at(48), at(140)};
}

TEST(MakeAviTest, TakesNoFrameBeyondTheLimit) {
  struct Case {
    int maxFrames, offered, written;
  };
  const Case cases[] = {{0, 3, 0}, {2, 3, 2}, {3, 3, 3}};
  for (const Case& c : cases) {
    const fs::path file = DataDir() / "limit.avi";
    CMakeAvi recorder;
    ASSERT_EQ(recorder.Open(4, 4, c.maxFrames, file), 1);
    int taken = 0;
    for (int i = 0; i < c.offered; ++i) taken += recorder.AddFrame(Frame(4, 4, i)) ? 1 : 0;
    EXPECT_EQ(taken, c.written) << c.maxFrames;
    recorder.Close();
    EXPECT_EQ(recorder.GetFrameCount(), c.written);
    const auto counts = HeaderFrameCounts(file);
    EXPECT_EQ(counts.first, static_cast<std::uint32_t>(c.written)) << c.maxFrames;
    EXPECT_EQ(counts.second, static_cast<std::uint32_t>(c.written)) << c.maxFrames;
  }
}

TEST(MakeAviTest, RefusesAFrameOfAnotherSize) {
  const fs::path file = DataDir() / "sizes.avi";
  CMakeAvi recorder;
  ASSERT_EQ(recorder.Open(10, 8, 5, file), 1);
  FixedWindow resized(Frame(11, 8, 0));
  FixedWindow shrunk(Frame(10, 7, 0));
  FixedWindow fitting(Frame(10, 8, 0));
  recorder.CaptureFrame(resized);
  recorder.CaptureFrame(shrunk);
  EXPECT_FALSE(recorder.AddFrame(CanvasImage()));
  EXPECT_EQ(recorder.GetFrameCount(), 0);
  recorder.CaptureFrame(fitting);
  EXPECT_EQ(recorder.GetFrameCount(), 1);
  recorder.Close();
  EXPECT_EQ(HeaderFrameCounts(file), std::make_pair(1u, 1u));
}

TEST(MakeAviTest, CloseFinishesOnceAndTheClosedRecorderTakesNoFrames) {
  const fs::path file = DataDir() / "closed.avi";
  CMakeAvi recorder;
  ASSERT_EQ(recorder.Open(2, 2, 5, file), 1);
  ASSERT_TRUE(recorder.AddFrame(Frame(2, 2, 0)));
  recorder.Close();
  const std::vector<std::uint8_t> closed = FileBytes(file);
  recorder.Close();
  EXPECT_FALSE(recorder.IsOpen());
  EXPECT_FALSE(recorder.AddFrame(Frame(2, 2, 1)));
  FixedWindow window(Frame(2, 2, 1));
  recorder.CaptureFrame(window);
  EXPECT_EQ(FileBytes(file), closed);
  EXPECT_EQ(recorder.GetFrameCount(), 1);
}

TEST(MakeAviTest, TheMovieReplacesAnOlderFileOnlyWhenFinished) {
  const fs::path file = DataDir() / "older.avi";
  WriteFileBytes(file, "older movie");
  {
    CMakeAvi recorder;
    ASSERT_EQ(recorder.Open(2, 2, 5, file), 1);
    ASSERT_TRUE(recorder.AddFrame(Frame(2, 2, 0)));
    EXPECT_EQ(ReadFileBytes(file), "older movie");
  }  // destroyed while recording: the recording is finished
  EXPECT_EQ(HeaderFrameCounts(file), std::make_pair(1u, 1u));
  EXPECT_EQ(FileNamesIn(DataDir()), std::vector<std::string>{"older.avi"});
}

TEST(MakeAviTest, AnAbandonedMovieLeavesTheOlderFile) {
  const fs::path file = DataDir() / "abandoned.avi";
  WriteFileBytes(file, "older movie");
  {
    const auto writer = AviWriter::Create(file, {2, 2, 20, "Brixo-System"});
    ASSERT_NE(writer, nullptr);
    ASSERT_TRUE(writer->AddFrame(Frame(2, 2, 0)));
  }  // never finished
  EXPECT_EQ(ReadFileBytes(file), "older movie");
  EXPECT_EQ(FileNamesIn(DataDir()), std::vector<std::string>{"abandoned.avi"});
}

TEST(MakeAviTest, AFileThatCannotBeCreatedIsReported) {
  TestUi().ExpectMessageBox(MsgResult::Ok, "AVI動画ファイルを作成できません");
  CMakeAvi recorder("Brixo");
  EXPECT_EQ(recorder.Open(10, 8, 3, DataDir() / "missing" / "movie.avi"), 0);
  ASSERT_EQ(TestUi().MessageBoxes().size(), 1u);
  EXPECT_EQ(TestUi().MessageBoxes()[0].caption, "Brixo");
  EXPECT_EQ(TestUi().MessageBoxes()[0].icon, MsgIcon::Error);
  EXPECT_FALSE(recorder.IsOpen());
  EXPECT_FALSE(recorder.AddFrame(Frame(10, 8, 0)));
}

TEST(MakeAviTest, ASizeNoFrameCanHaveFailsWithoutMessage) {
  const std::pair<int, int> sizes[] = {{0, 8}, {10, 0}, {-1, 8}, {0x8000, 1}, {30000, 30000}};
  for (const auto& [width, height] : sizes) {
    CMakeAvi recorder;
    EXPECT_EQ(recorder.Open(width, height, 3, DataDir() / "bad.avi"), 0) << width;
    EXPECT_TRUE(FileNamesIn(DataDir()).empty());
  }
}

// ---- The movie as an independent reader sees it ----

// The program's path when it is on PATH; empty otherwise.
fs::path FindProgram(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path != nullptr ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const fs::path candidate = fs::path(folder) / name;
    if (!folder.empty() && fs::exists(candidate)) return candidate;
  }
  return {};
}

// What a command writes to its standard output.
std::string RunCommand(const std::string& command) {
  std::string output;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    output.append(buffer, got);
  }
  pclose(pipe);
  return output;
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

TEST(MakeAviTest, FfprobeReadsSizeFrameCountAndRate) {
  const fs::path ffprobe = FindProgram("ffprobe");
  if (ffprobe.empty()) GTEST_SKIP() << "ffprobe (Debian's ffmpeg) is not installed";
  const fs::path file = DataDir() / "three.avi";
  std::vector<CanvasImage> frames;
  {
    CMakeAvi recorder;
    ASSERT_EQ(recorder.Open(10, 8, 10, file), 1);
    for (int i = 0; i < 3; ++i) {
      frames.push_back(Frame(10, 8, i));
      FixedWindow window(frames.back());
      recorder.CaptureFrame(window);
    }
    recorder.Close();
  }

  const std::string output =
      RunCommand(Quoted(ffprobe) + " -v error -count_frames -select_streams v:0 -show_entries " +
                 "stream=codec_name,pix_fmt,width,height,nb_frames,nb_read_frames,r_frame_rate " +
                 "-of default=noprint_wrappers=1 " + Quoted(file));
  std::map<std::string, std::string> values;
  std::stringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    const auto equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  EXPECT_EQ(values["codec_name"], "rawvideo") << output;
  EXPECT_EQ(values["pix_fmt"], "bgr24");
  EXPECT_EQ(values["width"], "10");
  EXPECT_EQ(values["height"], "8");
  EXPECT_EQ(values["nb_frames"], "3");       // from the headers
  EXPECT_EQ(values["nb_read_frames"], "3");  // decoded
  EXPECT_EQ(values["r_frame_rate"], "20/1");

  // The pixels come back as they were drawn, top row first.
  const fs::path ffmpeg = FindProgram("ffmpeg");
  if (ffmpeg.empty()) return;
  const std::string rgb =
      RunCommand(Quoted(ffmpeg) + " -v error -i " + Quoted(file) + " -f rawvideo -pix_fmt rgb24 -");
  std::string drawn;
  for (const CanvasImage& frame : frames) {
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 10; ++x) {
        const Color c = frame.PixelColor({x, y});
        drawn +=
            {static_cast<char>(c.Red()), static_cast<char>(c.Green()), static_cast<char>(c.Blue())};
      }
    }
  }
  EXPECT_EQ(rgb, drawn);
}

}  // namespace
