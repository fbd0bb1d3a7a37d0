// The Capture Control page; its controls come with the recording work.
#pragma once

#include "platform/ui/property_sheet.h"
#include "resources/resource_ids.h"

class CUtiVirtualDamonDlg : public CPropertyPage {
 public:
  CUtiVirtualDamonDlg() : CPropertyPage(IDD_CAPTURE_CONTROL) {}
};
