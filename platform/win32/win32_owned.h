#pragma once
#include <windows.h>

#include <utility>

// A GDI or USER handle owned by one object and released with it; moves,
// never copies. Replacing it releases the old handle only after the new one
// is in place, so a window never holds a freed font.
template <typename Handle, auto Release>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() {
    if (handle_ != nullptr) Release(handle_);
  }
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Owned old(std::move(*this));
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle get() const { return handle_; }

 private:
  Handle handle_ = nullptr;
};

using OwnedFont = Owned<HFONT, &DeleteObject>;
using OwnedIcon = Owned<HICON, &DestroyIcon>;
