// A carrier entered on the Tuner Setting page as a user enters it, for tests
// that tune the card through the page.
#pragma once

#include "resources/resource_ids.h"
#include "tuner/bdacontrol_dlg.h"

// The four edits: frequency and symbol rate, and the LNB's oscillators (a
// universal LNB's unless given).
inline void EnterCarrier(CBdacontrolDlg& page, const char* frequency, const char* symbolRate,
                         const char* lnbLow = "9750", const char* lnbHigh = "10600") {
  page.SetDlgItemText(IDC_FREQUENCY, frequency);
  page.SetDlgItemText(IDC_SYMBOL_RATE, symbolRate);
  page.SetDlgItemText(IDC_LNB_LOW, lnbLow);
  page.SetDlgItemText(IDC_LNB_HIGH, lnbHigh);
}

// The polarisation and DiSEqC port lists' selections, each followed by the
// page's own change handler.
inline void SelectPolarityAndPort(CBdacontrolDlg& page, int polarity, int port) {
  page.ComboSetCurSel(IDC_POLARITY, polarity);
  page.OnSelchangePolarity();
  page.ComboSetCurSel(IDC_DISEQC, port);
  page.OnSelchangeDiseqc();
}
