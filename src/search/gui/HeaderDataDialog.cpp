#include "search/gui/HeaderDataDialog.h"

#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "search/gui/SearchCommands.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace lumo {

namespace {
const QString kSave = QStringLiteral("&Speichern");
const QString kSearch = QStringLiteral("&Suchen");
constexpr int kEntryMaxLength = 15;
constexpr int kUnlimited = 32767;
} // namespace

HeaderDataDialog::HeaderDataDialog(const FeatureContext& ctx, SearchCommands& commands)
    : QDialog(ctx.screen.MainWidget()), ctx_(ctx), commands_(commands) {
    InstallHelpKey(this, [this] { onHelp(); }); // F1: as the help button
    setWindowTitle(QStringLiteral("Systemdatenerfassung"));
    setFixedSize(420, 400);
    promptLabel = new QLabel(this);
    promptLabel->setGeometry(16, 8, 281, 40);
    promptLabel->setWordWrap(true);
    QFont bold = promptLabel->font();
    bold.setBold(true);
    promptLabel->setFont(bold);
    for (int i = 0; i < 8; ++i) {
        const int y = 56 + i * 32;
        // The names are labels of the value boxes: read-only (also for assistive tools),
        // without the frame and background of an input.
        auto* e = new QLineEdit(this);
        e->setGeometry(16, y, 140, 24);
        e->setReadOnly(true);
        e->setFrame(false);
        e->setFocusPolicy(Qt::NoFocus);
        QPalette names = e->palette();
        names.setColor(QPalette::Base, names.color(QPalette::Window));
        e->setPalette(names);
        e->setObjectName(QStringLiteral("fieldName%1").arg(i + 1));
        fieldNameEdits[i] = e;
        auto* c = new QComboBox(this);
        c->setGeometry(166, y, 236, 24);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        // What is stored or searched is what the user typed or picked from the drop-down:
        // no inline completion into a proposal ("Ni" stays "Ni").
        c->setCompleter(nullptr);
        c->lineEdit()->setValidator(new Cp1252Validator(c));
        c->setObjectName(QStringLiteral("fieldValue%1").arg(i + 1));
        valueBoxes[i] = c;
    }
    slideNumberEdit = new QLineEdit(this);
    slideNumberEdit->setGeometry(342, 16, 60, 24);
    slideNumberEdit->setMaxLength(5);
    slideNumberEdit->setToolTip(QStringLiteral("Dianummer"));
    slideNumberEdit->setAccessibleName(QStringLiteral("Dia-Nr."));
    slideNumberLabel = new QLabel(QStringLiteral("Dia-Nr."), this);
    slideNumberLabel->setGeometry(300, 16, 40, 24);
    slideNumberLabel->setBuddy(slideNumberEdit);
    slideNumberEdit->setValidator(new Cp1252Validator(slideNumberEdit));
    okButton = new QPushButton(kSave, this);
    okButton->setGeometry(16, 330, 92, 30);
    okButton->setDefault(true);
    deleteButton = new QPushButton(QStringLiteral("&Löschen"), this);
    deleteButton->setGeometry(114, 330, 92, 30);
    deleteButton->setAutoDefault(false);
    closeButton = new QPushButton(QStringLiteral("&Beenden"), this);
    closeButton->setGeometry(212, 330, 92, 30);
    closeButton->setAutoDefault(false);
    helpButton = new QPushButton(QStringLiteral("&Hilfe"), this);
    helpButton->setGeometry(310, 330, 92, 30);
    helpButton->setAutoDefault(false);
    // Tab goes from the slide number to the first value box, through the values to the buttons.
    QWidget* previous = slideNumberEdit;
    for (QWidget* next :
         std::initializer_list<QWidget*>{valueBoxes[0], valueBoxes[1], valueBoxes[2], valueBoxes[3],
                                         valueBoxes[4], valueBoxes[5], valueBoxes[6], valueBoxes[7],
                                         okButton, deleteButton, closeButton, helpButton}) {
        setTabOrder(previous, next);
        previous = next;
    }
    connect(okButton, &QPushButton::clicked, this, [this] { onOk(); });
    connect(deleteButton, &QPushButton::clicked, this, [this] { onDelete(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { onClose(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { onHelp(); });
    connect(slideNumberEdit, &QLineEdit::textChanged, this, [this] { onSlideNumberChanged(); });
}

bool HeaderDataDialog::searchMode() const {
    return okButton->text() == kSearch;
}

void HeaderDataDialog::Init() {
    const HeaderFields kd = ReadHeaderFields(ctx_.state.archive);
    for (int i = 0; i < 8; ++i) {
        fieldNameEdits[i]->setText(FromCp1252(kd.names[i]));
        fieldNameEdits[i]->setAccessibleName(FromCp1252(kd.names[i]));
        auto* c = valueBoxes[i];
        c->setAccessibleName(FromCp1252(kd.names[i]));
        c->clear();
        for (const auto& p : kd.proposals[i])
            c->addItem(FromCp1252(p));
        c->setCurrentIndex(-1);
        c->setEditText(QString());
    }
}

void HeaderDataDialog::SetSearchMode() {
    promptLabel->setFixedWidth(281);
    promptLabel->setText(
        QStringLiteral("Bitte geben Sie nun die zu suchenden\rKopfdaten in die Comboboxen ein !")
            .replace(u'\r', u'\n'));
    slideNumberEdit->hide();
    slideNumberLabel->hide();
    okButton->setText(kSearch);
    for (auto* c : valueBoxes)
        c->lineEdit()->setMaxLength(kUnlimited);
}

void HeaderDataDialog::SetEntryMode(const QString& prompt) {
    promptLabel->setFixedWidth(281);
    promptLabel->setText(QString(prompt).replace(u'\r', u'\n'));
    slideNumberEdit->show();
    slideNumberLabel->show();
    okButton->setText(kSave);
    for (auto* c : valueBoxes)
        c->lineEdit()->setMaxLength(kEntryMaxLength);
}

HeaderValues HeaderDataDialog::Values() const {
    HeaderValues v;
    for (int i = 0; i < 8; ++i)
        v[i] = ToCp1252Lossy(valueBoxes[i]->currentText());
    return v;
}

void HeaderDataDialog::SetValues(const HeaderValues& values) {
    for (int i = 0; i < 8; ++i)
        valueBoxes[i]->setEditText(FromCp1252(values[i]));
}

void HeaderDataDialog::OpenForEntry() {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    if (st.counters.totalRecords == 0) {
        ctx_.messages.ShowError(53);
        return;
    }
    st.searchConfirmed = false;
    ctx_.screen.RestoreMainScreen();
    st.screenMode = mode::Main;
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    Init();
    SetEntryMode(QStringLiteral(
        "Bitte geben Sie nun die zu erfassenden\rKopfdaten in die Comboboxen ein !"));
    loading_ = true;
    slideNumberEdit->clear();
    loading_ = false;
    ctx_.messages.ShowStatus(20);
    slideNumberEdit->setFocus();
    exec();
    ctx_.screen.SetProgress(0, 100, 100);
    ctx_.messages.ShowStatus(0);
    ctx_.screen.SetScreenCaptions(st.screenMode);
}

void HeaderDataDialog::onSlideNumberChanged() {
    if (loading_ || searchMode())
        return;
    const QString t = slideNumberEdit->text();
    if (t.isEmpty())
        return;
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n <= 0 || n > ctx_.state.counters.totalRecords) {
        ctx_.messages.ShowError(7);
        return;
    }
    LoadSlideValues(n);
}

void HeaderDataDialog::LoadSlideValues(int32_t slide) {
    HeaderValues values;
    // After a failed read the boxes are empty: the values of the slide shown before must
    // not be saved under this one.
    const Problem p = ReadHeaderRecord(ctx_.state.archive, slide, values);
    SetValues(p ? HeaderValues{} : values);
    ctx_.messages.Report(p);
}

void HeaderDataDialog::ShowSlide(int32_t slide) {
    loading_ = true;
    slideNumberEdit->setText(QString::number(slide));
    loading_ = false;
    LoadSlideValues(slide);
}

std::optional<int32_t> HeaderDataDialog::CheckedSlideNumber() {
    const QString t = slideNumberEdit->text();
    if (t.isEmpty()) {
        ctx_.messages.ShowError(35);
        return std::nullopt;
    }
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n <= 0 || n > ctx_.state.counters.totalRecords) {
        ctx_.messages.ShowError(7);
        return std::nullopt;
    }
    return n;
}

void HeaderDataDialog::onOk() {
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    const HeaderValues values = Values();
    bool allEmpty = true;
    for (const auto& v : values)
        allEmpty = allEmpty && v.empty();
    if (allEmpty) {
        msg.ShowError(4);
        return;
    }
    if (searchMode()) {
        ctx_.state.searchConfirmed = true;
        ctx_.sound.PlaySoundCue(QStringLiteral("camera1"), 0);
        accept();
        return;
    }
    const auto n = CheckedSlideNumber();
    if (!n)
        return;
    if (const Problem p = WriteHeaderRecord(ctx_.state.archive, *n, values)) {
        msg.Report(p);
        return;
    }
    msg.ShowStatus(30);
    ctx_.sound.PlaySoundCue(QStringLiteral("click006"), 1150);
    msg.ShowStatus(20);
    slideNumberEdit->setFocus();
}

void HeaderDataDialog::onDelete() {
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    std::optional<int32_t> n;
    if (!searchMode()) {
        n = CheckedSlideNumber();
        if (!n)
            return;
    }
    msg.ShowStatus(28);
    ctx_.sound.PlaySoundCue(QStringLiteral("loesch"), 1500);
    // The boxes are emptied only once the empty record is on disk: after a failed write
    // they still show what the file holds.
    if (n) {
        if (const Problem p = WriteHeaderRecord(ctx_.state.archive, *n, HeaderValues{})) {
            msg.Report(p);
            msg.ShowStatus(20);
            return;
        }
    }
    SetValues(HeaderValues{});
    msg.ShowStatus(20);
}

void HeaderDataDialog::onClose() {
    ctx_.sound.PlayClick();
    if (!slideNumberEdit->isHidden())
        slideNumberEdit->setFocus();
    reject();
}

void HeaderDataDialog::reject() {
    // Leaving by "&Beenden", Esc or the window's close gives the result list its
    // scroll bar back (the search command hid it).
    const int m = ctx_.state.screenMode;
    if (m != mode::Main && m != mode::NewKeyword)
        ctx_.screen.ShowResultScrollBar();
    QDialog::reject();
}

void HeaderDataDialog::onHelp() {
    ctx_.sound.PlayClick();
    ctx_.ShowHelp(searchMode() ? 305 : 208);
}

void HeaderDataDialog::RunSearch() {
    commands_.RunHeaderDataScan(*this);
}

} // namespace lumo
