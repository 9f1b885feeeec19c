#include "shell/InputRequester.h"

#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "shell/MessageCatalog.h"
#include "shell/SystemRequest.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace lumo {

namespace {

constexpr int kLabelX = 112;

// A whole number: an optional sign and at least one digit, nothing else.
std::optional<long long> WholeNumber(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    qsizetype i = 0;
    if (text.at(0) == QLatin1Char('+') || text.at(0) == QLatin1Char('-'))
        i = 1;
    if (i == text.size())
        return std::nullopt;
    for (qsizetype j = i; j < text.size(); ++j)
        if (text.at(j) < QLatin1Char('0') || text.at(j) > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const long long v = text.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

} // namespace

TInputRequester::TInputRequester(MessageCatalog& catalog, QWidget* parent)
    : QDialog(parent), catalog_(catalog) {
    setWindowTitle(QStringLiteral("Systemdatenerfassung"));
    Panel1 = BuildDialogFrame(this, QColor(255, 255, 0), QColor(0, 128, 0), &Image1, &Label3);

    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setVisible(false);

    Label2 = new QLabel(Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);

    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFont(bold);
    QPalette editPal = Edit1->palette();
    editPal.setColor(QPalette::Base, QColor(0, 255, 255));
    Edit1->setPalette(editPal);
    Edit1->setValidator(new Cp1252Validator(Edit1));

    CheckBox1 = new QCheckBox(Panel1);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    QPalette checkPal = CheckBox1->palette();
    checkPal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    checkPal.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    CheckBox1->setPalette(checkPal);

    BitBtn1 = new QPushButton(QStringLiteral("&Suchen"), Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn3 = new QPushButton(QStringLiteral("&Hilfe"), Panel1);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setAutoDefault(false);
    BitBtn2 = new QPushButton(QStringLiteral("&Beenden"), Panel1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &TInputRequester::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TInputRequester::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TInputRequester::BitBtn3Click);
    SetPrompt(QString(), 270);
}

void TInputRequester::SetPrompt(const QString& text, int labelWidth) {
    prompt_ = text;
    Label2->setText(ScreenText(text));
    Label2->setFixedWidth(labelWidth);
    relayout();
}

void TInputRequester::relayout() {
    const int w = Label2->width() > 0 ? Label2->width() : 270;
    const int h = std::max(34, Label2->heightForWidth(w));
    Label2->setGeometry(kLabelX, 14, w, h);
    int y = 14 + h + 8;
    Edit1->setGeometry(kLabelX, y, 270, 24);
    y += 30;
    CheckBox1->setGeometry(kLabelX, y, 270, 22);
    y = std::max(y + 30, 124);
    constexpr int bw = 86, bh = 28, gap = 6;
    BitBtn1->setGeometry(kLabelX, y, bw, bh);
    BitBtn3->setGeometry(kLabelX + bw + gap, y, bw, bh);
    BitBtn2->setGeometry(kLabelX + 2 * (bw + gap), y, bw, bh);
    const int panelW = kLabelX + std::max(w, 3 * bw + 2 * gap) + 20;
    const int panelH = y + bh + 14;
    Panel1->setGeometry(6, 6, panelW, panelH);
    setFixedSize(panelW + 12, panelH + 12);
}

int TInputRequester::kind() const {
    return Label1->text().toInt();
}

int TInputRequester::HelpContext(int kind) {
    switch (kind) {
    case 1:
        return 302;
    case 2:
        return 303;
    case 3:
        return 304;
    case 4:
        return 203;
    case 5:
        return 202;
    case 6:
        return 102;
    default:
        return 1;
    }
}

void TInputRequester::RunModal() {
    closed_ = false;
    unanswered_ = false;
    pendingRefusal_ = 0;
    Edit1->setFocus();
    for (;;) {
        if (catalog_.testMode_) {
            runOnceTestMode();
        } else {
            exec();
        }
        if (pendingRefusal_ != 0) {
            // The refused input: the error in front, then the dialog again.
            const int e = pendingRefusal_;
            pendingRefusal_ = 0;
            catalog_.ShowError(e);
            if (catalog_.hooks_)
                catalog_.hooks_->SetScreenCaptions(mode::Disabled);
            Edit1->setFocus();
            continue;
        }
        if (closed_)
            break;
        if (!catalog_.testMode_)
            break; // the window went away without a button (cannot normally happen)
    }
}

void TInputRequester::runOnceTestMode() {
    const auto a =
        catalog_.takeAnswer({DialogAnswer::Type, DialogAnswer::Cancel, DialogAnswer::Help});
    if (!a) {
        unanswered_ = true;
        BitBtn2Click();
        return;
    }
    switch (a->kind) {
    case DialogAnswer::Type:
        Edit1->setText(a->text);
        if (a->check)
            CheckBox1->setChecked(*a->check);
        BitBtn1Click();
        break;
    case DialogAnswer::Help:
        BitBtn3Click();
        break;
    default:
        BitBtn2Click();
        break;
    }
}

void TInputRequester::Refuse(int error) {
    pendingRefusal_ = error;
    hide(); // ends the modal loop; RunModal shows the error and opens the dialog again
}

void TInputRequester::Finish(int result) {
    closed_ = true;
    done(result);
}

void TInputRequester::BitBtn1Click() {
    catalog_.sound_.PlaySoundCue(QStringLiteral("camera1"), 781);
    AppState& st = catalog_.state_;
    const QString text = Edit1->text();
    switch (kind()) {
    case 1:
    case 3:
        if (text.isEmpty()) {
            Refuse(4);
        } else {
            st.searchConfirmed = true;
            Finish(Accepted);
        }
        break;
    case 2: {
        const auto v = WholeNumber(text);
        if (!v || *v < 1 || *v > 255) {
            Refuse(5);
        } else {
            st.boxNumber = int32_t(*v);
            st.searchConfirmed = true;
            Finish(Accepted);
        }
        break;
    }
    case 4: {
        const auto v = WholeNumber(text);
        if (!v || *v < 1 || *v > st.counters.totalRecords) {
            Refuse(7);
        } else {
            st.currentSlide = int32_t(*v);
            st.searchConfirmed = true;
            Finish(Accepted);
        }
        break;
    }
    case 5:
        if (text.isEmpty()) {
            Refuse(4);
        } else if (text.at(0).unicode() < u'A' || text.at(0).unicode() > u'Z') {
            Refuse(17);
        } else {
            if (catalog_.insertKeyword_)
                catalog_.insertKeyword_(text);
            Finish(Accepted);
        }
        break;
    case 6:
        if (text.isEmpty()) {
            Refuse(4);
        } else {
            st.confirmAnswer = true;
            Finish(Accepted);
        }
        break;
    default:
        break;
    }
    Edit1->setFocus();
}

void TInputRequester::BitBtn2Click() {
    catalog_.sound_.PlayClick();
    const int m = catalog_.state_.screenMode;
    if (m != mode::Main && m != mode::NewKeyword && catalog_.hooks_)
        catalog_.hooks_->ShowResultScrollBar();
    if (Edit1->isVisible())
        Edit1->setFocus();
    Finish(Rejected);
}

void TInputRequester::BitBtn3Click() {
    catalog_.sound_.PlayClick();
    const QString file =
        QString::fromStdString(catalog_.state_.archive.resolve("DIA.HLP").string());
    catalog_.help_.ShowHelp(file, HelpContext(kind()));
    Edit1->setFocus();
}

void TInputRequester::reject() {
    BitBtn2Click();
}

void TInputRequester::closeEvent(QCloseEvent* event) {
    if (closed_ || pendingRefusal_ != 0) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    BitBtn2Click();
}

} // namespace lumo
