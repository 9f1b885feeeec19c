#pragma once
// The fixed 638 x 440 client area of the main window. It shows the canvas that MainWindow
// draws the level lists and result pages on, and hands mouse presses on the centre to
// MainWindow::onCanvasPress.
#include <QWidget>

namespace lumo {

class MainWindow;

class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(MainWindow& main, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    MainWindow& main_;
};

} // namespace lumo
