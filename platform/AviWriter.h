#pragma once
// A movie file of uncompressed frames: a RIFF 'AVI ' file with one video stream of 24-bit
// bottom-up DIB frames ('00db' chunks), each a key frame, and the index 'idx1'. The frames go to
// disk as they come; the headers carry the number of frames written, patched in when the file is
// finished. Until then the movie is written through a ReplacingFile and takes the name only once it
// is complete, so a recording that fails or is abandoned never leaves a damaged movie under the
// name, and a movie that was there before stays until the new one replaces it.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CanvasImage.h"

class ReplacingFile;

struct AviFormat {
  int width = 0;
  int height = 0;
  int framesPerSecond = 20;
  // The stream's name, kept in its 'strn' chunk.
  std::string streamName;
};

class AviWriter {
 public:
  // The bytes of one 24-bit frame of that size: rows padded to a multiple of 4 bytes. Nothing
  // for a size that is not positive, beyond the 16 bits of the stream's frame rectangle, or too
  // large for the file.
  static std::optional<std::uint32_t> FrameBytes(int width, int height);

  // Starts the movie; null when the format is unusable (size, rate) or the file cannot be
  // created.
  static std::unique_ptr<AviWriter> Create(const std::filesystem::path& path,
                                           const AviFormat& format);
  // Abandons an unfinished movie: its file is removed and the name keeps what it held.
  ~AviWriter();
  AviWriter(const AviWriter&) = delete;
  AviWriter& operator=(const AviWriter&) = delete;

  // Appends the image as the next frame. False, and nothing written, when the image's size is not
  // the movie's, the file would outgrow what its 32-bit sizes can describe, or the writer failed
  // or was finished before.
  bool AddFrame(const CanvasImage& image);
  int FrameCount() const { return static_cast<int>(index_.size()); }

  // Writes the index, patches the frame count and the sizes into the headers and gives the file
  // its name. False when any write failed; the movie is then abandoned. Once finished, the writer
  // takes no more frames.
  bool Finish();

 private:
  struct IndexEntry {
    std::uint32_t offset;  // from the 'movi' list type to the chunk's identifier
    std::uint32_t size;
  };

  AviWriter(std::unique_ptr<ReplacingFile> file, const AviFormat& format, std::uint32_t frameBytes);

  bool WriteHeaders();
  bool PatchHeaders(std::uint32_t riffSize, std::uint32_t moviSize);
  bool WriteIndex();
  bool Write(const std::vector<std::uint8_t>& bytes);

  std::unique_ptr<ReplacingFile> file_;  // null once finished
  AviFormat format_;
  std::uint32_t frameBytes_;
  std::uint64_t headerSize_ = 0;  // the bytes before the first frame
  std::uint64_t written_ = 0;     // bytes in the file so far
  std::vector<IndexEntry> index_;
  bool failed_ = false;
};
