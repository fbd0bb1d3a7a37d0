// The About box: the application icon, its name and the product version.
#pragma once

#include <string>

#include "platform/ui/dialog.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
  bool OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

 private:
  std::string m_strVersion;
};
