#include "settings/graph_bounds.h"

#include <limits>

#include "app/texts.h"
#include "settings/ini_file.h"

namespace {
constexpr std::int32_t kMissing = std::numeric_limits<std::int32_t>::min();
}

const std::vector<std::string>& GraphBoundsKeys() {
  static const std::vector<std::string> keys = {"GraphLeft", "GraphTop", "GraphWidth",
                                                "GraphHeight"};
  return keys;
}

std::optional<GraphBounds> ReadGraphBounds(IniFile& ini) {
  std::int32_t values[4];
  for (std::size_t i = 0; i < 4; ++i) {
    values[i] = ini.ReadInteger(texts::kIniExtraSection, GraphBoundsKeys()[i], kMissing);
    if (values[i] == kMissing) return std::nullopt;
  }
  const GraphBounds bounds{values[0], values[1], values[2], values[3]};
  if (bounds.Width < kMinGraphSize || bounds.Height < kMinGraphSize) return std::nullopt;
  return bounds;
}

void WriteGraphBounds(IniFile& ini, const GraphBounds& bounds) {
  const std::int32_t values[4] = {bounds.Left, bounds.Top, bounds.Width, bounds.Height};
  for (std::size_t i = 0; i < 4; ++i)
    ini.WriteInteger(texts::kIniExtraSection, GraphBoundsKeys()[i], values[i]);
}
