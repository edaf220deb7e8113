#pragma once

// The program's own texts. The source is UTF-8; the compiler turns every
// literal into Shift-JIS bytes (-fexec-charset=CP932), so these are the bytes
// the program shows, logs and writes.
namespace texts {

// Power events.
inline constexpr char kQuerySuspend[] = "サスペンド要求";
inline constexpr char kQueryStandby[] = "スタンバイ要求";
inline constexpr char kQuerySuspendFailed[] = "サスペンド失敗";
inline constexpr char kQueryStandbyFailed[] = "スタンバイ失敗";
inline constexpr char kSuspend[] = "サスペンド実行";
inline constexpr char kStandby[] = "スタンバイ実行";
inline constexpr char kResumeCritical[] = "致命的な問題より復帰";
inline constexpr char kResumeSuspend[] = "サスペンド復帰";
inline constexpr char kResumeStandby[] = "スタンバイ復帰";
inline constexpr char kBatteryLow[] = "電源不足";
inline constexpr char kPowerStatusChange[] = "電源状態変更";
inline constexpr char kOemEvent[] = "OEMイベント:";
inline constexpr char kResumeAutomatic[] = "復帰処理中...";
inline constexpr char kPowerSettingChange[] = "電源設定変更";
inline constexpr char kOnMains[] = "(ACアダプタ)";
inline constexpr char kOnBattery[] = "(バッテリ)";
inline constexpr char kRemainingHead[] = " [残";
inline constexpr char kRemainingTail[] = "%]";

// Event lines.
inline constexpr char kEventSeparator[] = " >> ";
inline constexpr char kDefaultDateSeparator[] = "/";
inline constexpr char kDefaultTimeSeparator[] = ":";
inline constexpr char kLineEnd[] = "\r\n";

// I/O failures.
inline constexpr char kIoFileNotFound[] = "ファイルが見つかりません";
inline constexpr char kIoBadFileName[] = "ファイル名の指定が間違っています";
inline constexpr char kIoTooManyOpenFiles[] = "オープンしたファイルが多すぎます";
inline constexpr char kIoAccessDenied[] = "ファイルへのアクセスが拒否されました";
inline constexpr char kIoReadPastEnd[] = "ファイルの末尾以降を読み込みました";
inline constexpr char kIoDiskFull[] = "ディスクがいっぱいです";
inline constexpr char kIoNotANumber[] = "入力値が数値ではありません";
inline constexpr char kIoErrorHead[] = "I/O エラー (";
inline constexpr char kIoErrorTail[] = ")";

// Memory watch.
inline constexpr char kMemoryAlertHead[] = "使用可能メモリが";
inline constexpr char kMemoryAlertTail[] = "MBを切りました";
inline constexpr char kMemoryDialogMiddle[] = "。\r\n(現在";
inline constexpr char kMemoryDialogEnd[] = "MB)\r\n不要なアプリケーションを終了してください。";
inline constexpr char kInformationCaption[] = "情報";
inline constexpr char kOkButton[] = "OK";
inline constexpr char kNoTimer[] = "タイマーを取得できません";

// Start and end of monitoring, single instance.
inline constexpr char kAlreadyRunning[] = "すでに起動されています。";
inline constexpr char kAlreadyRunningCaption[] = "Tessiral";
inline constexpr char kMonitorStartHead[] = "電源状態監視開始 ";
inline constexpr char kMegabytes[] = "MB";
inline constexpr char kMonitorEnd[] = "電源状態監視終了";
inline constexpr char kMutexName[] = "TessarilMutex";

// Main window.
inline constexpr char kMainWindowClass[] = "TForm1";
inline constexpr char kMainWindowCaption[] = "電源状態監視";
inline constexpr char kMainFont[] = "ＭＳ Ｐゴシック";
inline constexpr char kMemoFont[] = "ＭＳ ゴシック";
inline constexpr char kMenuFile[] = "ファイル(&F)";
inline constexpr char kMenuSettings[] = "設定(&O)";
inline constexpr char kMenuExit[] = "終了(&X)";
inline constexpr char kListAppendFailed[] = "メモリが不足しているため一覧に行を追加できません";

// Notification area.
inline constexpr char kTrayTip[] = "Tessaril";
inline constexpr char kTaskbarCreated[] = "TaskbarCreated";

// Settings file.
inline constexpr char kIniFileName[] = "Tessaril.ini";
inline constexpr char kIniSection[] = "main";
inline constexpr char kDefaultLogFileName[] = "Tessaril.log";
inline constexpr char kCannotWriteTail[] = " に書き込めません";

// Settings dialog.
inline constexpr char kSettingsCaption[] = "設定";
inline constexpr char kErrorCaption[] = "エラー";
inline constexpr char kNoLogFolder[] = "ログ出力先フォルダが存在しません";
inline constexpr char kNoPowerSoundFile[] = "電源状態変更時のファイルが存在しません";
inline constexpr char kNoAlertSoundFile[] = "リソース監視時のファイルが存在しません";
inline constexpr char kCannotMakeVisibleModal[] = "表示されているウィンドウをモーダルにすることはできません";
inline constexpr char kVersionPrefix[] = "Tessaril ver.";
inline constexpr char kNoVersion[] = "not.";

// Settings dialog controls and file dialogs.
inline constexpr char kSettingsWindowClass[] = "TForm2";
inline constexpr char kPageGeneral[] = "全般";
inline constexpr char kGroupResource[] = "リソース監視";
inline constexpr char kMemoryLimitHead[] = "使用可能なメモリが";
inline constexpr char kMemoryLimitTail[] = "MB以下になったら通知する";
inline constexpr char kGroupLog[] = "ログ";
inline constexpr char kSaveLogCaption[] = "ログ出力先";
inline constexpr char kDateLogCaption[] = "ファイル名に年月日を付加する";
inline constexpr char kGroupSound[] = "サウンド";
inline constexpr char kWavePowerCaption[] = "電源状態変更時";
inline constexpr char kWaveResCaption[] = "リソース監視時";
inline constexpr char kBrowseCaption[] = "...";
inline constexpr char kOkCaption[] = "&OK";
inline constexpr char kLabel1Initial[] = "Label1";
inline constexpr char kInitialMemoryLimit[] = "200";
inline constexpr char kSaveDialogTitle[] = "ログファイルの保存先";
inline constexpr char kSaveDialogFilter[] = "ログファイル(*.log)|*.log|全てのファイル(*.*)|*.*";
inline constexpr char kSaveDialogDefaultExt[] = "log";
inline constexpr char kSaveDialogPreset[] = "C:\\Project\\Tessaril\\Tessaril.log";
inline constexpr char kOpenDialogTitle[] = "音声ファイルを開く";
inline constexpr char kOpenDialogFilter[] = "waveファイル(*.wav)|*.wav";
inline constexpr char kOpenDialogDefaultExt[] = "wav";
inline constexpr char kWindowsDirVariable[] = "windir";
inline constexpr char kMediaFolder[] = "\\Media";

// The 拡張 page, its settings section and its features.
inline constexpr char kIniExtraSection[] = "extra";
inline constexpr char kPageExtra[] = "拡張";
inline constexpr char kGroupPower[] = "電源";
inline constexpr char kGroupAlert[] = "メモリ警告";
inline constexpr char kSuspendLogCaption[] = "スリープ・休止の時間を記録する";
inline constexpr char kBatteryLimitHead[] = "バッテリ残量が";
inline constexpr char kBatteryLimitTail[] = "%以下になったら通知する";
inline constexpr char kTopProgramsCaption[] = "警告にメモリ使用量の多いプログラムを表示する";
inline constexpr char kAlertOnceCaption[] = "メモリが回復するまで警告を繰り返さない";
inline constexpr char kInitialBatteryLimit[] = "0";
inline constexpr char kBadBatteryLimit[] = "バッテリ残量は0から99の値を指定してください";
inline constexpr char kSuspendTimeHead[] = "サスペンド時間 ";
inline constexpr char kWakeReasonHead[] = "復帰要因: ";
inline constexpr char kHours[] = "時間";
inline constexpr char kMinutes[] = "分";
inline constexpr char kPercentArrow[] = "%→";
inline constexpr char kBatteryAlertTail[] = "%以下になりました";
inline constexpr char kBatteryDialogEnd[] = "%)\r\n電源に接続してください。";
inline constexpr char kTopProgramsHead[] = "\r\n\r\nメモリ使用量の多いプログラム:";

// The graph window.
inline constexpr char kMenuGraph[] = "グラフ(&G)";
inline constexpr char kGraphWindowClass[] = "TGraphForm";
inline constexpr char kGraphCaption[] = "推移グラフ";
inline constexpr char kGraphMemoryTitle[] = "空きメモリ (MB)";
inline constexpr char kGraphBatteryTitle[] = "バッテリ残量 (%)";
inline constexpr char kGraphMains[] = "ACアダプタ";
inline constexpr char kGraphOnBattery[] = "バッテリ";
inline constexpr char kGraphSleep[] = "スリープ";
inline constexpr char kNoBattery[] = "バッテリなし";
inline constexpr char kMenuSaveCsv[] = "CSVで保存(&S)...";
inline constexpr char kCsvDialogTitle[] = "CSVで保存";
inline constexpr char kCsvDialogFilter[] = "CSVファイル(*.csv)|*.csv|全てのファイル(*.*)|*.*";
inline constexpr char kCsvDialogDefaultExt[] = "csv";
inline constexpr char kCsvFileHead[] = "Tessaril_";
inline constexpr char kCsvFileTail[] = ".csv";
inline constexpr char kCsvTimeTitle[] = "日時";
inline constexpr char kCsvSeparator[] = ",";

}  // namespace texts
