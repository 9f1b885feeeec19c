#include "shell/SystemHinweis.h"

#include "platform/Sound.h"
#include "shell/MessageCatalog.h"
#include "shell/SystemRequest.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace lumo {

namespace {
constexpr int kLabelX = 112;
} // namespace

THinweis::THinweis(MessageCatalog& catalog, QWidget* parent) : QDialog(parent), catalog_(catalog) {
    setWindowTitle(QString::fromUtf8("Rückmeldung an den Anwender"));
    Panel1 = BuildDialogFrame(this, QColor(0, 255, 255), QColor(0, 128, 128), &Image1, &Label3);

    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QPalette pal = Label1->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 128, 128)); // teal
    Label1->setPalette(pal);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    Label2 = new QLabel(Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Button1 = new QPushButton(QStringLiteral("Danke"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &THinweis::Button1Click);
    relayout();
}

void THinweis::Fill(const QString& title, const QString& text, int labelWidth) {
    text_ = text;
    Label1->setText(title);
    Label2->setText(ScreenText(text));
    Label2->setFixedWidth(labelWidth);
    Button1->setFocus();
    relayout();
}

void THinweis::relayout() {
    const int w = Label2->width() > 0 ? Label2->width() : 270;
    Label1->setGeometry(kLabelX, 14, 290, 20);
    const int h = std::max(20, Label2->heightForWidth(w));
    Label2->setGeometry(kLabelX, 40, w, h);
    const int buttonY = std::max(120, 40 + h + 16);
    Button1->setGeometry(kLabelX, buttonY, 90, 28);
    const int panelW = kLabelX + w + 20;
    const int panelH = buttonY + 28 + 14;
    Panel1->setGeometry(6, 6, panelW, panelH);
    setFixedSize(panelW + 12, panelH + 12);
}

void THinweis::Button1Click() {
    catalog_.sound_.PlayClick();
    closing_ = true;
    done(QDialog::Accepted);
    closing_ = false;
}

void THinweis::reject() {
    Button1Click();
}

void THinweis::closeEvent(QCloseEvent* event) {
    if (closing_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    Button1Click();
}

} // namespace lumo
