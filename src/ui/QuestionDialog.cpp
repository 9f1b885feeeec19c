#include "ui/QuestionDialog.h"

#include "ui/MessageCatalog.h"

#include <QPushButton>

namespace lumo {

namespace {
constexpr int kButtonW = 90;
constexpr int kButtonH = 28;
} // namespace

QuestionDialog::QuestionDialog(MessageCatalog& catalog, QWidget* parent)
    : MessageDialog(catalog,
                    {QStringLiteral("Systemmeldung an den Anwender"), QColor(255, 255, 0),
                     QColor(0, 0, 255), true},
                    parent) {
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
    question_ = question;
    escaped_ = false;
    SetMessage(title, text, labelWidth);
    acceptButton->setText(question ? QStringLiteral("Ja") : QStringLiteral("Danke"));
    declineButton->setVisible(question);
    declineButton->setDefault(false);
    acceptButton->setDefault(true);
    acceptButton->setFocus();
    relayout();
}

void QuestionDialog::MakeDeclineDefault() {
    acceptButton->setDefault(false);
    declineButton->setDefault(true);
    declineButton->setFocus();
}

void QuestionDialog::relayout() {
    LayOut(250, {acceptButton, declineButton}, kButtonW, kButtonH);
}

void QuestionDialog::onAccept() {
    catalog_.state_.confirmAnswer = true;
    Finish(QDialog::Accepted);
}

void QuestionDialog::onDecline() {
    catalog_.state_.confirmAnswer = false;
    Finish(QDialog::Rejected);
}

void QuestionDialog::reject() {
    // Leaving with Esc never leaves an old "Ja" behind for the caller to read.
    if (question_) {
        onDecline();
        escaped_ = true;
    } else
        onAccept();
}

} // namespace lumo
