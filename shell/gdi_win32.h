#pragma once
#include <windows.h>

#include "platform/win32/win32_owned.h"

// GDI handles of one paint, each given back on every path out of it, an
// exception's included.

using OwnedPen = Owned<HPEN, &DeleteObject>;
using OwnedBitmap = Owned<HBITMAP, &DeleteObject>;
using OwnedDc = Owned<HDC, &DeleteDC>;
using OwnedMenu = Owned<HMENU, &DestroyMenu>;

// An object selected into a DC until the scope ends, then the one before it
// again; declared after the object, so it goes first.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, old_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint to EndPaint: the area is valid again however the drawing ends.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_;
};
