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

// The string table. A string has one language-neutral text, or one text
// per language (two-letter codes, "zh", "en"). LoadString gives the text for
// the user's language, else the neutral one, else the English one; empty
// when the string does not exist. This small table is the program's
// translation mechanism: it has a handful of translated texts, too few to
// justify a translation-file tool chain.
void RegisterString(int id, std::string text);
void RegisterString(int id, const std::string& language, std::string text);
std::string LoadString(int id);

// The user's language as a two-letter code: the one set for tests, else
// the system locale's.
std::string UiLanguage();
// Empty: back to the system locale.
void SetUiLanguage(std::string language);

void RegisterBitmap(int id, std::function<QPixmap()> make);
QPixmap LoadBitmap(int id);
void RegisterIcon(int id, std::function<QIcon()> make);
QIcon LoadIcon(int id);

}  // namespace ui
