// The framing of an HTTP/1.1 answer, read as its bytes arrive and bounded in
// size: the status line and fields (interim 1xx answers passed over), then a
// body by Content-Length, by chunks or up to the end of the connection.
// Nothing of the body is interpreted.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace jc {

class HttpAnswerFraming {
 public:
  enum class State {
    NeedMore,   // not a whole answer yet
    Complete,   // status() and body() hold the answer
    TooLarge,   // the head (interim answers and trailers included) or the body outgrew its limit
    Malformed,  // not HTTP/1.x framing, or cut short
  };

  HttpAnswerFraming(std::size_t maxHeadBytes, std::size_t maxBodyBytes);

  // Takes the next bytes of the connection; once the state is no longer
  // NeedMore it stays as it is and further bytes are ignored.
  State feed(std::string_view bytes);
  // The connection ended: an answer read up to its end is complete now, any
  // other unfinished one was cut short.
  State close();

  State state() const { return state_; }
  int status() const { return status_; }
  const std::string& body() const { return body_; }
  // When TooLarge: the limit that the answer outgrew.
  std::size_t exceededLimit() const { return exceededLimit_; }

 private:
  enum class Phase {
    StatusLine,
    Fields,
    FixedBody,
    ChunkSize,
    ChunkData,
    ChunkEnd,
    Trailer,
    UntilClose,
    Done
  };

  State advance();
  bool step();
  std::optional<std::string_view> takeLine(std::size_t limit);
  bool statusLine(std::string_view line);
  bool field(std::string_view line);
  bool startBody();
  bool chunkSize(std::string_view line);
  void takeBody(std::size_t count);
  bool stop(State why);
  bool headPhase() const;

  std::size_t maxHeadBytes_;
  std::size_t maxBodyBytes_;
  std::string pending_;
  std::size_t start_ = 0;  // where the unread part of pending_ begins
  std::size_t headBytes_ = 0;
  std::size_t lineScanned_ = 0;
  Phase phase_ = Phase::StatusLine;
  State state_ = State::NeedMore;
  int status_ = 0;
  std::optional<std::size_t> contentLength_;
  bool chunked_ = false;
  std::size_t remaining_ = 0;
  std::string body_;
  std::size_t exceededLimit_ = 0;
};

// The whole of `bytes` as one answer; `closed` when the connection ended
// after them.
HttpAnswerFraming frameHttpAnswer(std::string_view bytes, bool closed, std::size_t maxHeadBytes,
                                  std::size_t maxBodyBytes);

}  // namespace jc
