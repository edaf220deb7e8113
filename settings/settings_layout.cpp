#include "settings/settings_layout.h"

#include <algorithm>
#include <stdexcept>

#include "app/texts.h"

namespace {

// The page fills the page control's display area, which the native control
// computes; it has no place of its own.
constexpr int kFill = 0;

}  // namespace

const std::vector<ControlDesign>& SettingsControls() {
  using K = ControlKind;
  static const std::vector<ControlDesign> controls = {
      {"PageControl1", kPageControl1, K::PageControl, kNoControl, 0, 0, 394, 240, "", 0, 0},
      {"TabSheet1", kTabSheet1, K::TabSheet, kPageControl1, kFill, kFill, kFill, kFill,
       texts::kPageGeneral, kNoTabStop, 0},
      {"GroupBox4", kGroupBox4, K::GroupBox, kTabSheet1, 0, 8, 385, 49, texts::kGroupResource, 5, 0},
      {"Label2", kLabel2, K::Label, kGroupBox4, 8, 24, 100, 12, texts::kMemoryLimitHead, kNoTabStop,
       0},
      {"edMemLimit", kEdMemLimit, K::Edit, kGroupBox4, 120, 20, 49, 20, texts::kInitialMemoryLimit,
       0, 0},
      {"Label5", kLabel5, K::Label, kGroupBox4, 176, 24, 140, 12, texts::kMemoryLimitTail,
       kNoTabStop, 0},
      {"GroupBox1", kGroupBox1, K::GroupBox, kTabSheet1, 0, 63, 385, 68, texts::kGroupLog, 0, 0},
      {"cbSaveLog", kCbSaveLog, K::CheckBox, kGroupBox1, 8, 16, 161, 17, texts::kSaveLogCaption, 0,
       0},
      {"edSavePath", kEdSavePath, K::Edit, kGroupBox1, 120, 16, 225, 20, "", 1, 0},
      {"cbDateLog", kCbDateLog, K::CheckBox, kGroupBox1, 8, 40, 209, 17, texts::kDateLogCaption, 2,
       0},
      {"GroupBox3", kGroupBox3, K::GroupBox, kTabSheet1, 0, 136, 385, 74, texts::kGroupSound, 1, 0},
      {"edWavePower", kEdWavePower, K::Edit, kGroupBox3, 120, 16, 225, 20, "", 0, 0},
      {"edWaveRes", kEdWaveRes, K::Edit, kGroupBox3, 120, 40, 225, 20, "", 1, 0},
      {"cbWavePower", kCbWavePower, K::CheckBox, kGroupBox3, 8, 18, 105, 17,
       texts::kWavePowerCaption, 2, 0},
      {"cbWaveRes", kCbWaveRes, K::CheckBox, kGroupBox3, 8, 42, 105, 17, texts::kWaveResCaption, 3,
       0},
      {"btnWavePower", kBtnWavePower, K::Button, kTabSheet1, 351, 151, 27, 22,
       texts::kBrowseCaption, 2, 1},
      {"btnWaveRes", kBtnWaveRes, K::Button, kTabSheet1, 351, 176, 27, 22, texts::kBrowseCaption,
       3, 2},
      {"btnSavePath", kBtnSavePath, K::Button, kTabSheet1, 351, 79, 27, 22, texts::kBrowseCaption,
       4, 0},
      {"Panel1", kPanel1, K::Panel, kNoControl, 0, 240, 394, 37, "", 1, 0},
      // Sized to its text whenever the text is set.
      {"Label1", kLabel1, K::Label, kPanel1, 8, 14, 0, 0, texts::kLabel1Initial, kNoTabStop, 0},
      {"Button1", kButton1, K::Button, kPanel1, 316, 7, 75, 25, texts::kOkCaption, 0, 0},
      // The second page keeps the first one's boxes, rows and gaps.
      {"TabSheet2", kTabSheet2, K::TabSheet, kPageControl1, kFill, kFill, kFill, kFill,
       texts::kPageExtra, kNoTabStop, 0},
      {"GroupBox5", kGroupBox5, K::GroupBox, kTabSheet2, 0, 8, 385, 68, texts::kGroupPower, 0, 0},
      {"cbSuspendLog", kCbSuspendLog, K::CheckBox, kGroupBox5, 8, 16, 250, 17,
       texts::kSuspendLogCaption, 0, 0},
      {"Label6", kLabel6, K::Label, kGroupBox5, 8, 44, 100, 12, texts::kBatteryLimitHead,
       kNoTabStop, 0},
      {"edBatteryLimit", kEdBatteryLimit, K::Edit, kGroupBox5, 120, 40, 49, 20,
       texts::kInitialBatteryLimit, 1, 0},
      {"Label7", kLabel7, K::Label, kGroupBox5, 176, 44, 140, 12, texts::kBatteryLimitTail,
       kNoTabStop, 0},
      {"GroupBox6", kGroupBox6, K::GroupBox, kTabSheet2, 0, 82, 385, 68, texts::kGroupAlert, 1, 0},
      {"cbTopPrograms", kCbTopPrograms, K::CheckBox, kGroupBox6, 8, 16, 300, 17,
       texts::kTopProgramsCaption, 0, 0},
      {"cbAlertOnce", kCbAlertOnce, K::CheckBox, kGroupBox6, 8, 40, 300, 17,
       texts::kAlertOnceCaption, 1, 0},
  };
  return controls;
}

const ControlDesign& DesignedControl(int id) {
  for (const ControlDesign& design : SettingsControls())
    if (design.id == id) return design;
  throw std::logic_error("no settings control with this id");
}

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::PageControl || kind == ControlKind::Edit ||
         kind == ControlKind::CheckBox || kind == ControlKind::Button;
}

namespace {

void AppendTabSequence(const std::vector<ControlDesign>& controls, int parent,
                       std::vector<int>& sequence) {
  std::vector<const ControlDesign*> children;
  for (const ControlDesign& design : controls)
    if (design.parent == parent && design.id != parent) children.push_back(&design);
  // Stable: children without a tab order keep their table order, after the rest.
  std::stable_sort(children.begin(), children.end(), [](const ControlDesign* a, const ControlDesign* b) {
    const unsigned ka = static_cast<unsigned>(a->tabOrder);  // kNoTabStop sorts last
    const unsigned kb = static_cast<unsigned>(b->tabOrder);
    return ka < kb;
  });
  for (const ControlDesign* child : children) {
    if (TakesFocus(child->kind)) sequence.push_back(child->id);
    AppendTabSequence(controls, child->id, sequence);
  }
}

}  // namespace

std::vector<int> TabSequence(const std::vector<ControlDesign>& controls) {
  std::vector<int> sequence;
  AppendTabSequence(controls, kNoControl, sequence);
  return sequence;
}
