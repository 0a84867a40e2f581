#pragma once

#include <QSize>
#include <QString>
#include <optional>

namespace ballotine {

// A window's size between runs, kept in a small settings file (the main window's lives in the
// program's config folder, beside the registry file). Nothing when none was kept or the file
// cannot be read.
std::optional<QSize> LoadWindowSize(const QString& file);
// Keeps `size`; a file that cannot be written only loses the size.
void SaveWindowSize(const QString& file, QSize size);

} // namespace ballotine
