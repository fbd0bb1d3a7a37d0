// main() for test programs that need the dialog framework: a QApplication
// on the offscreen platform, this thread as the UI thread, the program's
// resources registered.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/ui/ui_thread.h"
#include "resources/resource_ids.h"

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  ui::SetUiThread();
  RegisterResources();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
