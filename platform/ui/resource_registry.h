// The program's resources (dialog templates, strings, bitmaps, icons), found
// by id. The resources folder registers them at start-up.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <functional>
#include <optional>
#include <string>

#include "platform/ui/dialog_template.h"

namespace ui {

void RegisterDialogTemplate(DialogTemplate dialogTemplate);
const DialogTemplate* FindDialogTemplate(int id);

void RegisterString(int id, std::string text);
// Empty when the string does not exist.
std::string LoadString(int id);

void RegisterBitmap(int id, std::function<QPixmap()> make);
QPixmap LoadBitmap(int id);
void RegisterIcon(int id, std::function<QIcon()> make);
QIcon LoadIcon(int id);

}  // namespace ui
