// Dialogs built from templates, on Qt widgets, with the framework's handler
// names. Controls are addressed by id (each widget's objectName is its
// decimal id). Control accessors may be called from any thread: off the UI
// thread they run on it and the caller waits, like a synchronous message.
//
// Life: DoModal() (top-level) or CreateChild() (a page inside another
// widget) builds the widgets, connects the message map and runs
// OnInitDialog. DestroyWindow() runs OnDestroy on this dialog and then on
// its created child dialogs, then deletes the widgets.
#pragma once

#include <QPoint>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/data_exchange.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/message_box.h"

class QWidget;
class QDialog;
class QEvent;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr UINT WM_DEVICECHANGE = 0x0219;

class CDialog {
 public:
  explicit CDialog(int templateId);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog modally; returns the value given to EndDialog.
  int DoModal();
  // Builds the dialog as a child widget of parent and initialises it.
  void CreateChild(QWidget* parent);
  void EndDialog(int result);
  void DestroyWindow();
  bool IsCreated() const { return m_widget != nullptr; }
  // From the start of DestroyWindow until the widgets are gone: the window
  // takes no user input and no device messages.
  bool IsClosing() const { return m_destroying; }

  // Framework handlers.
  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  // The window manager asks the window to close (its close button, Alt+F4).
  virtual void OnClose() { OnCancel(); }
  virtual void OnDestroy() {}
  // Exchanges the members with the controls (see data_exchange.h).
  virtual void DoDataExchange(CDataExchange* pDX) {}
  // Controls into members with the checks (true) or members into controls
  // (false). A failed check shows its prompt in a box, then gives the field
  // the focus with its whole text selected; the result is then false.
  bool UpdateData(bool saveAndValidate = true);
  // The same with the caller's exchange (for a quiet check: no box, no
  // focus change; the failure stays in exchange).
  bool UpdateData(CDataExchange& exchange);
  // Sees key presses before the focused control; true consumes the event.
  virtual bool PreTranslateMessage(QEvent* event);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void OnTimer(int timerId) {}
  virtual void OnHelp() {}
  virtual void OnLButtonDown(QPoint clientPoint) {}

  QWidget* Widget() const { return m_widget; }
  const ui::DialogTemplate& Template() const { return *m_template; }
  ui::BaseUnits Units() const { return m_units; }

  // Controls by id.
  QWidget* GetDlgItem(int id) const;
  void SetDlgItemText(int id, const std::string& text);
  std::string GetDlgItemText(int id) const;
  void EnableDlgItem(int id, bool enable);
  bool IsDlgItemEnabled(int id) const;
  void CheckDlgButton(int id, bool checked);
  bool IsDlgButtonChecked(int id) const;
  int ComboGetCurSel(int id) const;
  // Selects index; an index outside the list clears the selection (-1).
  void ComboSetCurSel(int id, int index);
  int ComboAddString(int id, const std::string& text);
  // Removes every entry (and an editable box's text).
  void ComboResetContent(int id);
  // Selects the first entry that begins with prefix (letter case ignored),
  // searching from the entry after startAfter (-1: from the first) and
  // wrapping around; its index, or -1 with the selection unchanged.
  int ComboSelectString(int id, int startAfter, const std::string& prefix);
  int ComboGetCount(int id) const;
  std::string ComboGetLBText(int id, int index) const;
  int ComboFindStringExact(int id, const std::string& text) const;
  void ProgressSetRange(int id, int low, int high);
  void ProgressSetPos(int id, int pos);
  int ProgressGetPos(int id) const;
  void SetIcon(int id, int iconResourceId);
  int ShownIcon(int id) const;
  // An empty text removes the control's tooltip.
  void SetDlgItemToolTip(int id, const std::string& text);

  // Gives the control the focus; an edit's whole text is selected.
  void GotoDlgCtrl(int id);
  // Marks a control whose value is not taken (a red frame, why as its tool
  // tip) until called again with an empty why.
  void FlagDlgItem(int id, const std::string& why);
  bool IsDlgItemFlagged(int id) const;

  void SetWindowText(const std::string& text);
  std::string GetWindowText() const;

  // Timers of this window (window_timers.h); they end with the window.
  void SetTimer(int timerId, unsigned intervalMs);
  void KillTimer(int timerId);

  // Child dialogs that DestroyWindow destroys after this one.
  void AddChildDialog(CDialog* child);
  // Lets the window manager move the window with the pointer, as a drag on
  // the caption does.
  void StartWindowDrag();

 protected:
  // Called once after the controls exist: connect buttons and lists here.
  virtual void ConnectMessageMap() {}
  void OnClicked(int id, std::function<void()> handler);
  void OnSelChange(int id, std::function<void()> handler);
  // An edit's text changed, typed or set (EN_CHANGE), or a combo box's, by
  // typing or by a new selection.
  void OnChange(int id, std::function<void()> handler);
  void RunBaseInitDialog();

 private:
  class DialogWidget;
  friend class DialogWidget;

  void Build(QWidget* widget);
  void Initialise();

  const ui::DialogTemplate* m_template;
  ui::BaseUnits m_units{};
  QWidget* m_widget = nullptr;
  QDialog* m_modal = nullptr;
  int m_result = 0;
  std::set<int> m_timerIds;  // armed through SetTimer, killed on destroy
  std::set<int> m_clickHandlers;  // buttons the message map connects
  std::vector<CDialog*> m_children;
  bool m_destroying = false;
};

// Delivers a device-change message to every live top-level dialog, on the
// UI thread (queued).
void BroadcastDeviceChange(std::uint32_t eventCode);

// Ends every open box and top-level dialog as Cancel does (SIGINT, SIGTERM).
void CancelAllDialogs();

// Closes the open boxes that show text (as OK would): a box whose words the
// program has just made untrue. UI thread.
void DismissBoxes(const std::string& text);
