#include "ui/ImageList.h"

#include "ui/TLazyIconEngine.h"

#include <array>

namespace {

const std::array<const char*, ImageListCount> IconFiles = {
    "00-exit",  "01-sheet",  "02-open", "03-note",   "04-result",     "05-model",
    "06-calc",  "07-print",  "08-bold", "09-italic", "10-font",       "11-save",
    "12-table", "13-cancel", "14-edit", "15-post",   "16-spreadsheet"};

QIcon ResourceIcon(const char* name) {
    const QString path = QStringLiteral(":/icons/%1.png").arg(QLatin1String(name));
    return LazyIcon([path] { return QIcon(path); });
}

} // namespace

QIcon ImageListIcon(TImageIndex index) {
    return ResourceIcon(IconFiles.at(index));
}

QIcon WindowIcon() {
    return ResourceIcon("vesk");
}
