#pragma once
// The textures of the project's base level for the windows: BaseTextureSource reads the level
// named by the build settings in the background, decodes its pages and object textures
// (drawing/level_textures) and tells the windows when they change. One source serves the whole
// editor; the main window owns it and hands it to the windows through EditorServices.
#include <QObject>
#include <QString>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "drawing/level_textures.h"

namespace cw::ui {

// Reads the base level at path (Windows-1250 bytes, as the project keeps it) and decodes its
// textures into out. Nothing, with the reason in a sentence, when it is missing or refused (out
// then holds none). `progress`, when given, is told 10 and 60 as the read goes.
std::optional<QString> loadBaseTextures(const std::string& path, BaseTextures& out,
                                        const std::function<void(int)>& progress = {});

struct BaseTextureRead;  // one background read and its outcome

class BaseTextureSource : public QObject {
    Q_OBJECT
public:
    explicit BaseTextureSource(QObject* parent = nullptr);
    // Waits for a read in progress (its result is dropped).
    ~BaseTextureSource() override;

    // The textures of the last level read; kind 0 (kKindNone) when there are none.
    const BaseTextures& textures() const { return textures_; }
    // The base level the textures came from (Windows-1250 bytes, as the project keeps it);
    // empty when there are none.
    const std::string& levelPath() const { return levelPath_; }
    // True while a read runs in the background.
    bool isLoading() const { return worker_ != nullptr; }

    // Reads the level at `path` (Windows-1250 bytes, as the build settings keep it) in the
    // background. A read asked for while one runs starts when that one ends (only the last one
    // asked for). An empty path drops the textures at once, without a note; so does a path where
    // no file is, with a note. A refused level drops them after its read, with a note.
    void load(const std::string& path);
    // Puts textures in place at once, as if read from `path`, and tells the windows.
    void setTextures(BaseTextures textures, const std::string& path = {});

signals:
    // The textures (or their absence) changed.
    void texturesChanged();
    // The read's progress, 0..100; 0 again when it is done.
    void progressChanged(int value);
    // A short note for the status bar: what was read, or why nothing was.
    void note(const QString& text);

private:
    void start(const std::string& path);
    // No textures any more; `why` (when not empty) is told as a note.
    void dropTextures(const QString& why);
    void finished(const std::shared_ptr<BaseTextureRead>& read);

    BaseTextures textures_;
    std::string levelPath_;
    QThread* worker_ = nullptr;
    bool pending_ = false;  // a read waits for the running one
    std::string pendingPath_;
};

}  // namespace cw::ui
