// A property sheet: a tab per page, created as a child of a dialog. A page
// is built and initialised when first shown (the first page at creation);
// pages that were created are destroyed after their parent dialog.
#pragma once

#include <QRect>
#include <vector>

#include "platform/ui/dialog.h"

class QTabWidget;

class CPropertyPage : public CDialog {
 public:
  using CDialog::CDialog;
};

class CPropertySheet {
 public:
  CPropertySheet() = default;
  CPropertySheet(const CPropertySheet&) = delete;
  CPropertySheet& operator=(const CPropertySheet&) = delete;

  void AddPage(CPropertyPage* page);
  // Creates the sheet inside parent, visible, and initialises the first page.
  void Create(CDialog* parent);
  QWidget* Widget() const;
  // Moves and sizes the sheet, in the parent's client pixels.
  void MoveWindow(const QRect& rect);

  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int index) const { return m_pages.at(index); }
  int GetActiveIndex() const;
  // Shows a page, creating it on its first showing.
  void SetActivePage(int index);

 private:
  void EnsureCreated(int index);
  void FocusFirstControl(int index);

  std::vector<CPropertyPage*> m_pages;
  std::vector<QWidget*> m_tabs;
  QTabWidget* m_tabWidget = nullptr;
};
