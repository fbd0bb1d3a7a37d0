#include "platform/ui/resource_registry.h"

#include <QLocale>
#include <map>
#include <mutex>

namespace ui {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<int, DialogTemplate> templates;
  // Per string id: language code ("" for the neutral text) -> text.
  std::map<int, std::map<std::string, std::string>> strings;
  std::string language;  // set for tests; empty: the system locale's
  std::map<int, std::function<QPixmap()>> bitmaps;
  std::map<int, std::function<QIcon()>> icons;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterDialogTemplate(DialogTemplate dialogTemplate) {
  std::lock_guard lock(TheRegistry().mutex);
  const int id = dialogTemplate.id;
  TheRegistry().templates.insert_or_assign(id, std::move(dialogTemplate));
}

const DialogTemplate* FindDialogTemplate(int id) {
  std::lock_guard lock(TheRegistry().mutex);
  auto it = TheRegistry().templates.find(id);
  return it == TheRegistry().templates.end() ? nullptr : &it->second;
}

void RegisterString(int id, std::string text) { RegisterString(id, std::string(), std::move(text)); }

void RegisterString(int id, const std::string& language, std::string text) {
  std::lock_guard lock(TheRegistry().mutex);
  TheRegistry().strings[id].insert_or_assign(language, std::move(text));
}

std::string LoadString(int id) {
  const std::string language = UiLanguage();
  std::lock_guard lock(TheRegistry().mutex);
  auto it = TheRegistry().strings.find(id);
  if (it == TheRegistry().strings.end()) return {};
  for (const std::string& choice : {language, std::string(), std::string("en")}) {
    auto text = it->second.find(choice);
    if (text != it->second.end()) return text->second;
  }
  return {};
}

std::string UiLanguage() {
  {
    std::lock_guard lock(TheRegistry().mutex);
    if (!TheRegistry().language.empty()) return TheRegistry().language;
  }
  // "zh_CN" and the like: the language part only.
  return QLocale::system().name().section(QLatin1Char('_'), 0, 0).toStdString();
}

void SetUiLanguage(std::string language) {
  std::lock_guard lock(TheRegistry().mutex);
  TheRegistry().language = std::move(language);
}

void RegisterBitmap(int id, std::function<QPixmap()> make) {
  std::lock_guard lock(TheRegistry().mutex);
  TheRegistry().bitmaps.insert_or_assign(id, std::move(make));
}

QPixmap LoadBitmap(int id) {
  std::function<QPixmap()> make;
  {
    std::lock_guard lock(TheRegistry().mutex);
    auto it = TheRegistry().bitmaps.find(id);
    if (it == TheRegistry().bitmaps.end()) return {};
    make = it->second;
  }
  return make();
}

void RegisterIcon(int id, std::function<QIcon()> make) {
  std::lock_guard lock(TheRegistry().mutex);
  TheRegistry().icons.insert_or_assign(id, std::move(make));
}

QIcon LoadIcon(int id) {
  std::function<QIcon()> make;
  {
    std::lock_guard lock(TheRegistry().mutex);
    auto it = TheRegistry().icons.find(id);
    if (it == TheRegistry().icons.end()) return {};
    make = it->second;
  }
  return make();
}

}  // namespace ui
