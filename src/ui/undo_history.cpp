#include "ui/undo_history.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QUndoCommand>
#include <QWidget>
#include <utility>

#include "ui/texts.h"

namespace cw::ui {

// One recorded step on the stack. It is pushed after its change was made, so its first redo
// (which QUndoStack::push calls) has nothing to do.
class UndoHistory::StepCommand : public QUndoCommand {
public:
    StepCommand(UndoHistory& history, ProjectStep step, const QString& text)
        : QUndoCommand(text), history_(history), step_(std::move(step)) {}

    void undo() override {
        step_.undo(history_.project_);
        emit history_.projectRestored();
    }
    void redo() override {
        if (pushed_) {
            pushed_ = false;
            return;
        }
        step_.redo(history_.project_);
        emit history_.projectRestored();
    }

private:
    UndoHistory& history_;
    ProjectStep step_;
    bool pushed_ = true;
};

UndoHistory::UndoHistory(Project& project, QObject* parent) : QObject(parent), project_(project) {
    stack_.setUndoLimit(kHistoryStepLimit);

    undoAction_ = new QAction(tr("&Cofnij"), this);
    undoAction_->setObjectName(QStringLiteral("Cofnij1"));
    undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction_ = new QAction(tr("&Ponów"), this);
    redoAction_->setObjectName(QStringLiteral("Ponow1"));
    redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(undoAction_, &QAction::triggered, this, &UndoHistory::undo);
    connect(redoAction_, &QAction::triggered, this, &UndoHistory::redo);
    connect(&stack_, &QUndoStack::indexChanged, this, &UndoHistory::updateActions);
    connect(&stack_, &QUndoStack::cleanChanged, this, &UndoHistory::updateActions);
    updateActions();
}

QString UndoHistory::stepText(StepKind kind, const QString& roomName) {
    switch (kind) {
        case StepKind::AddRoom: return tr("dodanie pomieszczenia %1").arg(roomName);
        case StepKind::CloneRoom: return tr("klonowanie pomieszczenia %1").arg(roomName);
        case StepKind::DeleteRoom: return tr("usunięcie pomieszczenia %1").arg(roomName);
        case StepKind::RoomProperties: return tr("zmiana właściwości pomieszczenia %1").arg(roomName);
        case StepKind::MoveRoom: return tr("przesunięcie pomieszczenia %1").arg(roomName);
        case StepKind::ChooseRoom: return tr("wybór pomieszczenia %1").arg(roomName);
        case StepKind::FloorEdit: return tr("edycja podłogi pomieszczenia %1").arg(roomName);
        case StepKind::CeilingEdit: return tr("edycja sufitu pomieszczenia %1").arg(roomName);
        case StepKind::OpenSector: return tr("otwarcie sektora pomieszczenia %1").arg(roomName);
        case StepKind::CloseSector: return tr("zamknięcie sektora pomieszczenia %1").arg(roomName);
        case StepKind::AddPortal: return tr("dodanie portalu w pomieszczeniu %1").arg(roomName);
        case StepKind::PlacePortal: return tr("umieszczenie portalu w pomieszczeniu %1").arg(roomName);
        case StepKind::ChangePortal: return tr("zmiana portalu w pomieszczeniu %1").arg(roomName);
        case StepKind::RemovePortal: return tr("usunięcie portalu z pomieszczenia %1").arg(roomName);
        case StepKind::BuildSettings: return tr("zmiana ustawień budowy levelu");
    }
    return {};
}

void UndoHistory::record(StepKind kind, const std::function<void()>& change) {
    begin(kind);
    try {
        change();
    } catch (...) {
        end();
        throw;
    }
    end();
}

void UndoHistory::begin(StepKind kind) {
    end();
    kind_ = kind;
    deletedRoomName_.clear();
    if (kind == StepKind::DeleteRoom && project_.roomCount >= 1)
        deletedRoomName_ = fromCp1250(project_.room(project_.roomCount).name.view());
    recorder_.begin(project_, kind);
}

void UndoHistory::end() {
    if (!recorder_.recording()) return;
    ProjectStep step = recorder_.finish(project_);
    if (!step.changed()) return;

    // The room the step is named after: the new one, the one removed, or the current one.
    QString roomName = deletedRoomName_;
    const int named = kind_ == StepKind::AddRoom || kind_ == StepKind::CloneRoom ? project_.roomCount
                                                                                  : project_.currentRoom;
    if (kind_ != StepKind::DeleteRoom && named >= 1 && named <= kMaxRooms)
        roomName = fromCp1250(project_.room(named).name.view());
    stack_.push(new StepCommand(*this, std::move(step), stepText(kind_, roomName)));
}

void UndoHistory::undo() {
    end();
    stack_.undo();
}

void UndoHistory::redo() {
    end();
    stack_.redo();
}

void UndoHistory::restart() {
    recorder_.cancel();
    stack_.clear();
}

void UndoHistory::markSaved() {
    end();
    stack_.setClean();
}

void UndoHistory::updateActions() {
    const bool canUndo = stack_.canUndo();
    const bool canRedo = stack_.canRedo();
    const QString undoHint = canUndo ? tr("Cofnij: %1").arg(stack_.undoText()) : tr("Nie ma zmian do cofnięcia");
    const QString redoHint = canRedo ? tr("Ponów: %1").arg(stack_.redoText()) : tr("Nie ma zmian do ponowienia");
    undoAction_->setEnabled(canUndo);
    undoAction_->setToolTip(undoHint);
    undoAction_->setStatusTip(undoHint);
    redoAction_->setEnabled(canRedo);
    redoAction_->setToolTip(redoHint);
    redoAction_->setStatusTip(redoHint);
}

void UndoHistory::serveWindow(QWidget* window) {
    window->addAction(undoAction_);
    window->addAction(redoAction_);
    if (windows_.isEmpty()) qApp->installEventFilter(this);
    windows_ << window;
    connect(window, &QObject::destroyed, this, [this, window] { windows_.removeAll(window); });
}

// A text field with the focus asks for Ctrl+Z (and the redo keys) for its own undo; in the
// windows served the keys undo the project instead. Left unaccepted, the keys go to the
// shortcuts.
bool UndoHistory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()) return false;
    const QWidget* widget = static_cast<QWidget*>(watched);
    if (!windows_.contains(widget->window())) return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QAction* action : {undoAction_, redoAction_}) {
        if (action->shortcuts().contains(pressed)) {
            event->ignore();
            return true;
        }
    }
    return false;
}

}  // namespace cw::ui
