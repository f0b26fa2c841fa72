#include "base/ExecutableFile.h"

namespace brontelx {

std::filesystem::path ExecutableFile() { return std::filesystem::read_symlink("/proc/self/exe"); }

}  // namespace brontelx
