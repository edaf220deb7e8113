#include "shell/memo_batch.h"

#include <utility>

#include "app/texts.h"

MemoBatch::Due MemoBatch::Add(const std::string& line, std::uint32_t nowMs, bool shown) {
  const bool first = text_.empty();
  text_ += line;
  text_ += texts::kLineEnd;
  if (first) firstMs_ = nowMs;
  if (!shown) return Due::kLater;
  if (first) {
    const bool quiet = !anyTaken_ || nowMs - takenMs_ >= kMemoHoldMs;
    return quiet ? Due::kNow : Due::kStartTimer;
  }
  // A stream of events can starve the timer: the oldest line sets the pace.
  return nowMs - firstMs_ >= kMemoHoldMs ? Due::kNow : Due::kLater;
}

std::string MemoBatch::Take(std::uint32_t nowMs) {
  takenMs_ = nowMs;
  anyTaken_ = true;
  std::string text;
  text.swap(text_);
  return text;
}

void MemoBatch::PutBack(const std::string& text) { text_.insert(0, text); }

bool MemoBatch::FirstFailure() {
  const bool first = !failed_;
  failed_ = true;
  return first;
}
