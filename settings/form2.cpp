#include "settings/form2.h"

#include <optional>

#include "app/error.h"
#include "app/number_text.h"
#include "app/texts.h"
#include "monitor/sjis_path.h"
#include "settings/app_version.h"
#include "settings/integer_text.h"

TForm2* Form2 = nullptr;

namespace {

FileDialogRequest MakeSaveDialog() {
  FileDialogRequest dialog;
  dialog.save = true;
  dialog.title = texts::kSaveDialogTitle;
  dialog.filter = texts::kSaveDialogFilter;
  dialog.defaultExt = texts::kSaveDialogDefaultExt;
  dialog.fileName = texts::kSaveDialogPreset;
  return dialog;
}

FileDialogRequest MakeOpenDialog() {
  FileDialogRequest dialog;
  dialog.save = false;
  dialog.title = texts::kOpenDialogTitle;
  dialog.filter = texts::kOpenDialogFilter;
  dialog.defaultExt = texts::kOpenDialogDefaultExt;
  return dialog;
}

constexpr int kTagWavePower = 1;
constexpr int kTagWaveRes = 2;

}  // namespace

TForm2::TForm2(const Form2Controls& c)
    : edMemLimit(c.edMemLimit),
      edSavePath(c.edSavePath),
      edWavePower(c.edWavePower),
      edWaveRes(c.edWaveRes),
      cbSaveLog(c.cbSaveLog),
      cbDateLog(c.cbDateLog),
      cbWavePower(c.cbWavePower),
      cbWaveRes(c.cbWaveRes),
      btnSavePath(c.btnSavePath),
      btnWavePower(c.btnWavePower),
      btnWaveRes(c.btnWaveRes),
      Label1(c.Label1),
      cbSuspendLog(c.cbSuspendLog),
      edBatteryLimit(c.edBatteryLimit),
      cbTopPrograms(c.cbTopPrograms),
      cbAlertOnce(c.cbAlertOnce),
      SaveDialog1(MakeSaveDialog()),
      OpenDialog1(MakeOpenDialog()),
      window_(c.window) {}

void TForm2::Button2Click() {
  // The dialog starts from its own last name, not from the edit's text.
  FileDialogRequest request = SaveDialog1;
  if (!Sys().dialogs->RunFileDialog(request)) return;
  SaveDialog1.fileName = request.fileName;
  edSavePath.SetText(request.fileName);
}

void TForm2::FormShow() { Label1.SetText(texts::kVersionPrefix + AppVersion); }

void TForm2::Button1Click() { Close(); }

void TForm2::cbSaveLogClick() { EnableLogControls(cbSaveLog.Checked()); }

void TForm2::btnWavePowerClick(int senderTag) {
  const std::string mediaFolder =
      Sys().files->GetEnv(texts::kWindowsDirVariable) + texts::kMediaFolder;
  Edit* target = nullptr;
  if (senderTag == kTagWavePower) target = &edWavePower;
  if (senderTag == kTagWaveRes) target = &edWaveRes;
  if (target == nullptr) return;

  if (target->Text().empty()) OpenDialog1.initialDir = mediaFolder;
  FileDialogRequest request = OpenDialog1;
  if (!Sys().dialogs->RunFileDialog(request)) return;
  OpenDialog1.fileName = request.fileName;
  target->SetText(request.fileName);
}

void TForm2::cbWavePowerClick() { EnableWavePowerControls(cbWavePower.Checked()); }

void TForm2::cbWaveResClick() { EnableWaveResControls(cbWaveRes.Checked()); }

void TForm2::FormCloseQuery(bool& CanClose) {
  CanClose = true;
  // The limit is normalised on every request, whatever the checks decide.
  const std::int32_t limit = IntegerFromText(edMemLimit.Text()).value_or(kDefaultMemoryLimit);
  edMemLimit.SetText(SignedDecimalText(limit));
  const std::optional<std::int32_t> batteryLimit = BatteryLimitFromText(edBatteryLimit.Text());
  if (batteryLimit) edBatteryLimit.SetText(SignedDecimalText(*batteryLimit));

  FileSystem& files = *Sys().files;
  if (cbSaveLog.Checked() && !files.DirectoryExists(DirectoryPart(edSavePath.Text())))
    return Refuse(texts::kNoLogFolder, edSavePath, CanClose);
  if (cbWavePower.Checked() && !files.FileExists(edWavePower.Text()))
    return Refuse(texts::kNoPowerSoundFile, edWavePower, CanClose);
  if (cbWaveRes.Checked() && !files.FileExists(edWaveRes.Text()))
    return Refuse(texts::kNoAlertSoundFile, edWaveRes, CanClose);
  if (!batteryLimit) return Refuse(texts::kBadBatteryLimit, edBatteryLimit, CanClose);
}

void TForm2::Refuse(const char* message, Edit& field, bool& CanClose) {
  // The close may have been asked for from the other page.
  window_.ShowControl(field);
  Sys().dialogs->ShowMessage(0, message, texts::kErrorCaption, MessageKind::Error);
  CanClose = false;
}

bool TForm2::ShowModal() {
  if (window_.Visible()) throw AppError(texts::kCannotMakeVisibleModal);
  FormShow();
  return window_.RunModal();
}

void TForm2::Close() {
  bool canClose = true;
  FormCloseQuery(canClose);
  if (canClose) window_.Hide();
}

void TForm2::SetChecked(CheckBox& box, bool checked) {
  if (box.Checked() == checked) return;
  box.SetChecked(checked);
  if (&box == &cbSaveLog) cbSaveLogClick();
  if (&box == &cbWavePower) cbWavePowerClick();
  if (&box == &cbWaveRes) cbWaveResClick();
}

ExtraSettings TForm2::ExtraValues() {
  ExtraSettings values;
  values.SuspendLog = cbSuspendLog.Checked();
  values.BatteryLimit = BatteryLimitFromText(edBatteryLimit.Text()).value_or(0);
  values.TopPrograms = cbTopPrograms.Checked();
  values.AlertOnce = cbAlertOnce.Checked();
  return values;
}

void TForm2::ShowExtraValues(const ExtraSettings& values) {
  SetChecked(cbSuspendLog, values.SuspendLog);
  edBatteryLimit.SetText(SignedDecimalText(values.BatteryLimit));
  SetChecked(cbTopPrograms, values.TopPrograms);
  SetChecked(cbAlertOnce, values.AlertOnce);
}

void EnableLogControls(bool enabled) {
  Form2->edSavePath.SetEnabled(enabled);
  Form2->btnSavePath.SetEnabled(enabled);
  Form2->cbDateLog.SetEnabled(enabled);
}

void EnableWavePowerControls(bool enabled) {
  Form2->edWavePower.SetEnabled(enabled);
  Form2->btnWavePower.SetEnabled(enabled);
}

void EnableWaveResControls(bool enabled) {
  Form2->edWaveRes.SetEnabled(enabled);
  Form2->btnWaveRes.SetEnabled(enabled);
}
