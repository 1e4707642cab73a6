// The one place where the module's UTF-8 std::string meets QString.
#pragma once

#include <QString>

#include <string>
#include <string_view>

inline QString aQt(std::string_view s) { return QString::fromUtf8(s); }
inline std::string deQt(const QString &s) { return s.toStdString(); }
