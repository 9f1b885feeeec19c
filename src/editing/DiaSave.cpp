#include "editing/DiaSave.h"

#include "editing/FormWidgets.h"
#include "editing/SlidePicture.h"
#include "editing/logic/SlideEntryLogic.h"
#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "shell/Main.h"
#include "shell/MessageCatalog.h"
#include "store/Keywords.h"
#include "store/SlideDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumo {

namespace {
// The box field as a whole decimal number (surrounding blanks allowed); -1 otherwise.
int ParseBox(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? v : -1;
}
} // namespace

TForm11::TForm11(TForm1& main) : QDialog(&main), main_(main) {
    setWindowTitle(QStringLiteral("Daten zum aktuell erfassten Dia anzeigen"));
    setFixedSize(460, 300);

    MakeLabel(this, QStringLiteral("Dia-Nummer"), 16, 18);
    Edit1 = MakeEdit(this, 120, 14, 70, 5);
    Edit1->setReadOnly(true);
    MakeLabel(this, QStringLiteral("Kasten-Nummer"), 16, 50);
    Edit2 = MakeEdit(this, 120, 46, 50, 3);
    MakeLabel(this, QStringLiteral("Magazin-Code"), 16, 82);
    Edit4 = MakeEdit(this, 120, 78, 50, 3);

    MakeLabel(this, QStringLiteral("Informationstext"), 16, 114);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(5);
    ComboBox1->setGeometry(120, 110, 324, 24);
    ComboBox1->lineEdit()->setMaxLength(28);
    ComboBox1->lineEdit()->setValidator(new Cp1252Validator(ComboBox1));

    Image1 = new QLabel(this);
    Image1->setGeometry(300, 14, 144, 88);
    Image1->setScaledContents(true);
    Image1->setFrameShape(QFrame::Panel);
    Image1->setFrameShadow(QFrame::Sunken);

    for (int i = 0; i < 8; ++i) {
        auto* c = new QCheckBox(QStringLiteral("?"), this);
        c->setGeometry(16 + (i / 4) * 216, 146 + (i % 4) * 24, 210, 22);
        c->setEnabled(false);
        CheckBox[static_cast<size_t>(i)] = c;
    }

    BitBtn1 = new QPushButton(QStringLiteral("Datensatz &speichern"), this);
    BitBtn1->setGeometry(16, 254, 150, 30);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Hilfe zum Requester"), this);
    BitBtn2->setGeometry(176, 254, 150, 30);
    BitBtn2->setAutoDefault(false);
    BitBtn3 = new QPushButton(QStringLiteral("&Schließen"), this);
    BitBtn3->setGeometry(336, 254, 108, 30);
    BitBtn3->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
}

void TForm11::Prepare() {
    auto& st = main_.state();
    // A new slide is always appended: its number follows the last record.
    if (!st.editExisting)
        st.currentSlide = st.counters.totalRecords + 1;

    const auto picture = LoadSlidePicture(st.archive, QString::number(st.currentSlide));
    pictureFile_ = picture.file;
    if (picture.pixmap.isNull())
        Image1->clear();
    else
        Image1->setPixmap(picture.pixmap);

    for (size_t i = 0; i < 8; ++i) {
        auto* c = CheckBox[i];
        c->setChecked(false);
        c->setEnabled(false);
        c->setText(QStringLiteral("?"));
        const auto& e = st.keys.entries[i];
        if (!e.name.empty()) {
            c->setText(FromCp1252(e.name));
            c->setChecked(true);
        }
    }

    // The drop-down offers every text saved in this run.
    const QString current = ComboBox1->currentText();
    ComboBox1->clear();
    for (const auto& h : st.infoHistory)
        ComboBox1->addItem(FromCp1252(h));
    if (st.editExisting) {
        const std::string& info = st.slide.infoText;
        ComboBox1->setEditText(FromCp1252(info.size() > 4 ? info.substr(4) : std::string()));
    } else if (!st.infoHistoryOpened) {
        ComboBox1->setEditText(QStringLiteral("InformationsText(28)"));
    } else {
        ComboBox1->setEditText(current);
    }
    st.infoHistoryOpened = true;

    Edit1->setText(QString::number(st.currentSlide));
    const auto& s = st.settings;
    int32_t box = st.editExisting
                      ? st.slide.boxNumber
                      : PrecomputedBox(st.currentSlide, s.magazin, s.kasten, s.vorberechnung);
    Edit2->setText(QString::number(box));
    std::string code = PrecomputedPosition(st.currentSlide, s.magazin, s.kasten, s.vorberechnung);
    if (st.editExisting)
        code = st.slide.infoText.substr(0, 3);
    Edit4->setText(FromCp1252(code));
}

void TForm11::BitBtn1Click() {
    main_.sound().PlayClick();
    Save();
}

void TForm11::Save() {
    auto& st = main_.state();
    auto& msg = main_.messages();
    const int box = ParseBox(Edit2->text());
    if (box < 1 || box > 255) {
        msg.ShowError(5);
        main_.SetScreenCaptions(mode::Disabled);
        return;
    }

    const std::string text = ToCp1252Lossy(ComboBox1->currentText()).substr(0, 28);
    st.infoHistory.push_back(text);
    ComboBox1->addItem(FromCp1252(text));
    ComboBox1->setEditText(FromCp1252(text));

    st.slide.boxNumber = box;
    st.slide.infoText = PadMagazineCode(ToCp1252Lossy(Edit4->text())) + " " + text;
    st.slide.storedKeys = SlotCodesFromSelection(st.keys);

    msg.ShowStatus(30);
    const int32_t n = st.editExisting ? st.currentSlide : st.counters.totalRecords + 1;
    if (const Problem p = WriteSlide(st.archive, n, st.slide)) {
        // Nothing was stored: the counters, DIA.INI and the undo copies stay as they are.
        msg.Report(p);
        main_.SetScreenCaptions(mode::Disabled);
        msg.ShowStatus(20);
        return;
    }
    main_.sound().PlaySoundCue(QStringLiteral("click006"), 1000);

    if (st.editExisting) {
        accept();
        return;
    }
    st.counters.totalRecords += 1;
    if (st.counters.activeSlides >= 0)
        st.counters.activeSlides += 1;
    main_.SaveSettingsNow();
    main_.SetStatusPanel(0, QString::number(st.counters.totalRecords + 1));
    main_.SetStatusPanel(1, QString::number(st.counters.activeSlides));
    st.currentSlide = st.counters.totalRecords + 1;
    // A keyword insertion cannot be taken back once a slide has been stored after it.
    RefreshUndoCopies(st.archive);
    main_.SetUndoEnabled(false);
    Prepare();
    main_.SetScreenCaptions(mode::Disabled);
    msg.ShowStatus(20);
}

void TForm11::BitBtn2Click() {
    main_.sound().PlayClick();
    main_.ShowHelp(3002);
}

void TForm11::BitBtn3Click() {
    main_.sound().PlayClick();
    reject();
}

} // namespace lumo
