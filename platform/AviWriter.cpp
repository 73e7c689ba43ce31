#include "platform/AviWriter.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/ReplacingFile.h"

namespace {

// The largest file we write: readers of plain AVI files take its 32-bit sizes as signed.
constexpr std::uint64_t kMaxFileBytes = std::numeric_limits<std::int32_t>::max();

constexpr std::uint32_t kAvifHasIndex = 0x10;
constexpr std::uint32_t kAviifKeyFrame = 0x10;
constexpr std::uint32_t kBitmapHeaderSize = 40;
constexpr std::uint32_t kMainHeaderSize = 56;
constexpr std::uint32_t kStreamHeaderSize = 56;
constexpr std::uint32_t kIndexEntrySize = 16;
constexpr std::uint32_t kChunkHeaderSize = 8;  // identifier and size

// Little-endian bytes of the RIFF structures.
class Bytes {
 public:
  Bytes& FourCc(std::string_view code) {
    for (const char c : code) bytes_.push_back(static_cast<std::uint8_t>(c));
    return *this;
  }
  Bytes& U16(std::uint16_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(v));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
  }
  Bytes& U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& Zeros(std::size_t n) {
    bytes_.insert(bytes_.end(), n, 0);
    return *this;
  }
  std::vector<std::uint8_t>& Get() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Chunks are padded to an even size.
std::uint32_t Padded(std::uint32_t size) { return size + (size & 1U); }

// The stream's name as its 'strn' chunk holds it: the text and its terminating zero.
std::uint32_t NameChunkSize(const std::string& name) {
  return static_cast<std::uint32_t>(name.size() + 1);
}

std::uint32_t StreamListSize(const AviFormat& format) {
  return 4 + kChunkHeaderSize + kStreamHeaderSize + kChunkHeaderSize + kBitmapHeaderSize +
         kChunkHeaderSize + Padded(NameChunkSize(format.streamName));
}

std::uint32_t HeaderListSize(const AviFormat& format) {
  return 4 + kChunkHeaderSize + kMainHeaderSize + kChunkHeaderSize + StreamListSize(format);
}

// Everything before the first frame: the RIFF header, the header list and the head of the 'movi'
// list, with the counts and sizes given.
std::vector<std::uint8_t> HeaderBytes(const AviFormat& format, std::uint32_t frameBytes,
                                      std::uint32_t frames, std::uint32_t riffSize,
                                      std::uint32_t moviSize) {
  const auto width = static_cast<std::uint32_t>(format.width);
  const auto height = static_cast<std::uint32_t>(format.height);
  const auto rate = static_cast<std::uint32_t>(format.framesPerSecond);
  const std::uint64_t bytesPerSecond = std::uint64_t{frameBytes} * rate;
  Bytes b;
  b.FourCc("RIFF").U32(riffSize).FourCc("AVI ");
  b.FourCc("LIST").U32(HeaderListSize(format)).FourCc("hdrl");
  b.FourCc("avih").U32(kMainHeaderSize);
  b.U32(1000000 / rate)  // microseconds per frame
      .U32(static_cast<std::uint32_t>(
          std::min<std::uint64_t>(bytesPerSecond, std::numeric_limits<std::uint32_t>::max())))
      .U32(0)  // padding granularity
      .U32(kAvifHasIndex)
      .U32(frames)
      .U32(0)  // initial frames
      .U32(1)  // streams
      .U32(frameBytes)
      .U32(width)
      .U32(height)
      .Zeros(16);
  b.FourCc("LIST").U32(StreamListSize(format)).FourCc("strl");
  b.FourCc("strh").U32(kStreamHeaderSize);
  b.FourCc("vids")
      .FourCc("DIB ")
      .U32(0)  // flags
      .U16(0)  // priority
      .U16(0)  // language
      .U32(0)  // initial frames
      .U32(1)  // scale
      .U32(rate)
      .U32(0)  // start
      .U32(frames)
      .U32(frameBytes)
      .U32(0xFFFFFFFF)  // quality: the default
      .U32(0)           // sample size: varies, one frame per chunk
      .U16(0)
      .U16(0)
      .U16(static_cast<std::uint16_t>(width))
      .U16(static_cast<std::uint16_t>(height));
  b.FourCc("strf").U32(kBitmapHeaderSize);
  b.U32(kBitmapHeaderSize)
      .U32(width)
      .U32(height)  // positive: rows bottom-up
      .U16(1)       // planes
      .U16(24)      // bits per pixel
      .U32(0)       // BI_RGB: uncompressed
      .U32(frameBytes)
      .Zeros(16);  // resolution and colour counts
  const std::uint32_t nameSize = NameChunkSize(format.streamName);
  b.FourCc("strn").U32(nameSize).FourCc(format.streamName).Zeros(Padded(nameSize) - nameSize + 1);
  b.FourCc("LIST").U32(moviSize).FourCc("movi");
  return std::move(b.Get());
}

}  // namespace

