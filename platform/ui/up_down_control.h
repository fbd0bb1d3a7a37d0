// The spin control of the dialog templates: a pair of arrow buttons that
// steps the whole number in its buddy, the edit box before it in the
// template. It sits against the buddy's right edge at the buddy's height,
// reads the buddy's text before each step and writes the new number back,
// and takes the Up and Down keys pressed in the buddy as arrow clicks.
//
// Its range runs from 100 (lower) to 0 (upper), the platform's default: the
// upper arrow steps toward the upper end and so lowers the number. Past an
// end it wraps to the other end when made with wrapping, otherwise it
// stays. A buddy text that is not a whole number within the range (typed,
// which the buddy does not limit) leaves the control at its last number,
// which starts at 0. UI thread only.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace ui {

class UpDownControl final : public QWidget {
 public:
  UpDownControl(bool wrap, QWidget* parent);

  void AttachBuddy(QLineEdit* buddy);
  QLineEdit* Buddy() const { return m_buddy; }

  // One click on the upper (up = true) or the lower arrow.
  void Step(bool up);
  int Position() const { return m_position; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ReadBuddy();

  static constexpr int kLower = 100;
  static constexpr int kUpper = 0;

  const bool m_wrap;
  int m_position = 0;
  QLineEdit* m_buddy = nullptr;
  QToolButton* m_up;
  QToolButton* m_down;
};

}  // namespace ui
