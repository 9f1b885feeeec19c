#include "search/gui/DiaKopfSearch.h"

#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "search/gui/SearchCommands.h"
#include "shell/Main.h"
#include "shell/MessageCatalog.h"

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

TForm3::TForm3(TForm1& main, SearchCommands& commands)
    : QDialog(&main), main_(main), commands_(commands) {
    setWindowTitle(QStringLiteral("Systemdatenerfassung"));
    setFixedSize(420, 400);
    Label1 = new QLabel(this);
    Label1->setGeometry(16, 8, 281, 40);
    Label1->setWordWrap(true);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    for (int i = 0; i < 8; ++i) {
        const int y = 56 + i * 32;
        auto* e = new QLineEdit(this);
        e->setGeometry(16, y, 140, 24);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        Edits[i] = e;
        auto* c = new QComboBox(this);
        c->setGeometry(166, y, 236, 24);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->lineEdit()->setValidator(new Cp1252Validator(c));
        c->setObjectName(QStringLiteral("ComboBox%1").arg(i + 1));
        ComboBoxes[i] = c;
    }
    Edit9 = new QLineEdit(this);
    Edit9->setGeometry(310, 16, 92, 24);
    Edit9->setMaxLength(5);
    Edit9->setToolTip(QStringLiteral("Dianummer"));
    Edit9->setValidator(new Cp1252Validator(Edit9));
    BitBtnOkay = new QPushButton(kSave, this);
    BitBtnOkay->setGeometry(16, 330, 92, 30);
    BitBtnOkay->setDefault(true);
    BitBtnKill = new QPushButton(QStringLiteral("&Löschen"), this);
    BitBtnKill->setGeometry(114, 330, 92, 30);
    BitBtnKill->setAutoDefault(false);
    BitBtnExit = new QPushButton(QStringLiteral("&Beenden"), this);
    BitBtnExit->setGeometry(212, 330, 92, 30);
    BitBtnExit->setAutoDefault(false);
    BitBtn1 = new QPushButton(QStringLiteral("&Hilfe"), this);
    BitBtn1->setGeometry(310, 330, 92, 30);
    BitBtn1->setAutoDefault(false);
    connect(BitBtnOkay, &QPushButton::clicked, this, [this] { BitBtnOkayClick(); });
    connect(BitBtnKill, &QPushButton::clicked, this, [this] { BitBtnKillClick(); });
    connect(BitBtnExit, &QPushButton::clicked, this, [this] { BitBtnExitClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(Edit9, &QLineEdit::textChanged, this, [this] { Edit9Change(); });
}

bool TForm3::searchMode() const {
    return BitBtnOkay->text() == kSearch;
}

void TForm3::Init() {
    const KopfDaten kd = GetKopfDaten(main_.state().archive);
    for (int i = 0; i < 8; ++i) {
        Edits[i]->setText(FromCp1252(kd.names[i]));
        auto* c = ComboBoxes[i];
        c->clear();
        for (const auto& p : kd.proposals[i])
            c->addItem(FromCp1252(p));
        c->setCurrentIndex(-1);
        c->setEditText(QString());
    }
}

void TForm3::SetSearchMode() {
    Label1->setFixedWidth(281);
    Label1->setText(
        QStringLiteral("Bitte geben Sie nun die zu suchenden\rKopfdaten in die Comboboxen ein !")
            .replace(u'\r', u'\n'));
    Edit9->hide();
    BitBtnOkay->setText(kSearch);
    for (auto* c : ComboBoxes)
        c->lineEdit()->setMaxLength(kUnlimited);
}

void TForm3::SetEntryMode(const QString& prompt) {
    Label1->setFixedWidth(281);
    Label1->setText(QString(prompt).replace(u'\r', u'\n'));
    Edit9->show();
    BitBtnOkay->setText(kSave);
    for (auto* c : ComboBoxes)
        c->lineEdit()->setMaxLength(kEntryMaxLength);
}

HeaderValues TForm3::Values() const {
    HeaderValues v;
    for (int i = 0; i < 8; ++i)
        v[i] = ToCp1252Lossy(ComboBoxes[i]->currentText());
    return v;
}

void TForm3::SetValues(const HeaderValues& values) {
    for (int i = 0; i < 8; ++i)
        ComboBoxes[i]->setEditText(FromCp1252(values[i]));
}

void TForm3::OpenForEntry() {
    auto& st = main_.state();
    main_.sound().PlayClick();
    if (st.counters.totalRecords == 0) {
        main_.messages().ShowError(53);
        return;
    }
    st.searchConfirmed = false;
    main_.RestoreMainScreen();
    st.screenMode = mode::Main;
    main_.SetScreenCaptions(mode::Disabled);
    Init();
    SetEntryMode(QStringLiteral(
        "Bitte geben Sie nun die zu erfassenden\rKopfdaten in die Comboboxen ein !"));
    loading_ = true;
    Edit9->clear();
    loading_ = false;
    main_.messages().ShowStatus(20);
    Edit9->setFocus();
    exec();
    main_.SetProgress(0, 100, 100);
    main_.messages().ShowStatus(0);
    main_.SetScreenCaptions(st.screenMode);
}

void TForm3::Edit9Change() {
    if (loading_ || searchMode())
        return;
    const QString t = Edit9->text();
    if (t.isEmpty())
        return;
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n <= 0 || n > main_.state().counters.totalRecords) {
        main_.messages().ShowError(7);
        return;
    }
    HeaderValues values;
    const Problem p = ReadKopfDatensatz(main_.state().archive, n, values);
    if (p) {
        main_.messages().Report(p);
        return;
    }
    SetValues(values);
}

std::optional<int32_t> TForm3::CheckedSlideNumber() {
    const QString t = Edit9->text();
    if (t.isEmpty()) {
        main_.messages().ShowError(35);
        return std::nullopt;
    }
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok || n <= 0 || n > main_.state().counters.totalRecords) {
        main_.messages().ShowError(7);
        return std::nullopt;
    }
    return n;
}

