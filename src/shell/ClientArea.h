#pragma once
// The fixed 638 x 440 client area of the main window, below its menu bar. It shows the
// canvas the list area draws on and hands mouse presses on it to the main window; the
// tool bar, the list widgets and the bottom panel lie on top of it.
#include <QWidget>

#include <functional>

class QPixmap;

namespace lumo {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    using PressHandler = std::function<void(Qt::MouseButton button, int x, int y)>;
    explicit ClientArea(QWidget* parent = nullptr);

    void setCanvas(const QPixmap* canvas) { canvas_ = canvas; }
    void setPressHandler(PressHandler handler) { onPress_ = std::move(handler); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QPixmap* canvas_ = nullptr;
    PressHandler onPress_;
};

} // namespace lumo
