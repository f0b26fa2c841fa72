#include "platform/qt/BundledFonts.h"

#include <dlfcn.h>

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

namespace brontelx::platform::qt {

void LoadBundledFonts() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  Dl_info module{};
  if (dladdr(reinterpret_cast<void*>(&LoadBundledFonts), &module) == 0 || !module.dli_fname) return;
  const QDir folder(QFileInfo(QFile::decodeName(module.dli_fname)).absolutePath() + "/fonts");
  for (const QString& file : folder.entryList({"*.ttf", "*.otf"}, QDir::Files)) {
    QFontDatabase::addApplicationFont(folder.filePath(file));
  }
}

}  // namespace brontelx::platform::qt