void TForm3::BitBtnOkayClick() {
    auto& msg = main_.messages();
    main_.sound().PlayClick();
    const HeaderValues values = Values();
    bool allEmpty = true;
    for (const auto& v : values)
        allEmpty = allEmpty && v.empty();
    if (allEmpty) {
        msg.ShowError(4);
        return;
    }
    if (searchMode()) {
        main_.state().searchConfirmed = true;
        main_.sound().PlaySoundCue(QStringLiteral("camera1"), 0);
        accept();
        return;
    }
    const auto n = CheckedSlideNumber();
    if (!n)
        return;
    if (const Problem p = WriteKopfDatensatz(main_.state().archive, *n, values)) {
        msg.Report(p);
        return;
    }
    msg.ShowStatus(30);
    main_.sound().PlaySoundCue(QStringLiteral("click006"), 1150);
    msg.ShowStatus(20);
    Edit9->setFocus();
}

void TForm3::BitBtnKillClick() {
    auto& msg = main_.messages();
    main_.sound().PlayClick();
    std::optional<int32_t> n;
    if (!searchMode()) {
        n = CheckedSlideNumber();
        if (!n)
            return;
    }
    msg.ShowStatus(28);
    main_.sound().PlaySoundCue(QStringLiteral("loesch"), 1500);
    SetValues(HeaderValues{});
    if (n) {
        if (const Problem p = WriteKopfDatensatz(main_.state().archive, *n, HeaderValues{})) {
            msg.Report(p);
            return;
        }
    }
    msg.ShowStatus(20);
}

void TForm3::BitBtnExitClick() {
    main_.sound().PlayClick();
    if (!Edit9->isHidden())
        Edit9->setFocus();
    reject();
}

void TForm3::reject() {
    // Leaving by "&Beenden", Esc or the window's close gives the result list its
    // scroll bar back (the search command hid it).
    const int m = main_.state().screenMode;
    if (m != mode::Main && m != mode::NewKeyword)
        main_.ShowResultScrollBar();
    QDialog::reject();
}

void TForm3::BitBtn1Click() {
    main_.sound().PlayClick();
    main_.ShowHelp(searchMode() ? 305 : 208);
}

void TForm3::AuswertungKopfDaten() {
    commands_.RunHeaderDataScan(*this);
}

} // namespace lumo
