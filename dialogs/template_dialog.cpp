#include "dialogs/template_dialog.h"

#include "settings/atomic_file.h"
#include "settings/settings_table.h"
#include "settings/store_ops.h"
#include "settings/text.h"

namespace glintora {

// --- paths ---

std::string SaveFailedMessage(std::string_view path, std::string_view reason) {
  std::string text = "The template could not be saved to\r\n";
  text.append(path).append("\r\n\r\nReason: ").append(reason).append(".");
  if (reason.find(kOldFileNotInPlace) != std::string_view::npos) return text;
  return text + "\r\nThe file was left as it was.";
}

std::vector<FileType> ParseFileTypes(std::string_view types) {
  if (types.empty()) return {};
  std::string text(types);
  text += '|';
  std::vector<FileType> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t bar = text.find('|', start);
    FileType type;
    type.description = text.substr(start, bar - start);
    start = bar + 1;
    if (start < text.size()) {
      std::size_t next = text.find('|', start);
      if (next == std::string::npos) next = text.size();
      type.pattern = text.substr(start, next - start);
      start = next + 1;
    }
    out.push_back(std::move(type));
  }
  return out;
}

std::string TemplateFullPath(std::string_view folder, std::string_view name, char separator) {
  std::string path(folder);
  if (path.empty() || path.back() != separator) path += separator;
  path += name;
  return path;
}

TemplateLocation ReadTemplateLocation(Store& store) {
  return {RegReadText(store, kSectionTemplate, "Path_Drive", ""),
          RegReadText(store, kSectionTemplate, "Path_Dir", "")};
}

// --- the dialog ---

void TemplateDialogModel::FormLet(bool open, std::string title, std::string types) {
  open_ = open;
  title_ = std::move(title);
  types_ = ParseFileTypes(types);
  accepted_ = false;
  fullFileName_.clear();
}

void TemplateDialogModel::Accept(const std::string& drive, const std::string& folder,
                                 std::string path) {
  accepted_ = true;
  fullFileName_ = std::move(path);
  RegWriteText(store_, kSectionTemplate, "Path_Drive", std::string_view(drive));
  RegWriteText(store_, kSectionTemplate, "Path_Dir", std::string_view(folder));
}

bool TemplateDialogModel::PathCanBeWritten(const std::string& path) {
  // Probe with a name that does not exist yet, so no file of the user's is ever touched.
  std::string probe = path + "0";
  for (int n = 1; files_.PathExists(probe); ++n) {
    if (n > 1000) return false;
    probe = path + "0~" + std::to_string(n);
  }
  if (!files_.CreateNewEmptyFile(probe)) return false;
  return files_.RemoveFile(probe);
}

std::string TemplateDialogModel::Ok(const std::string& drive, const std::string& folder,
                                    const std::string& name) {
  std::string path = TemplateFullPath(folder, name, files_.Separator());
  if (open_) {
    if (TrimBlanks(name).empty() || !files_.FileExists(path)) return kOpenInvalidMessage;
  } else {
    if (TrimBlanks(name).empty() || !PathCanBeWritten(path)) return kSaveInvalidMessage;
    if (path.find('.') == std::string::npos) path += ".glx";
  }
  Accept(drive, folder, path);
  return {};
}

void TemplateDialogModel::FileDoubleClicked(const std::string& drive, const std::string& folder,
                                            const std::string& name) {
  Accept(drive, folder, TemplateFullPath(folder, name, files_.Separator()));
}

}  // namespace glintora
