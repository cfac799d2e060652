#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace gk {

// Our text is UTF-8 bytes; Qt's is UTF-16. Bytes that are not UTF-8 (a file name may hold any)
// show as U+FFFD.
inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToUtf8(const QString& text) {
  return text.toUtf8().toStdString();
}

}  // namespace gk
