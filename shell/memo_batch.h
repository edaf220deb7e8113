#pragma once
#include <cstdint>
#include <string>

// Under Wine an edit control's append costs time in proportion to the text
// it holds, so lines reach the event list in batches. A line after a quiet
// spell goes at once; lines close behind it gather and go together within
// kMemoHoldMs. While the window is parked nobody sees the list: lines wait
// until it shows or something reads it.
inline constexpr std::uint32_t kMemoHoldMs = 50;

class MemoBatch {
 public:
  enum class Due {
    kNow,         // append what is gathered now
    kStartTimer,  // the first line of a batch: append within kMemoHoldMs
    kLater,       // a timer already runs, or the list is parked
  };

  // Gathers the line; nowMs is a millisecond clock that may wrap.
  Due Add(const std::string& line, std::uint32_t nowMs, bool shown);
  bool Empty() const { return text_.empty(); }
  // The gathered lines, each ended with CR LF, in the order added.
  const std::string& Text() const { return text_; }
  // Text(), leaving the batch empty and holding no memory.
  std::string Take(std::uint32_t nowMs);
  // Taken text that did not reach the list goes back, before any line
  // gathered since, for the next flush.
  void PutBack(const std::string& text);
  // True at the first failure since the last append that went through: the
  // list is read at every key and mouse message, and a failure is told once.
  bool FirstFailure();
  void Appended() { failed_ = false; }

 private:
  std::string text_;
  std::uint32_t firstMs_ = 0;  // when the oldest gathered line came
  std::uint32_t takenMs_ = 0;  // when the last batch went
  bool anyTaken_ = false;
  bool failed_ = false;
};
