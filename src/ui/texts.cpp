#include "ui/texts.h"

#include "common/cp1250.h"

namespace cw::ui {

// The core's converter, so that the windows and the command line agree on every character.
std::string toCp1250(const QString& text) { return utf8ToCp1250(text.toUtf8().toStdString()); }

QString fromCp1250(std::string_view bytes) { return QString::fromStdString(cp1250ToUtf8(bytes)); }

}  // namespace cw::ui
