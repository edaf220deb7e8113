#include <windows.h>

#include <winevt.h>

#include <utility>

#include "platform/win32/win32_platform.h"

namespace {

constexpr DWORD kNotifyWindowHandle = 0;  // DEVICE_NOTIFY_WINDOW_HANDLE
constexpr wchar_t kSystemChannel[] = L"System";
// One read of the query: the log is searched newest first, and a search that
// runs on past the recent events is cut off here, so the message loop never
// waits long.
constexpr DWORD kReadTimeoutMs = 100;

struct NoticeApi {
  decltype(&RegisterSuspendResumeNotification) subscribe = nullptr;
  decltype(&UnregisterSuspendResumeNotification) unsubscribe = nullptr;
};

// Looked up at run time: Windows 7 has neither, and the exe still starts there.
const NoticeApi& Notice() {
  static const NoticeApi api = [] {
    NoticeApi a;
    HMODULE user32 = GetModuleHandleA("user32.dll");
    Resolve(user32, "RegisterSuspendResumeNotification", a.subscribe);
    Resolve(user32, "UnregisterSuspendResumeNotification", a.unsubscribe);
    return a;
  }();
  return api;
}

struct EventLogApi {
  decltype(&EvtQuery) query = nullptr;
  decltype(&EvtNext) next = nullptr;
  decltype(&EvtCreateRenderContext) createRenderContext = nullptr;
  decltype(&EvtRender) render = nullptr;
  decltype(&EvtOpenPublisherMetadata) openPublisherMetadata = nullptr;
  decltype(&EvtFormatMessage) formatMessage = nullptr;
  decltype(&EvtClose) close = nullptr;
  bool Complete() const {
    return query && next && createRenderContext && render && openPublisherMetadata &&
           formatMessage && close;
  }
};

// wevtapi.dll is not a KnownDLL: loaded from System32 only, when a lookup
// first needs it.
const EventLogApi& EventLog() {
  static const EventLogApi api = [] {
    EventLogApi a;
    HMODULE module = LoadSystemLibrary("wevtapi.dll");
    Resolve(module, "EvtQuery", a.query);
    Resolve(module, "EvtNext", a.next);
    Resolve(module, "EvtCreateRenderContext", a.createRenderContext);
    Resolve(module, "EvtRender", a.render);
    Resolve(module, "EvtOpenPublisherMetadata", a.openPublisherMetadata);
    Resolve(module, "EvtFormatMessage", a.formatMessage);
    Resolve(module, "EvtClose", a.close);
    return a;
  }();
  return api;
}

class EvtHandle {
 public:
  explicit EvtHandle(EVT_HANDLE handle) : handle_(handle) {}
  ~EvtHandle() {
    if (handle_ != nullptr) EventLog().close(handle_);
  }
  EvtHandle(const EvtHandle&) = delete;
  EvtHandle& operator=(const EvtHandle&) = delete;
  EVT_HANDLE get() const { return handle_; }

 private:
  EVT_HANDLE handle_;
};

// The event's System properties, indexed by EVT_SYSTEM_PROPERTY_ID; empty
// when they cannot be rendered. Strings point into the vector.
std::vector<EVT_VARIANT> SystemValues(EVT_HANDLE context, EVT_HANDLE event) {
  const EventLogApi& api = EventLog();
  DWORD used = 0, count = 0;
  if (api.render(context, event, EvtRenderEventValues, 0, nullptr, &used, &count) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER)
    return {};
  std::vector<EVT_VARIANT> values((used + sizeof(EVT_VARIANT) - 1) / sizeof(EVT_VARIANT));
  if (!api.render(context, event, EvtRenderEventValues,
                  static_cast<DWORD>(values.size() * sizeof(EVT_VARIANT)), values.data(), &used,
                  &count) ||
      count <= EvtSystemTimeCreated)
    return {};
  return values;
}

// The event's message in the user's language, from its publisher's
// resources; empty when it cannot be formatted.
std::string Message(EVT_HANDLE event, LPCWSTR provider) {
  const EventLogApi& api = EventLog();
  EvtHandle metadata(api.openPublisherMetadata(nullptr, provider, nullptr, 0, 0));
  if (metadata.get() == nullptr) return std::string();
  DWORD used = 0;
  if (api.formatMessage(metadata.get(), event, 0, 0, nullptr, EvtFormatMessageEvent, 0, nullptr,
                        &used) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER || used == 0)
    return std::string();
  std::vector<wchar_t> text(used, L'\0');
  if (!api.formatMessage(metadata.get(), event, 0, 0, nullptr, EvtFormatMessageEvent, used,
                         text.data(), &used))
    return std::string();
  return Cp932Text(text.data(), lstrlenW(text.data()));
}

}  // namespace

std::uintptr_t Win32SuspendResumeNotice::Register(WindowId window) {
  if (Notice().subscribe == nullptr) return 0;
  return reinterpret_cast<std::uintptr_t>(
      Notice().subscribe(reinterpret_cast<HANDLE>(window), kNotifyWindowHandle));
}

void Win32SuspendResumeNotice::Unregister(std::uintptr_t registration) {
  if (Notice().unsubscribe != nullptr)
    Notice().unsubscribe(reinterpret_cast<HPOWERNOTIFY>(registration));
}

std::uint64_t Win32SystemLog::Now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

bool Win32SystemLog::Query(const std::string& xpath, std::size_t count,
                           std::vector<SystemLogEvent>& events) {
  const EventLogApi& api = EventLog();
  if (!api.Complete()) return false;
  const std::vector<wchar_t> filter = WideText(xpath);
  EvtHandle query(api.query(nullptr, kSystemChannel, filter.data(),
                            EvtQueryChannelPath | EvtQueryReverseDirection));
  // Nothing else is called when the query fails: Wine's wevtapi answers it
  // with NULL but has only stubs, which end the process, for the rest.
  if (query.get() == nullptr) return false;
  EvtHandle context(api.createRenderContext(0, nullptr, EvtRenderContextSystem));
  if (context.get() == nullptr) return false;
  for (std::size_t read = 0; read < count; ++read) {
    EVT_HANDLE next = nullptr;
    DWORD returned = 0;
    if (!api.next(query.get(), 1, &next, kReadTimeoutMs, 0, &returned)) {
      const DWORD error = GetLastError();
      return error == ERROR_NO_MORE_ITEMS || error == ERROR_TIMEOUT || !events.empty();
    }
    if (returned == 0) break;
    EvtHandle event(next);
    const std::vector<EVT_VARIANT> values = SystemValues(context.get(), event.get());
    if (values.empty() || values[EvtSystemProviderName].Type != EvtVarTypeString ||
        values[EvtSystemEventID].Type != EvtVarTypeUInt16 ||
        values[EvtSystemTimeCreated].Type != EvtVarTypeFileTime)
      continue;
    const LPCWSTR provider = values[EvtSystemProviderName].StringVal;
    SystemLogEvent record;
    record.provider = Cp932Text(provider, lstrlenW(provider));
    record.id = values[EvtSystemEventID].UInt16Val;
    record.time = values[EvtSystemTimeCreated].FileTimeVal;
    record.message = Message(event.get(), provider);
    events.push_back(record);
  }
  return true;
}
