#include "ui/MessageDialog.h"

#include "platform/Help.h"
#include "platform/Sound.h"
#include "ui/MessageCatalog.h"
#include "ui/MessageLayout.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace lumo {

namespace {

constexpr int kLabelX = 112; // text column right of the picture

void SetTextColour(QLabel* label, const QColor& c) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, c);
    label->setPalette(pal);
}

void SetBold(QWidget* w) {
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

} // namespace

QPixmap DialogPicture(const QColor& accent) {
    // A framed slide: white mount, dark sky, a sun and two hills.
    QPixmap pm(80, 80);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(245, 245, 240));
    p.drawRoundedRect(QRectF(2.5, 2.5, 75, 75), 6, 6);
    const QRectF window(16, 16, 48, 48);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 30, 70));
    p.drawRect(window);
    p.setClipRect(window);
    p.setBrush(QColor(255, 210, 80));
    p.drawEllipse(QPointF(50, 29), 6, 6);
    p.setBrush(accent.darker(150));
    p.drawEllipse(QPointF(28, 72), 26, 20);
    p.setBrush(accent.darker(220));
    p.drawEllipse(QPointF(58, 76), 24, 18);
    p.setClipping(false);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(window);
    return pm;
}

QWidget* BuildDialogFrame(QDialog* dialog, const QColor& panel, const QColor& accent,
                          QLabel** image, QLabel** caption) {
    // Tool-window border, no system buttons.
    dialog->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->setModal(true);
    auto* frame = new QWidget(dialog);
    frame->setObjectName(QStringLiteral("panel"));
    frame->setAutoFillBackground(true);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::Window, panel);
    frame->setPalette(pal);

    auto* img = new QLabel(frame);
    img->setObjectName(QStringLiteral("picture"));
    img->setPixmap(DialogPicture(accent));
    img->setGeometry(12, 12, 80, 80);

    auto* cap = new QLabel(QStringLiteral("Lumoretta 3.0"), frame);
    cap->setObjectName(QStringLiteral("caption"));
    QFont small = cap->font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.75));
    cap->setFont(small);
    cap->setAlignment(Qt::AlignHCenter);
    cap->setGeometry(4, 96, 96, 16);

    *image = img;
    *caption = cap;
    return frame;
}

QString ScreenText(const QString& text) {
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

MessageDialog::MessageDialog(MessageCatalog& catalog, const Look& look, QWidget* parent)
    : QDialog(parent), catalog_(catalog) {
    setWindowTitle(look.windowTitle);
    InstallHelpKey(this, [this] { catalog_.showHelp(0); }); // F1: what the user is doing
    panel = BuildDialogFrame(this, look.panel, look.accent, &picture, &caption);

    titleLabel = new QLabel(panel);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    SetTextColour(titleLabel, look.accent);
    SetBold(titleLabel);

    messageLabel = new QLabel(panel);
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    messageLabel->setWordWrap(true);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (look.boldBlackMessage) {
        SetTextColour(messageLabel, QColor(0, 0, 0));
        SetBold(messageLabel);
    }
}

void MessageDialog::SetMessage(const QString& title, const QString& text, int labelWidth) {
    text_ = text;
    titleLabel->setText(title);
    messageLabel->setText(ScreenText(text));
    messageLabel->setFixedWidth(
        MessageLabelWidth(messageLabel->font(), messageLabel->text(), labelWidth));
}

void MessageDialog::LayOut(int defaultWidth, std::initializer_list<QPushButton*> buttons,
                           int buttonWidth, int buttonHeight) {
    const int w = messageLabel->width() > 0 ? messageLabel->width() : defaultWidth;
    titleLabel->setGeometry(kLabelX, 14, 290, 20);
    const int h = std::max(20, messageLabel->heightForWidth(w));
    messageLabel->setGeometry(kLabelX, 40, w, h);
    const int buttonsY = std::max(120, 40 + h + 16);
    int x = kLabelX;
    for (QPushButton* button : buttons) {
        button->setGeometry(x, buttonsY, buttonWidth, buttonHeight);
        x += buttonWidth + 12;
    }
    const int panelW = std::max(kLabelX + w, x - 12) + 20;
    const int panelH = buttonsY + buttonHeight + 14;
    panel->setGeometry(6, 6, panelW, panelH);
    setFixedSize(panelW + 12, panelH + 12);
}

void MessageDialog::Finish(int result) {
    catalog_.sound_.PlayClick();
    closing_ = true;
    done(result);
    closing_ = false;
}

void MessageDialog::closeEvent(QCloseEvent* event) {
    if (closing_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    reject();
}

} // namespace lumo
