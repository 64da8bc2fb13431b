// Keeps libxml2's messages about one parse from reaching standard error and
// notes whether the input could not be decoded.
#pragma once

#include <libxml/xmlerror.h>

namespace jc {

// While alive, every message libxml2 raises on this thread comes here instead
// of standard error; the thread's earlier handler is put back on destruction.
// The handler is the calling thread's own: other threads are not affected.
class XmlErrorCapture {
 public:
  XmlErrorCapture() : savedHandler_(xmlStructuredError), savedContext_(xmlStructuredErrorContext) {
    xmlSetStructuredErrorFunc(this, &XmlErrorCapture::onError);
  }
  ~XmlErrorCapture() { xmlSetStructuredErrorFunc(savedContext_, savedHandler_); }
  XmlErrorCapture(const XmlErrorCapture&) = delete;
  XmlErrorCapture& operator=(const XmlErrorCapture&) = delete;

  // True when some bytes of the input could not be converted from the
  // document's encoding: the text read is then not the text sent.
  bool undecodable() const { return undecodable_; }

 private:
  static void onError(void* self, xmlError* error) {
    if (!self || !error) return;
    if (error->domain == XML_FROM_I18N ||
        (error->domain == XML_FROM_IO && error->code == XML_IO_ENCODER)) {
      static_cast<XmlErrorCapture*>(self)->undecodable_ = true;
    }
  }

  xmlStructuredErrorFunc savedHandler_;
  void* savedContext_;
  bool undecodable_ = false;
};

}  // namespace jc
