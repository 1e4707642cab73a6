// The one crossing between the module's UTF-8 texts and Qt's strings in the list screens.
#pragma once

#include <QString>

#include <string>
#include <string_view>

inline QString aQString(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string aTexto(const QString &s) { return s.toStdString(); }
