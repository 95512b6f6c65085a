#pragma once
// The program's own pictures, drawn in code: the window icon (also the about box picture) and
// the pictures of the main window's two picture buttons.
#include <QIcon>
#include <QPixmap>

namespace cw::ui {

// A cairn of stones over a plan grid, size x size pixels.
QPixmap cairnworkPicture(int size);
QIcon cairnworkIcon();
// A room with a plus: "Dodaj nowe pomieszczenie".
QIcon addRoomIcon();
// A room with a pencil: "Edytuj właściwości pomieszczenia".
QIcon roomPropertiesIcon();

}  // namespace cw::ui
