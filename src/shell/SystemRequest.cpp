#include "shell/SystemRequest.h"

#include "platform/Sound.h"
#include "shell/MessageCatalog.h"

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
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setAutoFillBackground(true);
    QPalette pal = frame->palette();
    pal.setColor(QPalette::Window, panel);
    frame->setPalette(pal);

    auto* img = new QLabel(frame);
    img->setObjectName(QStringLiteral("Image1"));
    img->setPixmap(DialogPicture(accent));
    img->setGeometry(12, 12, 80, 80);

    auto* cap = new QLabel(QStringLiteral("Lumoretta 3.0"), frame);
    cap->setObjectName(QStringLiteral("Label3"));
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

TRequester::TRequester(MessageCatalog& catalog, QWidget* parent)
    : QDialog(parent), catalog_(catalog) {
    setWindowTitle(QStringLiteral("Systemmeldung an den Anwender"));
    Panel1 = BuildDialogFrame(this, QColor(255, 255, 0), QColor(0, 0, 255), &Image1, &Label3);

    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    SetTextColour(Label1, QColor(0, 0, 255));
    SetBold(Label1);

    Label2 = new QLabel(Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetTextColour(Label2, QColor(0, 0, 0));
    SetBold(Label2);

    BitBtn1 = new QPushButton(QStringLiteral("Danke"), Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Nein"), Panel1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &TRequester::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TRequester::BitBtn2Click);
    relayout();
}

void TRequester::Fill(const QString& title, const QString& text, bool question, int labelWidth) {
    text_ = text;
    question_ = question;
    Label1->setText(title);
    Label2->setText(ScreenText(text));
    Label2->setFixedWidth(labelWidth);
    BitBtn1->setText(question ? QStringLiteral("Ja") : QStringLiteral("Danke"));
    BitBtn2->setVisible(question);
    BitBtn1->setDefault(true);
    BitBtn1->setFocus();
    relayout();
}

void TRequester::relayout() {
    const int w = Label2->width() > 0 ? Label2->width() : 250;
    Label1->setGeometry(kLabelX, 14, 290, 20);
    const int h = std::max(20, Label2->heightForWidth(w));
    Label2->setGeometry(kLabelX, 40, w, h);
    const int buttonsY = std::max(120, 40 + h + 16);
    BitBtn1->setGeometry(kLabelX, buttonsY, kButtonW, kButtonH);
    BitBtn2->setGeometry(kLabelX + kButtonW + 12, buttonsY, kButtonW, kButtonH);
    const int panelW = kLabelX + std::max(w, 2 * kButtonW + 12) + 20;
    const int panelH = buttonsY + kButtonH + 14;
    Panel1->setGeometry(6, 6, panelW, panelH);
    setFixedSize(panelW + 12, panelH + 12);
}

void TRequester::BitBtn1Click() {
    catalog_.sound_.PlayClick();
    catalog_.state_.confirmAnswer = true;
    closing_ = true;
    done(QDialog::Accepted);
    closing_ = false;
}

void TRequester::BitBtn2Click() {
    catalog_.sound_.PlayClick();
    catalog_.state_.confirmAnswer = false;
    closing_ = true;
    done(QDialog::Rejected);
    closing_ = false;
}

void TRequester::reject() {
    // Leaving with Esc never leaves an old "Ja" behind for the caller to read.
    if (question_)
        BitBtn2Click();
    else
        BitBtn1Click();
}

void TRequester::closeEvent(QCloseEvent* event) {
    if (closing_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    reject();
}

} // namespace lumo
