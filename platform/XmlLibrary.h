#pragma once
// What the XML reader and writer need from libxml2 before their first use and while they call it.
// Internal to platform/: only the sources of the reader and the writer include libxml2.

#include <libxml/xmlerror.h>

// Initialises libxml2 once per process and registers our decoder and encoder for "Shift_JIS":
// libxml2 would otherwise hand that name to iconv's SHIFT_JIS, which lacks the characters the
// Japanese code page adds (①, ㎡, …) and maps others (～) differently. Our settings files are
// CP932 under that name, as the Japanese Windows code page writes them. Safe to call from any
// thread, as often as wanted.
void PrepareXmlLibrary();

// Keeps libxml2 from printing its parse and conversion errors on standard error for the life of
// the scope: our callers report failures their own way. Covers the calling thread only.
class QuietXmlErrors {
 public:
  QuietXmlErrors();
  ~QuietXmlErrors();
  QuietXmlErrors(const QuietXmlErrors&) = delete;
  QuietXmlErrors& operator=(const QuietXmlErrors&) = delete;

 private:
  void* previousStructuredContext_;
  xmlStructuredErrorFunc previousStructured_;
  void* previousGenericContext_;
  xmlGenericErrorFunc previousGeneric_;
};
