#pragma once
// Texts cross between the windows and the core as Windows-1250 bytes, through the core's one
// converter (common/cp1250.h): a character that Windows-1250 lacks becomes '?'. Messages are
// UTF-8 and are shown with QString::fromStdString, never through these.
#include <QString>
#include <string>
#include <string_view>

namespace cw::ui {

std::string toCp1250(const QString& text);
QString fromCp1250(std::string_view bytes);

}  // namespace cw::ui
