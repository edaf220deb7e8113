#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"

// The window-side objects the logic drives: each is one native window or
// control, and each call maps onto one message or API call.

class Memo {
 public:
  virtual ~Memo() = default;
  // Adds the line at the end; costs time proportional to the line only.
  virtual void AppendLine(const std::string& line) = 0;
};

class TimerDevice {
 public:
  virtual ~TimerDevice() = default;
  // Starts (or restarts) periodic ticks; false when the platform refuses.
  virtual bool Start(std::uint32_t intervalMs) = 0;
  virtual void Stop() = 0;
};

class FormWindow {
 public:
  virtual ~FormWindow() = default;
  virtual WindowId Handle() = 0;
  // The system's default processing of a message; sets its Result.
  virtual void DefaultHandler(TMessage& message) = 0;
  // Shows the native window with a ShowWindow command, or hides it.
  virtual void ShowNative(int showCommand) = 0;
  // The hidden window that receives the icon's messages, and its end.
  virtual WindowId CreateTrayWindow() = 0;
  virtual void DestroyTrayWindow() = 0;
  // Shows the battery warning once the message being handled has had its
  // reply: posted to the window's own queue.
  virtual void PostBatteryWarning(std::int32_t limit, std::uint8_t percent) = 0;

  // The window's outer bounds in screen pixels; each setter is one move or
  // resize of its own.
  virtual std::int32_t Left() = 0;
  virtual std::int32_t Top() = 0;
  virtual std::int32_t Width() = 0;
  virtual std::int32_t Height() = 0;
  virtual void SetLeft(std::int32_t value) = 0;
  virtual void SetTop(std::int32_t value) = 0;
  virtual void SetWidth(std::int32_t value) = 0;
  virtual void SetHeight(std::int32_t value) = 0;
};

