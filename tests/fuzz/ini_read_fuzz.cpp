#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>

#include "app/texts.h"
#include "monitor/sjis_path.h"
#include "settings/form2.h"
#include "settings/ini_file.h"
#include "tests/fake/fake_controls.h"
#include "tests/fake/fake_platform.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/integer_text_reference.h"

// Any values under any of the twelve keys, through the store's load: the
// dialog ends with the values in their read forms or the defaults, and the
// limit is always decimal text.

namespace {

constexpr std::size_t kMaxValueBytes = 2047;

enum class Kind { Integer, String, Boolean };
struct Key {
  const char* name;
  Kind kind;
};
constexpr Key kKeys[] = {
    {"MemoryLimit", Kind::Integer}, {"SavePath", Kind::String},   {"WavePowerFile", Kind::String},
    {"WaveResFile", Kind::String},  {"SaveLog", Kind::Boolean},   {"DateLog", Kind::Boolean},
    {"WavePower", Kind::Boolean},   {"WaveRes", Kind::Boolean},   {"Left", Kind::Integer},
    {"Top", Kind::Integer},         {"Width", Kind::Integer},     {"Height", Kind::Integer},
};

// The value as the profile calls hand it over: quotes around it belong to
// the file format, and at most 2047 bytes come back.
std::optional<std::string> AsRead(const std::optional<std::string>& value) {
  if (!value) return std::nullopt;
  std::string text = *value;
  if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0])
    text = text.substr(1, text.size() - 2);
  return text.substr(0, kMaxValueBytes);
}

// The integer read form, by the reference reading: the program's own rule
// is what is under test, so it gives none of the expected values.
std::optional<std::int32_t> IntegerReadForm(const std::optional<std::string>& value) {
  const std::optional<std::string> text = AsRead(value);
  if (!text) return std::nullopt;
  return reference::IntegerFromText(*text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  FakePlatform fake;
  FakeForm2 dialog;
  const std::string ini = SettingsFilePath();
  std::optional<std::string> values[std::size(kKeys)];
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    if (!in.ConsumeBool()) continue;
    values[i] = in.ConsumeRandomLengthString(5000);
    fake.profile.files[ini].push_back({kKeys[i].name, *values[i]});
  }
  const auto defaultLeft = in.ConsumeIntegral<std::int32_t>();
  const auto defaultTop = in.ConsumeIntegral<std::int32_t>();

  const WindowGeometry geometry = dialog.form.loadIni(defaultLeft, defaultTop);

  const std::int32_t limit = IntegerReadForm(values[0]).value_or(kDefaultMemoryLimit);
  FUZZ_CHECK(dialog.edMemLimit.text == std::to_string(limit));
  const std::string defaultLog =
      DirectoryPart(fake.files.moduleFileName) + texts::kDefaultLogFileName;
  const std::string* const edits[] = {&dialog.edSavePath.text, &dialog.edWavePower.text,
                                      &dialog.edWaveRes.text};
  const std::string stringDefaults[] = {defaultLog, "", ""};
  for (int i = 0; i < 3; ++i) {
    FUZZ_CHECK(*edits[i] == AsRead(values[1 + i]).value_or(stringDefaults[i]));
  }
  const bool boxes[] = {dialog.cbSaveLog.checked, dialog.cbDateLog.checked,
                        dialog.cbWavePower.checked, dialog.cbWaveRes.checked};
  for (int i = 0; i < 4; ++i)
    FUZZ_CHECK(boxes[i] == (IntegerReadForm(values[4 + i]).value_or(0) != 0));
  FUZZ_CHECK(geometry.Left == IntegerReadForm(values[8]).value_or(defaultLeft));
  FUZZ_CHECK(geometry.Top == IntegerReadForm(values[9]).value_or(defaultTop));
  FUZZ_CHECK(geometry.Width == IntegerReadForm(values[10]).value_or(484));
  FUZZ_CHECK(geometry.Height == IntegerReadForm(values[11]).value_or(80));
  // The enablement rules follow the boxes.
  FUZZ_CHECK(dialog.edSavePath.enabled == dialog.cbSaveLog.checked);
  FUZZ_CHECK(dialog.edWavePower.enabled == dialog.cbWavePower.checked);
  FUZZ_CHECK(dialog.edWaveRes.enabled == dialog.cbWaveRes.checked);
  return 0;
}
