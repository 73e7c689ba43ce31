#include "platform/XmlLibrary.h"

#include <libxml/encoding.h>
#include <libxml/globals.h>
#include <libxml/parser.h>

#include <mutex>
#include <span>

#include "platform/Iconv.h"

namespace {

// Converts one chunk for libxml2, with its conventions: the bytes consumed and produced come back
// through the length arguments; the result is the bytes produced, or -1 (more room needed), -2
// (a character that cannot be converted; libxml2 fails the input there and writes a character
// reference on output) or -3 (the chunk ends inside a character, which the next one completes).
int ConvertChunk(Iconv& converter, unsigned char* out, int* outLength, const unsigned char* in,
                 int* inLength) {
  if (in == nullptr) {  // libxml2 asks for the initial shift state; ours need none
    *outLength = 0;
    *inLength = 0;
    return 0;
  }
  const Iconv::Step step = converter.Convert(
      std::span(reinterpret_cast<const char*>(in), static_cast<std::size_t>(*inLength)),
      std::span(reinterpret_cast<char*>(out), static_cast<std::size_t>(*outLength)));
  *inLength = static_cast<int>(step.read);
  *outLength = static_cast<int>(step.written);
  switch (step.stop) {
    case Iconv::Stop::Done:
      return *outLength;
    case Iconv::Stop::OutputFull:
      return -1;
    case Iconv::Stop::Invalid:
      return -2;
    case Iconv::Stop::Incomplete:
      return -3;
  }
  return -2;
}

// libxml2 calls these without a context; each thread keeps its own converters. CP932 has no
// shift states, so a converter carries nothing from one chunk into the next.
int Cp932ToUtf8Chunk(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
  thread_local Iconv converter("UTF-8", "CP932");
  return ConvertChunk(converter, out, outLength, in, inLength);
}

int Utf8ToCp932Chunk(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
  thread_local Iconv converter("CP932", "UTF-8");
  return ConvertChunk(converter, out, outLength, in, inLength);
}

void IgnoreError(void* /*context*/, xmlErrorPtr /*error*/) {}
void IgnoreMessage(void* /*context*/, const char* /*format*/, ...) {}

}  // namespace

void PrepareXmlLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    // libxml2 keeps the handler for the life of the process and finds it before iconv.
    xmlNewCharEncodingHandler("Shift_JIS", Cp932ToUtf8Chunk, Utf8ToCp932Chunk);
  });
}

// Most errors go to the structured handler; a few messages (a failed conversion in the middle of
// a chunk) only to the generic one.
QuietXmlErrors::QuietXmlErrors()
    : previousStructuredContext_(xmlStructuredErrorContext),
      previousStructured_(xmlStructuredError),
      previousGenericContext_(xmlGenericErrorContext),
      previousGeneric_(xmlGenericError) {
  xmlSetStructuredErrorFunc(nullptr, IgnoreError);
  xmlSetGenericErrorFunc(nullptr, IgnoreMessage);
}

QuietXmlErrors::~QuietXmlErrors() {
  xmlSetStructuredErrorFunc(previousStructuredContext_, previousStructured_);
  xmlSetGenericErrorFunc(previousGenericContext_, previousGeneric_);
}
