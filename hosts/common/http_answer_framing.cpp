#include "hosts/common/http_answer_framing.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace jc {
namespace {

// A chunk-size line holds at most a few hex digits and extensions nobody
// needs; longer ones are not framing.
constexpr std::size_t kMaxChunkLine = 1024;

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool sameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool allDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
}

// The last transfer coding of a Transfer-Encoding value.
std::string_view lastCoding(std::string_view value) {
  const auto comma = value.rfind(',');
  return trimmed(comma == std::string_view::npos ? value : value.substr(comma + 1));
}

}  // namespace

HttpAnswerFraming::HttpAnswerFraming(std::size_t maxHeadBytes, std::size_t maxBodyBytes)
    : maxHeadBytes_(maxHeadBytes), maxBodyBytes_(maxBodyBytes) {}

HttpAnswerFraming::State HttpAnswerFraming::feed(std::string_view bytes) {
  if (state_ != State::NeedMore) return state_;
  pending_.erase(0, start_);
  lineScanned_ -= std::min(lineScanned_, start_);
  start_ = 0;
  pending_.append(bytes);
  return advance();
}

HttpAnswerFraming::State HttpAnswerFraming::close() {
  if (state_ != State::NeedMore) return state_;
  if (phase_ == Phase::UntilClose) {
    phase_ = Phase::Done;
    return state_ = State::Complete;
  }
  stop(State::Malformed);
  return state_;
}

bool HttpAnswerFraming::stop(State why) {
  if (why == State::TooLarge) exceededLimit_ = headPhase() ? maxHeadBytes_ : maxBodyBytes_;
  pending_.clear();
  start_ = 0;
  state_ = why;
  return false;
}

HttpAnswerFraming::State HttpAnswerFraming::advance() {
  while (state_ == State::NeedMore && step()) {
  }
  if (phase_ == Phase::Done && state_ == State::NeedMore) state_ = State::Complete;
  return state_;
}

bool HttpAnswerFraming::headPhase() const {
  return phase_ == Phase::StatusLine || phase_ == Phase::Fields || phase_ == Phase::Trailer;
}

// One line from the pending bytes without its CR LF (or bare LF), or none
// while it is incomplete; longer than `limit` counts as too large.
std::optional<std::string_view> HttpAnswerFraming::takeLine(std::size_t limit) {
  const auto end = pending_.find('\n', std::max(start_, lineScanned_));
  if (end == std::string::npos) {
    lineScanned_ = pending_.size();
    if (pending_.size() - start_ > limit) stop(State::TooLarge);
    return std::nullopt;
  }
  if (end + 1 - start_ > limit) {
    stop(State::TooLarge);
    return std::nullopt;
  }
  std::string_view line(pending_.data() + start_, end - start_);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  start_ = end + 1;
  return line;
}

// Works through the pending bytes as far as the phase allows; false when it
// waits for more (or has failed or finished).
bool HttpAnswerFraming::step() {
  switch (phase_) {
    case Phase::StatusLine:
    case Phase::Fields:
    case Phase::Trailer: {
      const std::size_t before = start_;
      const auto line = takeLine(maxHeadBytes_ - headBytes_);
      if (!line) return false;
      headBytes_ += start_ - before;
      if (phase_ == Phase::StatusLine) return statusLine(*line) || stop(State::Malformed);
      if (phase_ == Phase::Trailer) {
        if (line->empty()) phase_ = Phase::Done;
        return phase_ != Phase::Done;
      }
      if (line->empty()) return startBody();
      return field(*line) || stop(State::Malformed);
    }
    case Phase::ChunkSize: {
      const auto line = takeLine(kMaxChunkLine);
      if (!line) {
        if (state_ == State::TooLarge) state_ = State::Malformed;
        return false;
      }
      return chunkSize(*line);
    }
    case Phase::FixedBody:
    case Phase::ChunkData: {
      if (start_ == pending_.size()) return false;
      takeBody(std::min(remaining_, pending_.size() - start_));
      if (remaining_ == 0) phase_ = phase_ == Phase::FixedBody ? Phase::Done : Phase::ChunkEnd;
      return phase_ != Phase::Done;
    }
    case Phase::ChunkEnd: {
      const auto line = takeLine(2);
      if (!line) {
        if (state_ == State::TooLarge) state_ = State::Malformed;
        return false;
      }
      if (!line->empty()) return stop(State::Malformed);
      phase_ = Phase::ChunkSize;
      return true;
    }
    case Phase::UntilClose:
      if (pending_.size() - start_ > maxBodyBytes_ - body_.size()) return stop(State::TooLarge);
      body_.append(pending_, start_);
      start_ = pending_.size();
      return false;
    case Phase::Done:
      return false;
  }
  return false;
}

