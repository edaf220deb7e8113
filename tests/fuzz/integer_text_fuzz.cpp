#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/number_text.h"
#include "settings/integer_text.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/integer_text_reference.h"

// The integer text rule over any bytes, checked against what the standard
// library reads from the same text.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::optional<std::int32_t> value = IntegerFromText(text);
  FUZZ_CHECK(value == reference::IntegerFromText(text));
  if (value) {
    // What the program writes back reads as the same number.
    FUZZ_CHECK(IntegerFromText(SignedDecimalText(*value)) == value);
    // Nothing may follow the digits.
    FUZZ_CHECK(!IntegerFromText(text + "g") && !IntegerFromText(text + " "));
  }
  return 0;
}
