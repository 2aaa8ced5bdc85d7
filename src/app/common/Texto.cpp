#include "app/common/Texto.h"

#include "common/Cp1252.h"

namespace velt::ui {

QString deCp1252(std::string_view bytes) { return deUtf8(cp1252::toUtf8(bytes)); }
std::string paraCp1252(const QString& s) { return cp1252::fromUtf8(s.toStdString()); }

}  // namespace velt::ui
