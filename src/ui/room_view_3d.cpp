#include "ui/room_view_3d.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QWheelEvent>

namespace cw::ui {

bool platformShowsOpenGLWidgets() {
    // The window systems whose windows show an OpenGL widget among plain ones. Others (offscreen,
    // minimal, vnc, linuxfb) may make OpenGL contexts but cannot show such a widget.
    const QString name = QGuiApplication::platformName();
    static const QStringList showing = {QStringLiteral("xcb"),     QStringLiteral("windows"), QStringLiteral("cocoa"),
                                        QStringLiteral("eglfs"),   QStringLiteral("android"), QStringLiteral("ios"),
                                        QStringLiteral("direct2d")};
    return showing.contains(name) || name.startsWith(QLatin1String("wayland"));
}

bool canMakeOpenGLContext(QString* why) {
    QOpenGLContext context;
    QOffscreenSurface surface;
    QString reason;
    if (!makeOffscreenContextCurrent(context, surface, reason)) {
        if (why) *why = reason;
        return false;
    }
    context.doneCurrent();
    return true;
}

class RoomGLWidget : public QOpenGLWidget {
public:
    explicit RoomGLWidget(RoomView3D& view) : QOpenGLWidget(&view), view_(view) {
        setObjectName(QStringLiteral("RoomView3DGL"));
        setFocusPolicy(Qt::ClickFocus);
        setToolTip(QCoreApplication::translate("cw::ui::RoomView3D",
                                              "Lewy przycisk: obrót, środkowy lub Shift + lewy: przesunięcie, "
                                              "kółko: przybliżenie, Home lub R: widok od nowa"));
    }
    ~RoomGLWidget() override {
        // The context ends in QOpenGLWidget's destructor, after this part of the object: it must
        // not call back into it.
        QObject::disconnect(contextEnds_);
        if (!initialized_) return;
        makeCurrent();
        renderer_.release();
        doneCurrent();
    }

    QString failure;

protected:
    void initializeGL() override {
        initialized_ = renderer_.initialize(failure);
        view_.buffersChanged_ = view_.texturesChanged_ = true;
        QObject::disconnect(contextEnds_);
        contextEnds_ = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
            makeCurrent();
            renderer_.release();
            initialized_ = false;
            doneCurrent();
        });
    }

    void paintGL() override {
        if (!initialized_) return;
        if (view_.texturesChanged_) {
            ColourPicture atlas;
            if (view_.textures_ != nullptr) buildTextureAtlas(*view_.textures_, atlas);
            view_.atlasRefused_ = !renderer_.setAtlas(atlas);  // too large: flat colours
            view_.texturesChanged_ = false;
            view_.refill();
        }
        if (view_.buffersChanged_) {
            renderer_.setBuffers(view_.buffers_);
            view_.buffersChanged_ = false;
        }
        const QSize pixels = size() * devicePixelRatio();
        renderer_.draw(cameraMatrix(view_.camera_, *view_.scene_, pixels), pixels);
    }

    // The drag's kind is chosen by the press: middle button or Shift + left pans, left orbits.
    void mousePressEvent(QMouseEvent* event) override {
        last_ = event->position();
        if (event->button() == Qt::MiddleButton ||
            (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ShiftModifier)))
            drag_ = Drag::Pan;
        else if (event->button() == Qt::LeftButton)
            drag_ = Drag::Orbit;
        event->accept();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->buttons() == Qt::NoButton) drag_ = Drag::None;
        event->accept();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        const QPointF d = event->position() - last_;
        last_ = event->position();
        if (event->buttons() == Qt::NoButton) drag_ = Drag::None;
        if (drag_ == Drag::Pan) view_.camera_.panBy(float(d.x()), float(d.y()), size(), *view_.scene_);
        else if (drag_ == Drag::Orbit) view_.camera_.orbit(float(d.x()) * 0.4F, float(d.y()) * 0.4F);
        else return;
        update();
    }

    void wheelEvent(QWheelEvent* event) override {
        view_.camera_.zoomBy(float(event->angleDelta().y()) / 120.0F);
        update();
        event->accept();
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Home || event->key() == Qt::Key_R) {
            view_.resetView();
            event->accept();
            return;
        }
        QOpenGLWidget::keyPressEvent(event);
    }

private:
    RoomView3D& view_;
    RoomRenderer renderer_;
    bool initialized_ = false;
    QPointF last_;
    enum class Drag { None, Orbit, Pan } drag_ = Drag::None;
    QMetaObject::Connection contextEnds_;
};

RoomView3D::RoomView3D(QWidget* parent)
    : QWidget(parent), work_(std::make_unique<SceneWork>()), scene_(std::make_unique<RoomScene>()) {
    setObjectName(QStringLiteral("RoomView3D"));
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("RoomView3DMessage"));
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignCenter);
    if (!platformShowsOpenGLWidgets()) {
        reason_ = QStringLiteral("The 3D view needs OpenGL in a window, which the window system (Qt platform "
                                 "\"%1\") does not give.")
                      .arg(QGuiApplication::platformName());
        message_->setText(reason_);
    } else if (canMakeOpenGLContext(&reason_)) {
        gl_ = new RoomGLWidget(*this);
        message_->hide();
    } else {
        reason_ = QStringLiteral("The 3D view needs OpenGL, and none is available here: ") + reason_ + QLatin1Char('.');
        message_->setText(reason_);
    }
}

RoomView3D::~RoomView3D() = default;

void RoomView3D::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (gl_) gl_->setGeometry(rect());
    if (gl_) message_->setGeometry(QRect(8, 8, width() - 16, 60));
    else message_->setGeometry(rect().adjusted(8, 8, -8, -8));
}

void RoomView3D::showRoom(const EditorRoom& room, int roomNumber, const SceneSelection& selection) {
    const int kind = textures_ != nullptr ? textures_->kind : 0;
    buildRoomScene(room, roomNumber, doubleSidedCeiling(room, kind), selection, *work_, *scene_);
    refill();
    if (gl_) {
        // A mesh the build refuses: its reason over the empty view.
        message_->setText(QString::fromStdString(scene_->refusal));
        message_->setVisible(!scene_->refusal.empty());
        message_->raise();
        gl_->update();
    }
}

void RoomView3D::refill() {
    fillSceneBuffers(*scene_, textures_ != nullptr && !atlasRefused_ ? *textures_ : noTextures_, buffers_);
    buffersChanged_ = true;
}

void RoomView3D::setTextures(const BaseTextures* textures) {
    textures_ = textures;
    atlasRefused_ = false;
    texturesChanged_ = true;  // the next paint makes the atlas and fills the buffers with it
    if (gl_) gl_->update();
}

void RoomView3D::resetView() {
    camera_ = ViewCamera{};
    if (gl_) gl_->update();
}

QImage RoomView3D::grabView() { return gl_ ? gl_->grabFramebuffer() : QImage(); }

}  // namespace cw::ui
