#include "app/signal_trend.h"

#include <QAction>
#include <QDateTime>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

#include "platform/ui/dialog.h"
#include "platform/ui/ui_thread.h"
#include "resources/resource_ids.h"

QPoint PlaceBeside(const QRect& frame, int top, QSize size, const QRect& screen) {
  constexpr int kGap = 8;
  QPoint at(frame.x() + frame.width() + kGap, top);
  if (at.x() + size.width() > screen.x() + screen.width()) at.setX(frame.x() - kGap - size.width());
  at.setX(std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - size.width())));
  at.setY(std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height())));
  return at;
}

void SignalTrend::Attach(CDialog& window, QTabWidget* sheet) {
  m_dialog = &window;
  if (sheet) {
    m_corner = new SignalHistoryPlot(m_history, sheet);
    m_corner->setObjectName(QStringLiteral("signal-history-corner"));
    m_corner->OnClicked([this] { ShowWindow(); });
    // No taller than the tabs, so the pages keep their room.
    m_corner->setFixedSize(m_corner->sizeHint().width(), sheet->tabBar()->sizeHint().height() - 4);
    sheet->setCornerWidget(m_corner, Qt::TopRightCorner);
  }
  QWidget* widget = window.Widget();
  auto* open = new QAction(QStringLiteral("Signal &alignment"), widget);
  open->setObjectName(QStringLiteral("signal-history"));
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  QObject::connect(open, &QAction::triggered, open, [this] { ShowWindow(); });
  widget->addAction(open);
  widget->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void SignalTrend::Record(const SignalSample& sample) {
  ui::SendToUiThread([&] {
    m_history.Add(sample);
    m_peak.Add(sample, QDateTime::currentMSecsSinceEpoch());
    if (m_dialog) {
      const std::string margin = MarginText(sample);
      m_dialog->SetDlgItemToolTip(IDC_QUALITY_TEXT, margin);
      m_dialog->SetDlgItemToolTip(IDC_QUALITY_BAR, margin);
    }
    Repaint();
  });
}

void SignalTrend::Repaint() {
  if (m_corner) m_corner->update();
  if (m_window) m_window->Refresh();
}

void SignalTrend::ShowWindow() {
  if (!m_dialog || !m_dialog->Widget()) return;
  QWidget* main = m_dialog->Widget();
  if (!m_window) {
    m_window = new AlignmentView(m_history, m_peak, main);
    m_window->adjustSize();
    const int stripTop = main->mapToGlobal(m_dialog->GetDlgItem(IDC_SHEET_BOTTOM_LINE)->geometry().topLeft()).y();
    const QRect screen = main->screen() ? main->screen()->availableGeometry() : QRect(QPoint(), QSize(4096, 4096));
    m_window->move(PlaceBeside(main->frameGeometry(), stripTop, m_window->frameGeometry().size(), screen));
  }
  m_window->show();
  m_window->raise();
}
