#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

// ShowWindow commands the program uses.
namespace show {
inline constexpr int kHide = 0;
inline constexpr int kNormal = 1;
inline constexpr int kMaximized = 3;
inline constexpr int kShow = 5;
inline constexpr int kMinimize = 6;
inline constexpr int kMinNoActive = 7;
inline constexpr int kShowNA = 8;
inline constexpr int kRestore = 9;
}  // namespace show

inline constexpr std::uint32_t kWaitTimeout = 0x102;

// The notification-area icon record in its first-version form.
struct TrayIconData {
  WindowId window = 0;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  bool withIcon = false;  // the program's main icon
  char tip[64] = {};
};

inline constexpr std::uint32_t kNimAdd = 0;
inline constexpr std::uint32_t kNimDelete = 2;

struct MenuItem {
  std::string caption;  // "-" for a separator
  std::uint32_t command = 0;
};

// Windows, the message queue, the notification area and kernel objects.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Waits for one message and dispatches it; false when it was the quit
  // request.
  virtual bool WaitAndDispatch() = 0;
  // Dispatches every pending message; false when the quit request came.
  virtual bool DispatchPending() = 0;
  virtual void PostQuit() = 0;
  virtual void Show(WindowId window, int command) = 0;
  virtual bool IsIconic(WindowId window) = 0;
  virtual bool IsZoomed(WindowId window) = 0;
  virtual bool IsVisible(WindowId window) = 0;
  // Hides the shown windows that `owner` owns, or shows again those hidden
  // so, as Windows does when the owner is minimised and restored.
  virtual void ShowOwned(WindowId owner, bool show) = 0;
  virtual void SetForeground(WindowId window) = 0;
  virtual WindowId Find(const std::string& className, const std::string& title) = 0;
  virtual ScreenPoint CursorPos() = 0;
  virtual void PostNull(WindowId window) = 0;
  // The show command the launcher passed, or 10 when it passed none.
  virtual int LaunchShowCommand() = 0;
  // CreateMutex (not owned) and a wait of 0 ms; the wait's result. The
  // handle stays open until the process ends.
  virtual std::uint32_t TakeNamedMutex(const std::string& name) = 0;
  virtual std::uint32_t RegisterMessage(const std::string& name) = 0;
  virtual void NotifyIcon(std::uint32_t action, const TrayIconData& data) = 0;
  // A popup menu at (x, y) with flags; the chosen command goes to `owner`.
  virtual void TrackPopup(const std::vector<MenuItem>& items, int x, int y, std::uint32_t flags,
                          WindowId owner) = 0;
};
