#include "platform/ui/file_dialog.h"

#include <QFileDialog>
#include <QStringList>

#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"

namespace {

class QtFileDialogs final : public FileDialogService {
 public:
  std::optional<std::string> AskSavePath(const SaveFileRequest& request) override {
    QFileDialog dialog(request.owner ? request.owner->Widget() : nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    QStringList filters;
    for (const auto& filter : request.nameFilters) filters << QString::fromStdString(filter);
    dialog.setNameFilters(filters);
    if (!request.directory.empty()) dialog.setDirectory(QString::fromStdString(request.directory));
    if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
  }
};

std::shared_ptr<FileDialogService>& Installed() {
  static std::shared_ptr<FileDialogService> service = std::make_shared<QtFileDialogs>();
  return service;
}

std::vector<std::string> SplitBars(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : text) {
    if (c == '|') {
      parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

}  // namespace

std::shared_ptr<FileDialogService> SetFileDialogService(std::shared_ptr<FileDialogService> service) {
  auto previous = std::move(Installed());
  Installed() = service ? std::move(service) : std::make_shared<QtFileDialogs>();
  return previous;
}

std::vector<std::string> NameFiltersFrom(const std::string& classicFilter) {
  const std::vector<std::string> parts = SplitBars(classicFilter);
  std::vector<std::string> filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string label = parts[i];
    // The label's own "(patterns)" is shown by Qt from the patterns below.
    if (const auto open = label.rfind(" ("); open != std::string::npos && label.back() == ')') label.erase(open);
    std::string patterns;
    std::size_t start = 0;
    const std::string& given = parts[i + 1];
    while (start <= given.size()) {
      const std::size_t end = std::min(given.find(';', start), given.size());
      std::string pattern = given.substr(start, end - start);
      if (pattern == "*.*") pattern = "*";
      if (!pattern.empty()) patterns += (patterns.empty() ? "" : " ") + pattern;
      start = end + 1;
    }
    filters.push_back(label + " (" + patterns + ")");
  }
  return filters;
}

CFileDialog::CFileDialog(const std::string& defaultExtension, const std::string& fileName, std::uint32_t flags,
                         const std::string& filter, const CDialog* parent, std::string directory)
    : m_request{parent, defaultExtension, fileName, std::move(directory), NameFiltersFrom(filter),
                (flags & OFN_OVERWRITEPROMPT) != 0} {}

int CFileDialog::DoModal() {
  const auto service = Installed();  // kept alive while the dialog is up
  auto path = service->AskSavePath(m_request);
  if (!path) return IDCANCEL;
  m_path = std::move(*path);
  return IDOK;
}
