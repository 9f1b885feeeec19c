#include "ui/NoticeDialog.h"

#include <QPushButton>

namespace lumo {

NoticeDialog::NoticeDialog(MessageCatalog& catalog, QWidget* parent)
    : MessageDialog(catalog,
                    {QString::fromUtf8("Rückmeldung an den Anwender"), QColor(0, 255, 255),
                     QColor(0, 128, 128)},
                    parent) {
    thanksButton = new QPushButton(QStringLiteral("Danke"), panel);
    thanksButton->setObjectName(QStringLiteral("thanksButton"));
    thanksButton->setDefault(true);
    connect(thanksButton, &QPushButton::clicked, this, &NoticeDialog::onThanks);
    relayout();
}

void NoticeDialog::Fill(const QString& title, const QString& text, int labelWidth) {
    SetMessage(title, text, labelWidth);
    thanksButton->setFocus();
    relayout();
}

void NoticeDialog::relayout() {
    LayOut(270, {thanksButton}, 90, 28);
}

void NoticeDialog::onThanks() {
    Finish(QDialog::Accepted);
}

void NoticeDialog::reject() {
    onThanks();
}

} // namespace lumo
