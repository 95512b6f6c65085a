#include "ui/paths.h"

#include <QByteArray>
#include <QFile>
#include <string>

namespace cw::ui {

std::filesystem::path toPath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdU16String());
#else
    const QByteArray name = QFile::encodeName(path);
    return std::filesystem::path(std::string(name.constData(), static_cast<std::size_t>(name.size())));
#endif
}

QString toQString(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdU16String(path.u16string());
#else
    const std::string& name = path.native();
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
#endif
}

}  // namespace cw::ui
