#include "app/bda_util_app.h"

#include "app/bda_util_dlg.h"
#include "settings/program_folder.h"
#include "platform/com/clock.h"
#include "platform/com/runtime.h"
#include "platform/media/bda_interfaces.h"
#include "platform/ui/message_box.h"
#include "tuner/find_filter.h"
#include "tuner/tuner_context.h"

CBDAUtilApp::CBDAUtilApp(std::string programFolder) : m_programFolder(std::move(programFolder)) {}

bool CBDAUtilApp::InitInstance() {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED | COINIT_SPEED_OVER_MEMORY);
  Sleep(1000);
  TunerContext& context = TheTunerContext();
  context.SetTunerFilter(FindFilter(KSCATEGORY_BDA_NETWORK_TUNER, kTunerFriendlyName));
  if (!context.m_pTunerFilter) {
    AfxMessageBox("Not found Orvane RX40 DVBS Card!");
    m_nExitCode = 1;
    return false;
  }
  // The driver mutex lives in the context for the whole process.
  SetProgramFolder(m_programFolder);
  CBDAUtilDlg dialog;
  dialog.DoModal();
  m_nExitCode = 0;
  return false;
}
