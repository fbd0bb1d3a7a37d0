#include "app/about_dlg.h"

#include "app/application_version.h"
#include "resources/resource_ids.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

bool CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_strVersion = ApplicationVersionText();
  UpdateData(false);
  return true;
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_VERSION_TEXT, m_strVersion); }
