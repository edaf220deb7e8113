#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class IniFile;

// Where the graph window was last, kept in section "extra" of the settings
// file once the window has been open.
struct GraphBounds {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

// Below this the plots have no room; a smaller saved size is not used.
inline constexpr std::int32_t kMinGraphSize = 200;

// Empty unless all four keys hold integers and the size is usable.
std::optional<GraphBounds> ReadGraphBounds(IniFile& ini);
void WriteGraphBounds(IniFile& ini, const GraphBounds& bounds);
const std::vector<std::string>& GraphBoundsKeys();
