#pragma once

// Sizes are designed at 96 DPI (100 % display scaling) and shown at the DPI
// of the window that holds them.
inline constexpr int kDesignDpi = 96;

// A length measured at `fromDpi`, at `toDpi`: value × toDpi / fromDpi,
// rounded to the nearest pixel with halves away from zero, as MulDiv does,
// so -12 (a font height) becomes -18 at 1.5 times. A DPI that is not
// positive leaves the value as it is.
int Rescale(int value, int fromDpi, int toDpi);

// A length designed at 96 DPI, at `dpi`. At 96 nothing changes.
inline int Scale(int value96, int dpi) { return Rescale(value96, kDesignDpi, dpi); }
