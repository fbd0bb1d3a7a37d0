// Real message boxes answered by real key presses, for tests of keyboard
// routing that the recorder (which answers at once) cannot see. Installs the
// production box service for its life; every box that comes up gets one key
// press on its focused button. A box the key did not close, and any box past
// the expected count, is closed directly, so a routing fault fails the test
// instead of hanging it.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/message_box.h"
#include "platform/ui/qt_services.h"

class RealBoxKeys {
 public:
  RealBoxKeys(Qt::Key key, int expectedBoxes) : m_key(key), m_expected(expectedBoxes) {
    m_previous = SetMessageBoxService(ui::MakeQtMessageBoxService());
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Serve(); });
    m_timer.start(5);
  }
  ~RealBoxKeys() { SetMessageBoxService(m_previous); }

  // Texts of the boxes shown, in order.
  const std::vector<std::string>& Shown() const { return m_shown; }
  // Boxes the key press left open.
  int LeftOpen() const { return m_leftOpen; }

 private:
  void Serve() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property(kServed).toBool()) return;
    box->setProperty(kServed, true);  // boxes live on the stack: an address can come back
    m_shown.push_back(box->text().toStdString());
    if (static_cast<int>(m_shown.size()) > m_expected) {
      box->done(QMessageBox::Ok);
      return;
    }
    // Pressed from a timer of its own: what the key runs may open a nested
    // loop, and the polling timer does not fire inside its own slot.
    QTimer::singleShot(0, box, [this, box] {
      QWidget* focus = QApplication::focusWidget();
      QTest::keyClick(focus && focus->window() == box ? focus : box, m_key);
      if (box->isVisible()) {
        ++m_leftOpen;
        box->done(QMessageBox::Ok);
      }
    });
  }

  static constexpr char kServed[] = "rx40.test.served";
  Qt::Key m_key;
  int m_expected;
  QTimer m_timer;
  std::vector<std::string> m_shown;
  int m_leftOpen = 0;
  std::shared_ptr<MessageBoxService> m_previous;
};
