#include "app/WindowSize.h"

#include <QSettings>

namespace ballotine {

namespace {

const QString kSizeKey = QStringLiteral("MainWindow/size");

} // namespace

std::optional<QSize> LoadWindowSize(const QString& file) {
    if (file.isEmpty()) {
        return std::nullopt;
    }
    const QSettings settings(file, QSettings::IniFormat);
    const QSize size = settings.value(kSizeKey).toSize();
    if (!size.isValid() || size.isEmpty()) {
        return std::nullopt;
    }
    return size;
}

void SaveWindowSize(const QString& file, QSize size) {
    if (file.isEmpty() || !size.isValid()) {
        return;
    }
    QSettings settings(file, QSettings::IniFormat);
    settings.setValue(kSizeKey, size);
}

} // namespace ballotine
