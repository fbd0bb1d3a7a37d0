// The Tuner Setting page. It owns the receive graph; its controls come with
// the tuning work.
#pragma once

#include "platform/ui/property_sheet.h"
#include "resources/resource_ids.h"

class CBdacontrolDlg : public CPropertyPage {
 public:
  CBdacontrolDlg() : CPropertyPage(IDD_TUNER_SETTING) {}
};
