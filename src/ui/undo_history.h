#pragma once
// The undo history of the open project: a QUndoStack of steps, each recorded by the core's
// StepRecorder around one change of the project and restored by its ProjectStep. The main
// window's "&Cofnij" and "&Ponów" undo and redo them, in the main window and in the room editor.
//
// Every change of the project goes through record() (or begin() and end() for a change spread
// over several events, a drag); a change that alters nothing leaves no step. The history keeps
// the last kHistoryStepLimit steps. Its clean state is the project as last saved, opened or
// started: the project has unsaved changes exactly when the stack is not clean.
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>

#include "project/project.h"
#include "project/project_history.h"

class QAction;
class QWidget;

namespace cw::ui {

class UndoHistory : public QObject {
    Q_OBJECT
public:
    explicit UndoHistory(Project& project, QObject* parent = nullptr);

    const QUndoStack& stack() const { return stack_; }

    // Runs the change as one step of the kind.
    void record(StepKind kind, const std::function<void()>& change);
    // A step spread over several events: begun, the changes made, ended. A step left open is
    // ended before any other step, undo, redo or save.
    void begin(StepKind kind);
    void end();
    bool recording() const { return recorder_.recording(); }

    void undo();
    void redo();

    // A new, empty history for a project opened or started anew; the project is unchanged.
    void restart();
    // The project was saved as it stands: unchanged from here.
    void markSaved();
    bool isModified() const { return !stack_.isClean(); }

    // The two menu items, "&Cofnij" (Ctrl+Z) and "&Ponów" (Ctrl+Y, Ctrl+Shift+Z): enabled while
    // there is a step to undo or redo, their hints naming it.
    QAction* undoAction() const { return undoAction_; }
    QAction* redoAction() const { return redoAction_; }
    // The shortcuts work in `window` too (the room editor), even where a text field has the
    // focus and would take Ctrl+Z for its own.
    void serveWindow(QWidget* window);

    // The hint of a step: "przesunięcie pomieszczenia Hall".
    static QString stepText(StepKind kind, const QString& roomName);

signals:
    // An undo or a redo changed the project: the windows show it again.
    void projectRestored();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class StepCommand;
    void updateActions();

    Project& project_;
    QUndoStack stack_;
    StepRecorder recorder_;
    StepKind kind_ = StepKind::MoveRoom;
    QString deletedRoomName_;  // a delete names the room it removes
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QList<const QWidget*> windows_;
};

}  // namespace cw::ui
