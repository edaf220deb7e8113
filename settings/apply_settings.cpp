#include "settings/apply_settings.h"

#include "settings/form2.h"
#include "settings/integer_text.h"
#include "settings/monitor_settings.h"
#include "shell/form1.h"

void LoadStoredSettings() {
  const WindowGeometry geometry = Form2->loadIni(Form1->Left(), Form1->Top());
  Form1->SetLeft(geometry.Left);
  Form1->SetTop(geometry.Top);
  Form1->SetWidth(geometry.Width);
  Form1->SetHeight(geometry.Height);
}

void ApplySettings() {
  LoadStoredSettings();

  // loadIni has just written the limit as decimal text.
  MonitorSettings.MemoryLimit =
      IntegerFromText(Form2->edMemLimit.Text()).value_or(kDefaultMemoryLimit);
  MonitorSettings.SavePath = Form2->edSavePath.Text();
  MonitorSettings.WavePowerFile = Form2->edWavePower.Text();
  MonitorSettings.WaveResFile = Form2->edWaveRes.Text();
  MonitorSettings.WavePower = Form2->cbWavePower.Checked();
  MonitorSettings.WaveRes = Form2->cbWaveRes.Checked();
  MonitorSettings.SaveLog = Form2->cbSaveLog.Checked();
  MonitorSettings.DateLog = Form2->cbDateLog.Checked();
  MonitorSettings.Extra = Form2->ExtraValues();
}

void TForm1::O1Click() {
  // However the dialog closed, what it holds is saved and applied: when the
  // program is ending, the end line then goes by the settings just made.
  Form2->ShowModal();
  // The exit steps destroy the dialog; nothing may reach it after that.
  if (Form2 == nullptr) return;
  Form2->saveIni(Left(), Top(), Width(), Height());
  ApplySettings();
}

void TForm1::FormCloseQuery(bool&) {
  // A failed save throws: the close request is abandoned and the error shown.
  Form2->saveIni(Left(), Top(), Width(), Height());
}
