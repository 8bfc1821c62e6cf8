#pragma once

#include <QString>

#include <ostream>

// GoogleTest prints QStrings as readable UTF-8 in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
