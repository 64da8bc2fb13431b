// The panel's UTF-16 text and Qt's strings: both count UTF-16 units.
#pragma once

#include <QString>
#include <string>

namespace jc::qt {

inline QString toQString(const std::u16string& text) { return QString::fromStdU16String(text); }
inline std::u16string fromQString(const QString& text) { return text.toStdU16String(); }

}  // namespace jc::qt