std::optional<std::uint32_t> AviWriter::FrameBytes(int width, int height) {
  // The frame rectangle holds the size in 16 bits.
  if (width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF) return std::nullopt;
  const std::uint64_t row = (std::uint64_t{static_cast<std::uint32_t>(width)} * 24 + 31) / 32 * 4;
  const std::uint64_t bytes = row * static_cast<std::uint32_t>(height);
  if (bytes > kMaxFileBytes) return std::nullopt;
  return static_cast<std::uint32_t>(bytes);
}

std::unique_ptr<AviWriter> AviWriter::Create(const std::filesystem::path& path,
                                             const AviFormat& format) {
  const auto frameBytes = FrameBytes(format.width, format.height);
  if (!frameBytes) return nullptr;
  if (format.framesPerSecond <= 0 || format.framesPerSecond > 1000000) return nullptr;
  std::error_code error;
  std::unique_ptr<ReplacingFile> file = ReplacingFile::Create(path, error);
  if (!file) return nullptr;
  std::unique_ptr<AviWriter> writer(new AviWriter(std::move(file), format, *frameBytes));
  if (!writer->WriteHeaders()) return nullptr;  // the file's destructor removes it
  return writer;
}

AviWriter::AviWriter(std::unique_ptr<ReplacingFile> file, const AviFormat& format,
                     std::uint32_t frameBytes)
    : file_(std::move(file)), format_(format), frameBytes_(frameBytes) {}

AviWriter::~AviWriter() = default;

bool AviWriter::WriteHeaders() {
  const std::vector<std::uint8_t> headers = HeaderBytes(format_, frameBytes_, 0, 0, 0);
  headerSize_ = headers.size();
  return Write(headers);
}

bool AviWriter::AddFrame(const CanvasImage& image) {
  if (!file_ || failed_) return false;
  if (image.Width() != format_.width || image.Height() != format_.height) return false;
  const std::uint64_t grown = written_ + kChunkHeaderSize + frameBytes_ + kChunkHeaderSize +
                              std::uint64_t{kIndexEntrySize} * (index_.size() + 1);
  if (grown > kMaxFileBytes) return false;

  Bytes chunk;
  chunk.FourCc("00db").U32(frameBytes_);
  std::vector<std::uint8_t>& bytes = chunk.Get();
  bytes.reserve(kChunkHeaderSize + frameBytes_);
  const std::size_t rowBytes = frameBytes_ / static_cast<std::uint32_t>(format_.height);
  for (int y = format_.height - 1; y >= 0; --y) {  // bottom-up
    const std::uint32_t* row =
        image.Bits() + static_cast<std::size_t>(y) * static_cast<std::size_t>(format_.width);
    const std::size_t start = bytes.size();
    for (int x = 0; x < format_.width; ++x) {
      const std::uint32_t pixel = row[x];  // 0xFFRRGGBB
      bytes.push_back(static_cast<std::uint8_t>(pixel));
      bytes.push_back(static_cast<std::uint8_t>(pixel >> 8));
      bytes.push_back(static_cast<std::uint8_t>(pixel >> 16));
    }
    bytes.resize(start + rowBytes, 0);
  }
  // Offsets count from the 'movi' list type, which the headers end with.
  const IndexEntry entry{static_cast<std::uint32_t>(written_ - (headerSize_ - 4)), frameBytes_};
  if (!Write(bytes)) return false;
  index_.push_back(entry);
  return true;
}

bool AviWriter::Finish() {
  if (!file_) return false;
  const std::uint64_t moviEnd = written_;
  const bool complete = !failed_ && WriteIndex() &&
                        PatchHeaders(static_cast<std::uint32_t>(written_ - kChunkHeaderSize),
                                     static_cast<std::uint32_t>(moviEnd - headerSize_ + 4));
  // Dropping the file without Commit abandons it: its temporary file goes, the name keeps its
  // older movie.
  const std::unique_ptr<ReplacingFile> file = std::move(file_);
  return complete && !file->Commit();
}

bool AviWriter::WriteIndex() {
  Bytes b;
  b.FourCc("idx1").U32(static_cast<std::uint32_t>(kIndexEntrySize * index_.size()));
  for (const IndexEntry& entry : index_) {
    b.FourCc("00db").U32(kAviifKeyFrame).U32(entry.offset).U32(entry.size);
  }
  return Write(b.Get());
}

bool AviWriter::PatchHeaders(std::uint32_t riffSize, std::uint32_t moviSize) {
  if (std::fseek(file_->Stream(), 0, SEEK_SET) != 0) return false;
  const auto frames = static_cast<std::uint32_t>(index_.size());
  const std::vector<std::uint8_t> headers =
      HeaderBytes(format_, frameBytes_, frames, riffSize, moviSize);
  return std::fwrite(headers.data(), 1, headers.size(), file_->Stream()) == headers.size();
}

bool AviWriter::Write(const std::vector<std::uint8_t>& bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_->Stream()) != bytes.size()) {
    failed_ = true;
    return false;
  }
  written_ += bytes.size();
  return true;
}
