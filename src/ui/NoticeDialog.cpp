#include "ui/NoticeDialog.h"

#include "platform/Help.h"
#include "platform/Sound.h"
#include "ui/MessageCatalog.h"
#include "ui/MessageLayout.h"
#include "ui/QuestionDialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace lumo {

namespace {
constexpr int kLabelX = 112;
} // namespace

NoticeDialog::NoticeDialog(MessageCatalog& catalog, QWidget* parent)
    : QDialog(parent), catalog_(catalog) {
    setWindowTitle(QString::fromUtf8("Rückmeldung an den Anwender"));
    InstallHelpKey(this, [this] { catalog_.showHelp(0); }); // F1: what the user is doing
    panel = BuildDialogFrame(this, QColor(0, 255, 255), QColor(0, 128, 128), &picture, &caption);

    titleLabel = new QLabel(panel);
    titleLabel->setObjectName(QStringLiteral("titleLabel"));
    QPalette pal = titleLabel->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 128, 128)); // teal
    titleLabel->setPalette(pal);
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);

    messageLabel = new QLabel(panel);
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    messageLabel->setWordWrap(true);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    thanksButton = new QPushButton(QStringLiteral("Danke"), panel);
    thanksButton->setObjectName(QStringLiteral("thanksButton"));
    thanksButton->setDefault(true);
    connect(thanksButton, &QPushButton::clicked, this, &NoticeDialog::onThanks);
    relayout();
}

void NoticeDialog::Fill(const QString& title, const QString& text, int labelWidth) {
    text_ = text;
    titleLabel->setText(title);
    messageLabel->setText(ScreenText(text));
    messageLabel->setFixedWidth(
        MessageLabelWidth(messageLabel->font(), messageLabel->text(), labelWidth));
    thanksButton->setFocus();
    relayout();
}

void NoticeDialog::relayout() {
    const int w = messageLabel->width() > 0 ? messageLabel->width() : 270;
    titleLabel->setGeometry(kLabelX, 14, 290, 20);
    const int h = std::max(20, messageLabel->heightForWidth(w));
    messageLabel->setGeometry(kLabelX, 40, w, h);
    const int buttonY = std::max(120, 40 + h + 16);
    thanksButton->setGeometry(kLabelX, buttonY, 90, 28);
    const int panelW = kLabelX + w + 20;
    const int panelH = buttonY + 28 + 14;
    panel->setGeometry(6, 6, panelW, panelH);
    setFixedSize(panelW + 12, panelH + 12);
}

void NoticeDialog::onThanks() {
    catalog_.sound_.PlayClick();
    closing_ = true;
    done(QDialog::Accepted);
    closing_ = false;
}

void NoticeDialog::reject() {
    onThanks();
}

void NoticeDialog::closeEvent(QCloseEvent* event) {
    if (closing_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    onThanks();
}

} // namespace lumo