void HttpAnswerFraming::takeBody(std::size_t count) {
  body_.append(pending_, start_, count);
  start_ += count;
  remaining_ -= count;
}

bool HttpAnswerFraming::statusLine(std::string_view line) {
  // "HTTP/1.1 200 OK": a version of 1.x, three digits, then a reason.
  if (line.size() < 12 || !line.starts_with("HTTP/1.") || line[8] != ' ') return false;
  const std::string_view code = line.substr(9, 3);
  if (!allDigits(code) || (line.size() > 12 && line[12] != ' ')) return false;
  std::from_chars(code.data(), code.data() + code.size(), status_);
  contentLength_.reset();
  chunked_ = false;
  phase_ = Phase::Fields;
  return status_ >= 100;
}

bool HttpAnswerFraming::field(std::string_view line) {
  const auto colon = line.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  const std::string_view name = line.substr(0, colon);
  const std::string_view value = trimmed(line.substr(colon + 1));
  if (sameWord(name, "Content-Length")) {
    if (!allDigits(value) || value.size() > 12) return false;
    std::size_t length = 0;
    std::from_chars(value.data(), value.data() + value.size(), length);
    if (contentLength_ && *contentLength_ != length) return false;
    contentLength_ = length;
  } else if (sameWord(name, "Transfer-Encoding")) {
    if (!sameWord(lastCoding(value), "chunked")) return false;
    chunked_ = true;
  }
  return true;
}

bool HttpAnswerFraming::startBody() {
  if (status_ < 200) {
    // An interim answer (100 Continue and the like): the real one follows.
    // 101 would switch protocols, which this exchange never asked for.
    if (status_ == 101) return stop(State::Malformed);
    phase_ = Phase::StatusLine;
    return true;
  }
  if (status_ == 204 || status_ == 304) {
    phase_ = Phase::Done;
  } else if (chunked_) {
    phase_ = Phase::ChunkSize;
  } else if (contentLength_) {
    if (*contentLength_ > maxBodyBytes_) return stop(State::TooLarge);
    remaining_ = *contentLength_;
    phase_ = remaining_ == 0 ? Phase::Done : Phase::FixedBody;
  } else {
    phase_ = Phase::UntilClose;
  }
  return phase_ != Phase::Done;
}

bool HttpAnswerFraming::chunkSize(std::string_view line) {
  const std::string_view digits = trimmed(line.substr(0, line.find(';')));
  std::size_t size = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), size, 16);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
      digits.size() > 8)
    return stop(State::Malformed);
  if (size > maxBodyBytes_ - body_.size()) return stop(State::TooLarge);
  remaining_ = size;
  phase_ = size == 0 ? Phase::Trailer : Phase::ChunkData;
  return true;
}

HttpAnswerFraming frameHttpAnswer(std::string_view bytes, bool closed, std::size_t maxHeadBytes,
                                  std::size_t maxBodyBytes) {
  HttpAnswerFraming framing(maxHeadBytes, maxBodyBytes);
  framing.feed(bytes);
  if (closed) framing.close();
  return framing;
}

}  // namespace jc
