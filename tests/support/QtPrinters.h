#pragma once

#include <QString>
#include <ostream>

// GoogleTest shows Qt's strings as text, in lists too, rather than as arrays of UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
