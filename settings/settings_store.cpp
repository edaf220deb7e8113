#include "app/number_text.h"
#include "app/texts.h"
#include "monitor/sjis_path.h"
#include "platform/platform.h"
#include "settings/extra_settings.h"
#include "settings/form2.h"
#include "settings/ini_file.h"

namespace {

constexpr char kKeyMemoryLimit[] = "MemoryLimit";
constexpr char kKeySavePath[] = "SavePath";
constexpr char kKeyWavePowerFile[] = "WavePowerFile";
constexpr char kKeyWaveResFile[] = "WaveResFile";
constexpr char kKeySaveLog[] = "SaveLog";
constexpr char kKeyDateLog[] = "DateLog";
constexpr char kKeyWavePower[] = "WavePower";
constexpr char kKeyWaveRes[] = "WaveRes";
constexpr char kKeyLeft[] = "Left";
constexpr char kKeyTop[] = "Top";
constexpr char kKeyWidth[] = "Width";
constexpr char kKeyHeight[] = "Height";

constexpr std::int32_t kDefaultWidth = 484;
constexpr std::int32_t kDefaultHeight = 80;

// No value the store writes holds this byte.
constexpr char kAbsent[] = "\x01";

bool HasMainSection(IniFile& ini) {
  for (const char* key : {kKeyMemoryLimit, kKeySavePath, kKeyWavePowerFile, kKeyWaveResFile,
                          kKeySaveLog, kKeyDateLog, kKeyWavePower, kKeyWaveRes, kKeyLeft, kKeyTop,
                          kKeyWidth, kKeyHeight})
    if (ini.ReadString(key, kAbsent) != kAbsent) return true;
  return false;
}

}  // namespace

WindowGeometry TForm2::loadIni(std::int32_t defaultLeft, std::int32_t defaultTop) {
  WindowGeometry geometry;
  {
    IniFile ini(SettingsFilePath());
    edMemLimit.SetText(SignedDecimalText(ini.ReadInteger(kKeyMemoryLimit, kDefaultMemoryLimit)));
    const std::string defaultLog =
        DirectoryPart(Sys().files->ModuleFileName()) + texts::kDefaultLogFileName;
    edSavePath.SetText(ini.ReadString(kKeySavePath, defaultLog));
    edWavePower.SetText(ini.ReadString(kKeyWavePowerFile, ""));
    edWaveRes.SetText(ini.ReadString(kKeyWaveResFile, ""));
    SetChecked(cbSaveLog, ini.ReadBool(kKeySaveLog, false));
    SetChecked(cbDateLog, ini.ReadBool(kKeyDateLog, false));
    SetChecked(cbWavePower, ini.ReadBool(kKeyWavePower, false));
    SetChecked(cbWaveRes, ini.ReadBool(kKeyWaveRes, false));
    geometry.Left = ini.ReadInteger(kKeyLeft, defaultLeft);
    geometry.Top = ini.ReadInteger(kKeyTop, defaultTop);
    geometry.Width = ini.ReadInteger(kKeyWidth, kDefaultWidth);
    geometry.Height = ini.ReadInteger(kKeyHeight, kDefaultHeight);
    ShowExtraValues(ReadExtraSettings(ini));
  }
  EnableLogControls(cbSaveLog.Checked());
  EnableWavePowerControls(cbWavePower.Checked());
  EnableWaveResControls(cbWaveRes.Checked());
  return geometry;
}

void TForm2::saveIni(std::int32_t left, std::int32_t top, std::int32_t width,
                     std::int32_t height) {
  IniFile ini(SettingsFilePath());
  // "[main]" comes first in the file. The graph window may have made the
  // file with its place alone (opened on a fresh install): that section
  // goes, and comes back after this one.
  const GraphKeys graph = HasMainSection(ini) ? GraphKeys() : TakeExtraSection(ini);
  ini.WriteString(kKeyMemoryLimit, edMemLimit.Text());
  ini.WriteString(kKeySavePath, edSavePath.Text());
  ini.WriteString(kKeyWavePowerFile, edWavePower.Text());
  ini.WriteString(kKeyWaveResFile, edWaveRes.Text());
  ini.WriteBool(kKeySaveLog, cbSaveLog.Checked());
  ini.WriteBool(kKeyDateLog, cbDateLog.Checked());
  ini.WriteBool(kKeyWavePower, cbWavePower.Checked());
  ini.WriteBool(kKeyWaveRes, cbWaveRes.Checked());
  ini.WriteInteger(kKeyLeft, left);
  ini.WriteInteger(kKeyTop, top);
  ini.WriteInteger(kKeyWidth, width);
  ini.WriteInteger(kKeyHeight, height);
  WriteExtraSettings(ini, ExtraValues());
  PutGraphKeys(ini, graph);
}
