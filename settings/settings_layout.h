#pragma once
#include <string>
#include <vector>

// The settings dialog's controls as designed: their places, captions and tab
// order. The native dialog is built from this table, so the pixel positions
// hold exactly and the Tab key follows the designed order.

enum class ControlKind { PageControl, TabSheet, GroupBox, Label, Edit, CheckBox, Button, Panel };

// Control ids, also the native ids of the windows. 1 and 2 are left out: the
// system sends them for Enter and Esc.
enum SettingsControlId : int {
  kNoControl = 0,  // the dialog itself, as a parent
  kPageControl1 = 100,
  kTabSheet1,
  kGroupBox4,
  kLabel2,
  kEdMemLimit,
  kLabel5,
  kGroupBox1,
  kCbSaveLog,
  kEdSavePath,
  kCbDateLog,
  kGroupBox3,
  kEdWavePower,
  kEdWaveRes,
  kCbWavePower,
  kCbWaveRes,
  kBtnWavePower,
  kBtnWaveRes,
  kBtnSavePath,
  kPanel1,
  kLabel1,
  kButton1,
  kTabSheet2,
  kGroupBox5,
  kCbSuspendLog,
  kLabel6,
  kEdBatteryLimit,
  kLabel7,
  kGroupBox6,
  kCbTopPrograms,
  kCbAlertOnce,
};

inline constexpr int kNoTabStop = -1;

struct ControlDesign {
  const char* name;
  int id;
  ControlKind kind;
  int parent;  // kNoControl: the dialog
  int left, top, width, height;  // in the parent's client area
  const char* caption;
  int tabOrder;  // within the parent; kNoTabStop for labels and the page
  int tag;
};

inline constexpr int kSettingsClientWidth = 394;
inline constexpr int kSettingsClientHeight = 277;

// Every control, parents before their children.
const std::vector<ControlDesign>& SettingsControls();
const ControlDesign& DesignedControl(int id);

// True for the controls that take the focus.
bool TakesFocus(ControlKind kind);

// The focusable controls in the order the Tab key visits them: a parent's
// children by their tab order, a container's contents where the container
// stands.
std::vector<int> TabSequence(const std::vector<ControlDesign>& controls);
