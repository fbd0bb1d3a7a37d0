// The Motor/Positioner page; its controls come with the positioner work.
#pragma once

#include "platform/ui/property_sheet.h"
#include "resources/resource_ids.h"

class CPositionDlg : public CPropertyPage {
 public:
  CPositionDlg() : CPropertyPage(IDD_POSITIONER) {}
};
