// The save-file dialog through one replaceable service. The production
// service shows Qt's own file dialog (the same on every desktop); tests may
// install one that answers at once, or drive the real dialog with keys.
//
// Filters come in the classic form "Text (*.a)|*.a|Other (*.*)|*.*||".
// UI thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDialog;

constexpr std::uint32_t OFN_OVERWRITEPROMPT = 0x2;
constexpr std::uint32_t OFN_HIDEREADONLY = 0x4;

struct SaveFileRequest {
  const CDialog* owner;
  std::string defaultExtension;  // appended (with a dot) to a name without one
  std::string fileName;          // initial name; may be empty
  std::string directory;         // where the dialog opens; empty: the current folder
  std::vector<std::string> nameFilters;  // Qt's form, "Text (*.a *.b)"
  bool confirmOverwrite;
};

class FileDialogService {
 public:
  virtual ~FileDialogService() = default;
  // The chosen full path, or none when the operator cancelled.
  virtual std::optional<std::string> AskSavePath(const SaveFileRequest& request) = 0;
};

// Installs service and returns the one it replaces; none restores Qt's.
std::shared_ptr<FileDialogService> SetFileDialogService(std::shared_ptr<FileDialogService> service);

// Qt's name filters from the classic form. "*.*" means every file, which on
// this platform is "*" (a name need not have a dot).
std::vector<std::string> NameFiltersFrom(const std::string& classicFilter);

// The save dialog of a page: DoModal gives IDOK with the path chosen, or
// IDCANCEL.
class CFileDialog {
 public:
  CFileDialog(const std::string& defaultExtension, const std::string& fileName, std::uint32_t flags,
              const std::string& filter, const CDialog* parent, std::string directory = {});
  int DoModal();
  const std::string& GetPathName() const { return m_path; }

 private:
  SaveFileRequest m_request;
  std::string m_path;
};
