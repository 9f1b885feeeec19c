#include "ui/QuestionDialog.h"

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
constexpr int kButtonW = 90;
constexpr int kButtonH = 28;
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

static void SetTextColour(QLabel* label, const QColor& c) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, c);
    label->setPalette(pal);
}

static void SetBold(QWidget* w) {
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

QuestionDialog::QuestionDialog(MessageCatalog& catalog, QWidget* parent)
    : QDialog(parent), catalog_(catalog) {
    setWindowTitle(QStringLiteral("Systemmeldung an den Anwender"));
    InstallHelpKey(this, [this] { catalog_.showHelp(0); }); // F1: what the user is doing
    panel = BuildDialogFrame(this, QColor(255, 255, 0), QColor(0, 0, 255), &picture, &caption);

    titleLabel = new QLabel(panel);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    SetTextColour(titleLabel, QColor(0, 0, 255));
    SetBold(titleLabel);

    messageLabel = new QLabel(panel);
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    messageLabel->setWordWrap(true);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColour(messageLabel, QColor(0, 0, 0));
    SetBold(messageLabel);

    acceptButton = new QPushButton(QStringLiteral("Danke"), panel);
    acceptButton->setObjectName(QStringLiteral("acceptButton"));
    acceptButton->setDefault(true);
    acceptButton->setAutoDefault(true);
    declineButton = new QPushButton(QStringLiteral("Nein"), panel);
    declineButton->setObjectName(QStringLiteral("declineButton"));
    declineButton->setAutoDefault(false);
    connect(acceptButton, &QPushButton::clicked, this, &QuestionDialog::onAccept);
    connect(declineButton, &QPushButton::clicked, this, &QuestionDialog::onDecline);
    relayout();
}

void QuestionDialog::Fill(const QString& title, const QString& text, bool question,
                          int labelWidth) {
    text_ = text;
    question_ = question;
    titleLabel->setText(title);
    messageLabel->setText(ScreenText(text));
    messageLabel->setFixedWidth(
        MessageLabelWidth(messageLabel->font(), messageLabel->text(), labelWidth));
    acceptButton->setText(question ? QStringLiteral("Ja") : QStringLiteral("Danke"));
    declineButton->setVisible(question);
    acceptButton->setDefault(true);
    acceptButton->setFocus();
    relayout();
}

void QuestionDialog::relayout() {
    const int w = messageLabel->width() > 0 ? messageLabel->width() : 250;
    titleLabel->setGeometry(kLabelX, 14, 290, 20);
    const int h = std::max(20, messageLabel->heightForWidth(w));
    messageLabel->setGeometry(kLabelX, 40, w, h);
    const int buttonsY = std::max(120, 40 + h + 16);
    acceptButton->setGeometry(kLabelX, buttonsY, kButtonW, kButtonH);
    declineButton->setGeometry(kLabelX + kButtonW + 12, buttonsY, kButtonW, kButtonH);
    const int panelW = kLabelX + std::max(w, 2 * kButtonW + 12) + 20;
    const int panelH = buttonsY + kButtonH + 14;
    panel->setGeometry(6, 6, panelW, panelH);
    setFixedSize(panelW + 12, panelH + 12);
}

void QuestionDialog::onAccept() {
    catalog_.sound_.PlayClick();
    catalog_.state_.confirmAnswer = true;
    closing_ = true;
    done(QDialog::Accepted);
    closing_ = false;
}

void QuestionDialog::onDecline() {
    catalog_.sound_.PlayClick();
    catalog_.state_.confirmAnswer = false;
    closing_ = true;
    done(QDialog::Rejected);
    closing_ = false;
}

void QuestionDialog::reject() {
    // Leaving with Esc never leaves an old "Ja" behind for the caller to read.
    if (question_)
        onDecline();
    else
        onAccept();
}

void QuestionDialog::closeEvent(QCloseEvent* event) {
    if (closing_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    reject();
}

} // namespace lumo
