#pragma once
// File names cross between Qt and the core as std::filesystem::path in the path's native form:
// UTF-16 on Windows, the local 8-bit encoding of file names elsewhere (QFile::encodeName and
// decodeName). Every name the file system can hold crosses both ways unchanged.
#include <QString>
#include <filesystem>

namespace cw::ui {

std::filesystem::path toPath(const QString& path);
QString toQString(const std::filesystem::path& path);

}  // namespace cw::ui
