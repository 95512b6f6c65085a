#pragma once
// TForm4, the about box: the program's name, the translation line, a picture and the release date.
//   Label1 (bold title), Label2 "Tłumaczenie ...", Image1 (picture), Label3 (release date), Button1 "Ok"
#include <QDialog>

namespace cw::ui {

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};

}  // namespace cw::ui
