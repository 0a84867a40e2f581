#pragma once

#include <QString>
#include <ostream>

// GoogleTest shows Qt's strings as text, in lists and in failure messages too, rather than as
// arrays of UTF-16 units.
inline std::ostream& operator<<(std::ostream& out, const QString& text) {
    return out << '"' << text.toStdString() << '"';
}

// For values in failed expectations (ahead of GoogleTest's printing of containers).
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text;
}
