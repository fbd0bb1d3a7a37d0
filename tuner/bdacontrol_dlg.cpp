// The Tuner Setting page's controls, settings and driver calls.
#include "tuner/bdacontrol_dlg.h"

#include "settings/tool_settings.h"
#include "settings/tuner_settings.h"

#include <QKeyEvent>

#include "resources/resource_ids.h"
#include "settings/tuner_settings.h"
#include "tuner/text_numbers.h"
#include "tuner/tuner_context.h"
#include "tuner/tuner_extension.h"

namespace {

constexpr int kMotorEditCount = 5;

int MotorEdit(int index) { return IDC_MOTOR0 + index; }

}  // namespace

CBdacontrolDlg::CBdacontrolDlg() : CPropertyPage(IDD_TUNER_SETTING) {}

CBdacontrolDlg::~CBdacontrolDlg() { DestroyWindow(); }

void CBdacontrolDlg::ConnectMessageMap() {
  OnClicked(IDC_LOCK_TP, [this] { OnOK(); });
  OnClicked(IDC_SET_MOTOR, [this] { OnMotor(); });
  OnClicked(IDC_SEND, [this] { OnSend(); });
  OnSelChange(IDC_DISEQC, [this] { OnSelchangeDiseqc(); });
  OnSelChange(IDC_POLARITY, [this] { OnSelchangePolarity(); });
  OnSelChange(IDC_OUTPUT_STREAM, [this] { OnSelchangeOutputStream(); });
}

bool CBdacontrolDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  ComboSetCurSel(IDC_POLARITY, 0);
  ComboSetCurSel(IDC_DISEQC, 0);
  m_nDiseqc = 0;
  m_nPolarity = 0;
  const char* startTexts[kMotorEditCount] = {"0xe0", "0x31", "0x0", "0x0", "0x0"};
  for (int i = 0; i < kMotorEditCount; ++i) SetDlgItemText(MotorEdit(i), startTexts[i]);
  LoadSettings();
  if (!BuildGraph()) return true;
  GetStreamTypeParams(this, &m_StreamType);
  ShowStreamTypeSelection();
  return true;
}

void CBdacontrolDlg::ShowStreamTypeSelection() {
  if (m_StreamType.TransportStream) ComboSetCurSel(IDC_OUTPUT_STREAM, 0);
  else if (m_StreamType.GenericStream) ComboSetCurSel(IDC_OUTPUT_STREAM, 1);
}

void CBdacontrolDlg::OnDestroy() {
  // Saved while the controls still exist.
  SaveSettings();
  ReleaseGraph();
}

// Enter anywhere on the page tunes; Escape is swallowed.
bool CBdacontrolDlg::PreTranslateMessage(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      OnOK();
      return true;
    }
    if (key == Qt::Key_Escape) return true;
  }
  return CPropertyPage::PreTranslateMessage(event);
}

bool CBdacontrolDlg::BuildGraph() { return m_Graph.Build(this); }

void CBdacontrolDlg::ReleaseGraph() { m_Graph.Release(); }

void CBdacontrolDlg::OnOK() { LockPageTransponder(); }

TuneOutcome CBdacontrolDlg::LockPageTransponder() {
  SaveSettings();
  EnableTuningButtons(false);
  const TransponderParams params =
      TransponderFromTexts(GetDlgItemText(IDC_FREQUENCY), GetDlgItemText(IDC_SYMBOL_RATE), GetDlgItemText(IDC_LNB_LOW),
                           GetDlgItemText(IDC_LNB_HIGH), m_nPolarity);
  const TuneOutcome outcome = LockTransponder(this, m_Graph.TuningSpace(), params,
                                              WithToolSettings({m_nDiseqc, m_StreamType}, ReadToolSettings(TunerSettingsPath())));
  EnableTuningButtons(true);
  return outcome;
}

bool CBdacontrolDlg::TuneTransponder(int frequencyMHz, int symbolRateKs, int polarity) {
  // Without the LNB's oscillators no frequency can be tuned; the operator
  // has not set the page up yet.
  if (AtoiText(GetDlgItemText(IDC_LNB_LOW)) <= 0) return false;
  SetDlgItemText(IDC_FREQUENCY, std::to_string(frequencyMHz));
  SetDlgItemText(IDC_SYMBOL_RATE, std::to_string(symbolRateKs));
  ComboSetCurSel(IDC_POLARITY, polarity);
  OnSelchangePolarity();
  return LockPageTransponder().submitted;
}

void CBdacontrolDlg::OnSelchangeDiseqc() { m_nDiseqc = ComboGetCurSel(IDC_DISEQC); }
void CBdacontrolDlg::OnSelchangePolarity() { m_nPolarity = ComboGetCurSel(IDC_POLARITY); }

void CBdacontrolDlg::OnSelchangeOutputStream() {
  switch (ComboGetCurSel(IDC_OUTPUT_STREAM)) {
    case 0: m_StreamType = {1, 0}; break;
    case 1: m_StreamType = {0, 1}; break;
    default: break;
  }
}

void CBdacontrolDlg::OnSend() { SaveSettings(); }

void CBdacontrolDlg::LoadSettings() {
  const TunerSettingsTexts texts = ReadTunerSettings(TunerSettingsPath());
  for (int i = 0; i < kMotorEditCount; ++i) SetDlgItemText(MotorEdit(i), texts.motor[i]);
  SetDlgItemText(IDC_FREQUENCY, texts.frequency);
  SetDlgItemText(IDC_SYMBOL_RATE, texts.symbolRate);
  SetDlgItemText(IDC_LNB_LOW, texts.lnbLow);
  SetDlgItemText(IDC_LNB_HIGH, texts.lnbHigh);
  m_nDiseqc = AtoiText(texts.diseqc);
  m_nPolarity = AtoiText(texts.polarity);
  ComboSetCurSel(IDC_DISEQC, m_nDiseqc);
  ComboSetCurSel(IDC_POLARITY, m_nPolarity);
  OnSelchangeDiseqc();
  OnSelchangePolarity();
}

void CBdacontrolDlg::SaveSettings() {
  TunerSettingsTexts texts;
  texts.polarity = std::to_string(m_nPolarity);
  texts.diseqc = std::to_string(m_nDiseqc);
  for (int i = 0; i < kMotorEditCount; ++i) texts.motor[i] = GetDlgItemText(MotorEdit(i));
  texts.frequency = GetDlgItemText(IDC_FREQUENCY);
  texts.symbolRate = GetDlgItemText(IDC_SYMBOL_RATE);
  texts.lnbLow = GetDlgItemText(IDC_LNB_LOW);
  texts.lnbHigh = GetDlgItemText(IDC_LNB_HIGH);
  WriteTunerSettings(TunerSettingsPath(), texts);
}

void CBdacontrolDlg::EnableTuningButtons(bool enable) {
  EnableDlgItem(IDC_SEND, enable);
  EnableDlgItem(IDC_SET_MOTOR, enable);
  EnableDlgItem(IDC_LOCK_TP, enable);
}

void CBdacontrolDlg::OnMotor() {
  SaveSettings();
  if (!TheTunerContext().m_pKsCtrl) {
    MessageBox(this, "OnMotor m_pKsCtrl Failed", "error");
    return;
  }
  EnableTuningButtons(false);
  std::array<std::string, kMotorEditCount> texts;
  for (int i = 0; i < kMotorEditCount; ++i) texts[i] = GetDlgItemText(MotorEdit(i));
  const MotorMessage message = ParseMotorMessage(texts);
  if (message.length >= kMinMotorMessageLength) SendMotorMessage(this, message);
  EnableTuningButtons(true);
}
