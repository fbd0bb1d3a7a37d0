#include "platform/ui/property_sheet.h"

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
  QObject::connect(m_tabWidget, &QTabWidget::currentChanged, m_tabWidget, [this](int index) { EnsureCreated(index); });
  m_tabWidget->show();
  if (!m_pages.empty()) EnsureCreated(0);
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
