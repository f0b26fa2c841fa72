#include "base/WinPath.h"

#include "base/Ascii.h"

namespace brontelx::winpath {
namespace {

bool AllowedInPath(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x20 && c != '"' && c != '<' && c != '>' && c != '|';
}

}  // namespace

bool IsUncText(std::string_view path) {
  if (path.size() < 3 || !path.starts_with("\\\\") || !AllowedInPath(path[2])) return false;
  return path[2] != '?' || path.starts_with("\\\\?\\UNC\\");
}

std::string DrivePart(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  if (!path.starts_with("\\\\")) return {};
  const std::size_t first = path.find('\\', 2);
  const std::size_t second = first == std::string_view::npos ? first : path.find('\\', first + 1);
  if (second != std::string_view::npos) return std::string(path.substr(0, second));
  if (path.ends_with('\\')) path.remove_suffix(1);
  return std::string(path);
}

std::string FolderPart(std::string_view path) {
  const std::size_t last = path.find_last_of("\\:");
  return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

std::string FileNamePart(std::string_view path) {
  const std::size_t last = path.find_last_of("\\:");
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string WithDelimiter(std::string_view path) {
  std::string result(path);
  if (!result.ends_with('\\')) result += '\\';
  return result;
}

std::string Rel(std::string_view base, std::string_view path) {
  const std::string drive = DrivePart(path);
  if (!ascii::EqualsIgnoringCase(DrivePart(base), drive)) return std::string(path);
  std::string_view rest = path.substr(drive.size());
  if (rest.starts_with('\\')) rest.remove_prefix(1);
  return std::string(rest);
}

}  // namespace brontelx::winpath
