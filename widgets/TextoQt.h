// The one place where the module's UTF-8 std::string meets QString.
#pragma once

#include <QString>

#include <string>
#include <string_view>

inline QString aQt(std::string_view s) { return QString::fromUtf8(s); }
inline std::string deQt(const QString &s) { return s.toStdString(); }

// A tool tip shows rich text whenever its text merely looks like markup: a text from a file
// or a path ("<b>x</b>.ini") goes in escaped, inside a paragraph, so it reads as written.
inline QString ConsejoPlano(const QString &s) { return QStringLiteral("<p>") + s.toHtmlEscaped() + QStringLiteral("</p>"); }
