#include "platform/ui/property_sheet.h"

#include <QTabBar>
#include <QTabWidget>

void CPropertySheet::AddPage(CPropertyPage* page) { m_pages.push_back(page); }

void CPropertySheet::Create(CDialog* parent) {
  m_tabWidget = new QTabWidget(parent->Widget());
  m_tabWidget->setObjectName(QStringLiteral("sheet"));
  for (CPropertyPage* page : m_pages) {
    auto* tab = new QWidget;
    m_tabs.push_back(tab);
    m_tabWidget->addTab(tab, QString::fromStdString(page->Template().caption));
    parent->AddChildDialog(page);
  }
  // Tab captions come from the page templates; each page is built on first show.
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    if (const auto* t = &m_pages[i]->Template(); t) m_tabWidget->setTabText(static_cast<int>(i), QString::fromStdString(t->caption));
  }
  // The keyboard belongs to the pages, as on a classic property sheet: the
  // shown page's first control takes the focus.
  m_tabWidget->setFocusPolicy(Qt::NoFocus);
  m_tabWidget->tabBar()->setFocusPolicy(Qt::NoFocus);
  QObject::connect(m_tabWidget, &QTabWidget::currentChanged, m_tabWidget, [this](int index) {
    EnsureCreated(index);
    FocusFirstControl(index);
  });
  m_tabWidget->show();
  if (!m_pages.empty()) {
    EnsureCreated(0);
    FocusFirstControl(0);
  }
}

void CPropertySheet::FocusFirstControl(int index) {
  if (index < 0 || index >= static_cast<int>(m_pages.size()) || !m_pages[index]->Widget()) return;
  QWidget* page = m_pages[index]->Widget();
  for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
    if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(page)) {
      w->setFocus();
      return;
    }
  }
}

QWidget* CPropertySheet::Widget() const { return m_tabWidget; }

void CPropertySheet::MoveWindow(const QRect& rect) {
  if (m_tabWidget) m_tabWidget->setGeometry(rect);
}

int CPropertySheet::GetActiveIndex() const { return m_tabWidget ? m_tabWidget->currentIndex() : -1; }

void CPropertySheet::SetActivePage(int index) {
  if (m_tabWidget) m_tabWidget->setCurrentIndex(index);
}

void CPropertySheet::EnsureCreated(int index) {
  if (index < 0 || index >= static_cast<int>(m_pages.size())) return;
  CPropertyPage* page = m_pages[index];
  if (!page->IsCreated()) page->CreateChild(m_tabs[index]);
}
