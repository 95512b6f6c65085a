#pragma once
// Texts cross between the windows and the core as Windows-1250 bytes.
#include <QString>
#include <string>
#include <string_view>

namespace cw::ui {

std::string toCp1250(const QString& text);
QString fromCp1250(std::string_view bytes);

}  // namespace cw::ui
