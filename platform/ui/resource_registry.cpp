#include "platform/ui/resource_registry.h"

#include <map>
#include <mutex>

namespace ui {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<int, DialogTemplate> templates;
  std::map<int, std::string> strings;
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

void RegisterString(int id, std::string text) {
  std::lock_guard lock(TheRegistry().mutex);
  TheRegistry().strings.insert_or_assign(id, std::move(text));
}

std::string LoadString(int id) {
  std::lock_guard lock(TheRegistry().mutex);
  auto it = TheRegistry().strings.find(id);
  return it == TheRegistry().strings.end() ? std::string() : it->second;
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
