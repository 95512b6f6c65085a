#include "ui/base_textures.h"

#include <exception>
#include <functional>
#include <utility>

#include "common/files.h"
#include "levelfile/level_image.h"
#include "levelfile/level_reader.h"
#include "ui/texts.h"

namespace cw::ui {

// What a read hands back to the window's thread.
struct BaseTextureRead {
    std::string path;
    BaseTextures textures;
    QString note;
};

namespace {

QString shownPath(const std::string& path) { return fromCp1250(path); }

QString notFoundNote(const std::string& path) {
    return QStringLiteral("Base level \"%1\" not found: faces are drawn in flat colours.").arg(shownPath(path));
}

// Reads and decodes the level at path; runs on the worker thread. `progress` is called there.
void readTextures(BaseTextureRead& result, const std::function<void(int)>& progress) {
    const QString name = shownPath(result.path);
    try {
        const auto image = std::make_unique<LevelImage>();
        progress(10);
        const std::uint8_t status = readBaseLevel(*image, result.path);
        if (status == kReadNoFile) {
            result.note = notFoundNote(result.path);
            return;
        }
        if (status != kReadOk) {
            result.note =
                QStringLiteral("Base level \"%1\" is no level of a known version: faces are drawn in flat colours.").arg(name);
            return;
        }
        progress(60);
        decodeBaseTextures(*image, result.textures);
        result.note = QStringLiteral("Base level \"%1\": %2 texture pages, %3 object textures.")
                          .arg(name)
                          .arg(result.textures.pages.size())
                          .arg(result.textures.objects.size());
    } catch (const std::exception& e) {
        result.textures = BaseTextures{};
        result.note = QString::fromUtf8(e.what()) + QStringLiteral(" Faces are drawn in flat colours.");
    }
}

}  // namespace

BaseTextureSource::BaseTextureSource(QObject* parent) : QObject(parent) {}

BaseTextureSource::~BaseTextureSource() {
    if (worker_ != nullptr) {
        worker_->disconnect(this);
        worker_->wait();
        delete worker_;
    }
}

void BaseTextureSource::load(const std::string& path) {
    if (worker_ != nullptr) {
        pending_ = true;
        pendingPath_ = path;
        return;
    }
    start(path);
}

void BaseTextureSource::setTextures(BaseTextures textures, const std::string& path) {
    textures_ = std::move(textures);
    levelPath_ = textures_.kind == kKindNone ? std::string() : path;
    emit texturesChanged();
}

void BaseTextureSource::start(const std::string& path) {
    if (path.empty()) {
        const bool had = textures_.kind != kKindNone;
        textures_ = BaseTextures{};
        levelPath_.clear();
        if (had) emit texturesChanged();
        return;
    }
    // A file that is not there is told at once, without a read.
    if (!fileExists(pathFromBytes(path))) {
        const bool had = textures_.kind != kKindNone;
        textures_ = BaseTextures{};
        levelPath_.clear();
        emit note(notFoundNote(path));
        if (had) emit texturesChanged();
        return;
    }
    auto result = std::make_shared<BaseTextureRead>();
    result->path = path;
    const auto progress = [this](int value) {
        QMetaObject::invokeMethod(this, [this, value] { emit progressChanged(value); }, Qt::QueuedConnection);
    };
    worker_ = QThread::create([result, progress] { readTextures(*result, progress); });
    worker_->setObjectName(QStringLiteral("BaseTextureReader"));
    connect(worker_, &QThread::finished, this, [this, result] { finished(result); });
    worker_->start(QThread::LowPriority);
}

void BaseTextureSource::finished(const std::shared_ptr<BaseTextureRead>& result) {
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    if (pending_) {  // a newer read was asked for: this one's result no longer stands
        pending_ = false;
        start(std::exchange(pendingPath_, std::string()));
        return;
    }
    textures_ = std::move(result->textures);
    levelPath_ = textures_.kind == kKindNone ? std::string() : result->path;
    emit progressChanged(100);
    emit progressChanged(0);
    emit note(result->note);
    emit texturesChanged();
}

}  // namespace cw::ui
