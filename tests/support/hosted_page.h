// A property page created inside a plain host widget, as the sheet would,
// and destroyed (with its destroy handler) when the test is done with it.
#pragma once

#include <QWidget>
#include <memory>

template <typename Page>
class HostedPage {
 public:
  HostedPage() : m_page(std::make_unique<Page>()) { m_page->CreateChild(&m_host); }
  ~HostedPage() { Destroy(); }
  void Destroy() {
    if (m_page) m_page->DestroyWindow();
  }
  // The plain widget the page sits in; show it for focus and key tests.
  QWidget& Host() { return m_host; }
  Page& operator*() { return *m_page; }
  Page* operator->() { return m_page.get(); }

 private:
  QWidget m_host;
  std::unique_ptr<Page> m_page;
};
