#pragma once
// TForm3, the room editor: a modal, maximised window with three pages showing the project's
// current room from above ("Widok góra/dół"), from the front ("Widok tył/przód", one row) and
// from the side ("Widok lewy/prawy", one column). Clicks in the pictures edit the room at once.
//
// The window is wiring: the views are drawn by drawing/room_views, the edits made by
// project/sector_editing and project/portal_editing; this class reads its fields, calls them and
// hands the finished images to the main window's screen bitmaps. The 3D view of the room
// (RoomView3D) fills the free part of the window beside the pages; it is told of every redraw.
#include <QDialog>
#include <array>

#include "project/portal_editing.h"
#include "project/project.h"
#include "drawing/room_views.h"
#include "project/sector_editing.h"
#include "ui/editor_services.h"

class QButtonGroup;
class QListWidget;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace cw::ui {

class PictureControl;
class RoomView3D;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3(cw::Project& project, EditorServices& services, QWidget* parent = nullptr);
    ~TForm3() override;

    // The whole redraw: top view cells, DrawSideViews, PresentRoomViews.
    void RedrawRoomViews();
    // Redraws the two side views in memory from the row and column selectors.
    void DrawSideViews();
    // Hands the side views to the screen, marks the portals in the top view, hands it over too
    // and repaints the three pictures.
    void PresentRoomViews();
    // The project was changed under the open window (an undo or a redo): the room, its views,
    // the portal list, the selected portal's fields and the caption are shown again. The window
    // closes when no room is left.
    void showRestoredProject();

    RoomView3D* roomView3D() const { return view3d_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Everything one side view page holds.
    struct SidePage {
        SideView view = SideView::FrontBack;
        QScrollArea* scroll = nullptr;
        PictureControl* picture = nullptr;
        QSpinBox* line = nullptr;       // the row (front/back) or column (left/right) shown
        QSpinBox* lineCount = nullptr;  // lines edited at once
        QSpinBox* above = nullptr;
        QSpinBox* beside = nullptr;
        QSpinBox* below = nullptr;
        std::array<QSpinBox*, 5> floorTextures{};  // front, back, left, right, surface
        std::array<QSpinBox*, 5> floorLights{};
        std::array<QSpinBox*, 5> ceilingTextures{};
        std::array<QSpinBox*, 5> ceilingLights{};
        QButtonGroup* shapes = nullptr;  // button id = ShapeTable entry
        int shape = 1;                   // frontBackShape / leftRightShape
        int linkMode = 1;                // frontBackLinkMode / leftRightLinkMode
        bool scrollPending = false;      // the middle scroll position waits for the page to show
    };
    struct SidePageLayout;

    void buildTopPage(QWidget* page);
    void buildSidePage(QWidget* page, SidePage& side, const SidePageLayout& pageLayout);
    void FormCreate();
    void FormShow();
    void FormActivate();
    void PageControl1Change();
    void SpinEdit1Change();
    void applyPendingScroll();
    void showRoomIn3D();
    void showRoom();        // the line selectors' ranges and the three views, for room()
    void fillPortalList();  // "Door #1" .. of room(), none selected

    void Image1MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int px, int py);
    void Image1MouseMove(int px, int py);
    void sideViewMouseDown(SidePage& side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int px, int py);
    void sideViewMouseMove(SidePage& side, int px, int py);
    void linkFieldChanged(SidePage& side, bool besideField);
    void Button1Click();
    void Button5Click();
    void Button4Click();
    void ListBox1Click();
    void RadioButtonClick(int direction);

    EditorRoom& room();
    SideFields readSideFields(const SidePage& side) const;
    void showSideFields(SidePage& side, const SideFields& fields);
    void showLinks(SidePage& side, const LinkFields& links);
    PortalFields readPortalFields() const;
    int selectedPortal() const;
    void selectPortalEntry(int k);
    void setCaptionReadout(const std::string& readout);
    void makeShapeButtonPictures();

    Project& project_;
    EditorServices& services_;
    EditorRoom spareRoom_;  // shown when the project's current room number is out of range
    ShapeGlyphs glyphs_;
    RoomViewImages views_;
    int portalDirection_ = 1;
    bool filling_ = false;  // fields set by the window itself, not by the user

    QTabWidget* PageControl1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    PictureControl* Image1 = nullptr;
    std::array<QRadioButton*, 6> RadioButtons{};
    QSpinBox* SpinEdit51 = nullptr;
    QSpinBox* SpinEdit49 = nullptr;
    QSpinBox* SpinEdit50 = nullptr;
    QListWidget* ListBox1 = nullptr;
    bool topScrollPending_ = false;
    SidePage frontBack_;
    SidePage leftRight_;
    RoomView3D* view3d_ = nullptr;
};

}  // namespace cw::ui
