#include "ui/texts.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace cw::ui {

std::string toCp1250(const QString& text) {
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Default);
    QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString fromCp1250(std::string_view bytes) {
    QStringDecoder decoder("windows-1250");
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace cw::ui
