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

QString notFoundText(const std::string& path) {
    return QStringLiteral("Base level \"%1\" not found.").arg(fromCp1250(path));
}

QString flatColoursNote(const QString& reason) { return reason + QStringLiteral(" Faces are drawn in flat colours."); }

// Reads and decodes the level at path; runs on the worker thread. `progress` is called there.
void readTextures(BaseTextureRead& result, const std::function<void(int)>& progress) {
    if (const auto failure = loadBaseTextures(result.path, result.textures, progress)) {
        result.note = flatColoursNote(*failure);
        return;
    }
    result.note = QStringLiteral("Base level \"%1\": %2 texture pages, %3 object textures.")
                      .arg(fromCp1250(result.path))
                      .arg(result.textures.pages.size())
                      .arg(result.textures.objects.size());
}

}  // namespace

std::optional<QString> loadBaseTextures(const std::string& path, BaseTextures& out,
                                        const std::function<void(int)>& progress) {
    out = BaseTextures{};
    const auto report = [&progress](int value) {
        if (progress) progress(value);
    };
    try {
        const auto image = std::make_unique<LevelImage>();
        report(10);
        switch (readBaseLevel(*image, path)) {
            case kReadNoFile: return notFoundText(path);
            case kReadUnknownVersion:
                return QStringLiteral("Base level \"%1\" is not a level of Tomb Raider 1, 1 Gold, 2 or 3.")
                    .arg(fromCp1250(path));
            default: break;
        }
        report(60);
        decodeBaseTextures(*image, out);
    } catch (const std::exception& e) {
        out = BaseTextures{};
        return QString::fromUtf8(e.what());
    }
    return std::nullopt;
}

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
        dropTextures(QString());
        return;
    }
    // A file that is not there is told at once, without a read.
    if (!fileExists(pathFromBytes(path))) {
        dropTextures(flatColoursNote(notFoundText(path)));
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

void BaseTextureSource::dropTextures(const QString& why) {
    const bool had = textures_.kind != kKindNone;
    textures_ = BaseTextures{};
    levelPath_.clear();
    if (!why.isEmpty()) emit note(why);
    if (had) emit texturesChanged();
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
