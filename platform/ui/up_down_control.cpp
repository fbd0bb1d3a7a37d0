#include "platform/ui/up_down_control.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace ui {
namespace {

QToolButton* MakeArrow(Qt::ArrowType arrow, const char* name, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setArrowType(arrow);
  button->setAutoRepeat(true);  // held down, it keeps stepping
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

}  // namespace

UpDownControl::UpDownControl(bool wrap, QWidget* parent)
    : QWidget(parent),
      m_wrap(wrap),
      m_up(MakeArrow(Qt::UpArrow, "up", this)),
      m_down(MakeArrow(Qt::DownArrow, "down", this)) {
  connect(m_up, &QToolButton::clicked, this, [this] { Step(true); });
  connect(m_down, &QToolButton::clicked, this, [this] { Step(false); });
}

void UpDownControl::AttachBuddy(QLineEdit* buddy) {
  m_buddy = buddy;
  if (!buddy) return;
  buddy->installEventFilter(this);
  const QRect edit = buddy->geometry();
  setGeometry(edit.right() + 1, edit.top(), width(), edit.height());
}

void UpDownControl::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  m_up->setGeometry(0, 0, width(), half);
  m_down->setGeometry(0, half, width(), height() - half);
}

void UpDownControl::ReadBuddy() {
  if (!m_buddy) return;
  const QString text = m_buddy->text().trimmed();
  bool whole = true;
  const int value = text.isEmpty() ? 0 : text.toInt(&whole, 10);
  if (whole && value >= std::min(kLower, kUpper) && value <= std::max(kLower, kUpper)) m_position = value;
}

void UpDownControl::Step(bool up) {
  ReadBuddy();
  const int towardUpper = kUpper > kLower ? 1 : -1;
  int next = m_position + (up ? towardUpper : -towardUpper);
  const bool pastUpper = (next - kUpper) * towardUpper > 0;
  const bool pastLower = (kLower - next) * towardUpper > 0;
  if (pastUpper || pastLower) {
    if (!m_wrap) return;
    next = pastUpper ? kLower : kUpper;
  }
  m_position = next;
  if (m_buddy) m_buddy->setText(QString::number(next));
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace ui
