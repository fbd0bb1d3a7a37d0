// The Tuner Setting page: transponder fields, polarity, DiSEqC port and
// output stream selections, and a row of five bytes for a hand-typed DiSEqC
// message. It owns the receive graph: its initialisation builds the graph
// and its destruction tears it down. UI thread only.
#pragma once

#include <string>

#include "platform/com/com_ptr.h"
#include "platform/media/bda_interfaces.h"
#include "platform/ui/property_sheet.h"
#include "tuner/band_decision.h"
#include "tuner/receive_graph.h"
#include "tuner/transponder_tuning.h"
#include "tuner/tuner_records.h"

class CBdacontrolDlg : public CPropertyPage {
 public:
  CBdacontrolDlg();
  ~CBdacontrolDlg() override;

  bool OnInitDialog() override;
  // "Lock TP": brings the card onto the page's transponder.
  void OnOK() override;
  // Escape does nothing on this page.
  void OnCancel() override {}
  void OnDestroy() override;
  bool PreTranslateMessage(QEvent* event) override;

  // Puts a transponder into the page's fields and locks it as "Lock TP"
  // does (the settings saved with it); false when the page has no LNB yet
  // or the card did not take the tune.
  bool TuneTransponder(int frequencyMHz, int symbolRateKs, int polarity);

  void OnMotor();
  void OnSend();
  void OnSelchangeDiseqc();
  void OnSelchangePolarity();
  void OnSelchangeOutputStream();

  void LoadSettings();
  void SaveSettings();

  bool BuildGraph();
  void ReleaseGraph();

  int Polarity() const { return m_nPolarity; }
  int Diseqc() const { return m_nDiseqc; }
  const TUNER_STREAMTYPE_PARAMS& StreamType() const { return m_StreamType; }
  ITuningSpace* TuningSpace() const { return m_Graph.TuningSpace(); }

 protected:
  void ConnectMessageMap() override;

 private:
  void EnableTuningButtons(bool enable);
  TuneOutcome LockPageTransponder();
  void ShowStreamTypeSelection();

  TUNER_STREAMTYPE_PARAMS m_StreamType{1, 0};
  int m_nPolarity = 0;
  int m_nDiseqc = 0;
  ReceiveGraph m_Graph;
};
