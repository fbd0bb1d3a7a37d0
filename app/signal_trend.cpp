#include "app/signal_trend.h"

#include <QAction>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/signal_history_plot.h"
#include "platform/ui/dialog.h"
#include "platform/ui/ui_thread.h"
#include "resources/resource_ids.h"

void SignalTrend::Attach(CDialog& window, QTabWidget* sheet) {
  m_dialog = &window;
  if (sheet) {
    m_corner = new SignalHistoryPlot(m_history, SignalHistoryPlot::Style::Compact, sheet);
    m_corner->setObjectName(QStringLiteral("signal-history-corner"));
    m_corner->OnClicked([this] { ShowWindow(); });
    // No taller than the tabs, so the pages keep their room.
    m_corner->setFixedSize(m_corner->sizeHint().width(), sheet->tabBar()->sizeHint().height() - 4);
    sheet->setCornerWidget(m_corner, Qt::TopRightCorner);
  }
  QWidget* widget = window.Widget();
  auto* open = new QAction(QStringLiteral("Signal &history"), widget);
  open->setObjectName(QStringLiteral("signal-history"));
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  QObject::connect(open, &QAction::triggered, open, [this] { ShowWindow(); });
  widget->addAction(open);
  widget->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void SignalTrend::Record(const SignalSample& sample) {
  ui::SendToUiThread([&] {
    m_history.Add(sample);
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
  if (m_detailed) m_detailed->update();
}

void SignalTrend::ShowWindow() {
  if (!m_dialog || !m_dialog->Widget()) return;
  QWidget* main = m_dialog->Widget();
  if (!m_window) {
    m_window = new QWidget(main, Qt::Tool);
    m_window->setObjectName(QStringLiteral("signal-history-window"));
    m_window->setWindowTitle(QStringLiteral("Signal history"));
    auto* layout = new QVBoxLayout(m_window);
    layout->setContentsMargins(6, 6, 6, 6);
    m_detailed = new SignalHistoryPlot(m_history, SignalHistoryPlot::Style::Detailed, m_window);
    layout->addWidget(m_detailed);
    m_window->adjustSize();
    // Beside the main window, level with its status strip.
    const QPoint strip = main->mapToGlobal(QPoint(0, m_dialog->GetDlgItem(IDC_SHEET_BOTTOM_LINE)->geometry().top()));
    m_window->move(main->frameGeometry().right() + 8, strip.y());
  }
  m_window->show();
  m_window->raise();
}
