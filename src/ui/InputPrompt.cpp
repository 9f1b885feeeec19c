#include "ui/InputPrompt.h"

#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "ui/MessageCatalog.h"
#include "ui/QuestionDialog.h"

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

InputPrompt::InputPrompt(MessageCatalog& catalog, QWidget* parent)
    : QDialog(parent), catalog_(catalog) {
    setWindowTitle(QStringLiteral("Systemdatenerfassung"));
    InstallHelpKey(this, [this] { onHelp(); }); // F1: as the help button
    panel = BuildDialogFrame(this, QColor(255, 255, 0), QColor(0, 128, 0), &picture, &caption);

    kindLabel = new QLabel(panel);
    kindLabel->setObjectName(QStringLiteral("kindLabel"));
    kindLabel->setVisible(false);

    promptLabel = new QLabel(panel);
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    promptLabel->setWordWrap(true);
    promptLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont bold = promptLabel->font();
    bold.setBold(true);
    promptLabel->setFont(bold);

    input = new QLineEdit(panel);
    input->setObjectName(QStringLiteral("input"));
    input->setFont(bold);
    QPalette editPal = input->palette();
    editPal.setColor(QPalette::Base, QColor(0, 255, 255));
    input->setPalette(editPal);
    input->setValidator(new Cp1252Validator(input));

    optionBox = new QCheckBox(panel);
    optionBox->setObjectName(QStringLiteral("optionBox"));
    QPalette checkPal = optionBox->palette();
    checkPal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    checkPal.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    optionBox->setPalette(checkPal);

    searchButton = new QPushButton(QStringLiteral("&Suchen"), panel);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    searchButton->setDefault(true);
    helpButton = new QPushButton(QStringLiteral("&Hilfe"), panel);
    helpButton->setObjectName(QStringLiteral("helpButton"));
    helpButton->setAutoDefault(false);
    quitButton = new QPushButton(QStringLiteral("&Beenden"), panel);
    quitButton->setObjectName(QStringLiteral("quitButton"));
    quitButton->setAutoDefault(false);
    connect(searchButton, &QPushButton::clicked, this, &InputPrompt::onSearch);
    connect(quitButton, &QPushButton::clicked, this, &InputPrompt::onQuit);
    connect(helpButton, &QPushButton::clicked, this, &InputPrompt::onHelp);
    SetPrompt(QString(), 270);
}

void InputPrompt::SetPrompt(const QString& text, int labelWidth) {
    prompt_ = text;
    promptLabel->setText(ScreenText(text));
    promptLabel->setFixedWidth(labelWidth);
    relayout();
}

void InputPrompt::relayout() {
    const int w = promptLabel->width() > 0 ? promptLabel->width() : 270;
    const int h = std::max(34, promptLabel->heightForWidth(w));
    promptLabel->setGeometry(kLabelX, 14, w, h);
    int y = 14 + h + 8;
    input->setGeometry(kLabelX, y, 270, 24);
    y += 30;
    optionBox->setGeometry(kLabelX, y, 270, 22);
    y = std::max(y + 30, 124);
    constexpr int bw = 86, bh = 28, gap = 6;
    searchButton->setGeometry(kLabelX, y, bw, bh);
    helpButton->setGeometry(kLabelX + bw + gap, y, bw, bh);
    quitButton->setGeometry(kLabelX + 2 * (bw + gap), y, bw, bh);
    const int panelW = kLabelX + std::max(w, 3 * bw + 2 * gap) + 20;
    const int panelH = y + bh + 14;
    panel->setGeometry(6, 6, panelW, panelH);
    setFixedSize(panelW + 12, panelH + 12);
}

int InputPrompt::kind() const {
    return kindLabel->text().toInt();
}

int InputPrompt::HelpContext(int kind) {
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

void InputPrompt::RunModal() {
    closed_ = false;
    unanswered_ = false;
    pendingRefusal_ = 0;
    input->setFocus();
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
            if (catalog_.screen_)
                catalog_.screen_->SetScreenCaptions(mode::Disabled);
            input->setFocus();
            continue;
        }
        if (closed_)
            break;
        if (!catalog_.testMode_)
            break; // the window went away without a button (cannot normally happen)
    }
}

void InputPrompt::runOnceTestMode() {
    const auto a =
        catalog_.takeAnswer({DialogAnswer::Type, DialogAnswer::Cancel, DialogAnswer::Help});
    if (!a) {
        unanswered_ = true;
        onQuit();
        return;
    }
    switch (a->kind) {
    case DialogAnswer::Type:
        input->setText(a->text);
        if (a->check)
            optionBox->setChecked(*a->check);
        onSearch();
        break;
    case DialogAnswer::Help:
        onHelp();
        break;
    default:
        onQuit();
        break;
    }
}

void InputPrompt::Refuse(int error) {
    pendingRefusal_ = error;
    hide(); // ends the modal loop; RunModal shows the error and opens the dialog again
}

void InputPrompt::Finish(int result) {
    closed_ = true;
    done(result);
}

void InputPrompt::onSearch() {
    catalog_.sound_.PlaySoundCue(QStringLiteral("camera1"), 781);
    AppState& st = catalog_.state_;
    const QString text = input->text();
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
    case 6: // blanks name no directory either
        if (text.trimmed().isEmpty()) {
            Refuse(4);
        } else {
            st.confirmAnswer = true;
            Finish(Accepted);
        }
        break;
    default:
        break;
    }
    input->setFocus();
}

void InputPrompt::onQuit() {
    catalog_.sound_.PlayClick();
    const int m = catalog_.state_.screenMode;
    if (m != mode::Main && m != mode::NewKeyword && catalog_.screen_)
        catalog_.screen_->ShowResultScrollBar();
    if (input->isVisible())
        input->setFocus();
    Finish(Rejected);
}

void InputPrompt::onHelp() {
    catalog_.sound_.PlayClick();
    catalog_.showHelp(HelpContext(kind()));
    input->setFocus();
}

void InputPrompt::reject() {
    onQuit();
}

void InputPrompt::closeEvent(QCloseEvent* event) {
    if (closed_ || pendingRefusal_ != 0) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    onQuit();
}

} // namespace lumo
