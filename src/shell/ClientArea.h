#pragma once
// The fixed 638 x 440 client area of the main window. It shows the canvas that TForm1
// draws the level lists and result pages on, and hands mouse presses on the centre to
// TForm1::FormMouseDown.
#include <QWidget>

namespace lumo {

class TForm1;

class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(TForm1& main, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TForm1& main_;
};

} // namespace lumo
