#pragma once
#include <QString>
#include <string>
#include <string_view>

// Screens speak QString; the core keeps data as Windows-1252 bytes and its own texts as UTF-8.
namespace velt::ui {

inline QString deUtf8(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
inline std::string paraUtf8(const QString& s) { return s.toStdString(); }
QString deCp1252(std::string_view bytes);
std::string paraCp1252(const QString& s);

}  // namespace velt::ui
