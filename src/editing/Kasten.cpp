#include "editing/Kasten.h"

#include "editing/FormWidgets.h"
#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "shell/Main.h"
#include "shell/MessageCatalog.h"
#include "store/Settings.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <charconv>
#include <optional>

namespace lumo {

namespace {
// Whole decimal number with optional sign, nothing else.
std::optional<long long> ParseWhole(const std::string& s) {
    long long v = 0;
    const char* b = s.data();
    const char* e = s.data() + s.size();
    if (b != e && *b == '+')
        ++b;
    auto [p, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || p != e || b == e)
        return std::nullopt;
    return v;
}
} // namespace

TForm4::TForm4(TForm1& main) : QDialog(&main), main_(main) {
    setWindowTitle(QStringLiteral("Kastenbezeichnungen eingeben"));
    setFixedSize(400, 190);
    MakeLabel(this, QStringLiteral("Dia-Kasten"), 16, 20);
    MakeLabel(this, QStringLiteral("Magazin"), 16, 56);
    MakeLabel(this, QStringLiteral("Thema"), 16, 92);
    Edit1 = MakeEdit(this, 110, 16, 60, 3);
    Edit2 = MakeEdit(this, 110, 52, 270, 28);
    Edit3 = MakeEdit(this, 110, 88, 270, 28);
    BitBtn1 = new QPushButton(QStringLiteral("Daten &speichern"), this);
    BitBtn1->setGeometry(16, 140, 130, 30);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Abbruch"), this);
    BitBtn2->setGeometry(156, 140, 110, 30);
    BitBtn2->setAutoDefault(false);
    BitBtn3 = new QPushButton(QStringLiteral("&Hilfe"), this);
    BitBtn3->setGeometry(276, 140, 104, 30);
    BitBtn3->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
}

void TForm4::Preset(const QString& box, const QString& magazine, const QString& theme) {
    Edit1->setText(box);
    Edit2->setText(magazine);
    Edit3->setText(theme);
}

void TForm4::OpenFromMenu() {
    auto& st = main_.state();
    main_.sound().PlayClick();
    main_.SetScreenCaptions(mode::Disabled);
    const int remembered = st.currentStatus;
    main_.messages().ShowStatus(20);
    Preset(QStringLiteral("000"), QStringLiteral("MagazinText"), QStringLiteral("ThematikText"));
    main_.SetWindowCaptionSuffix(QStringLiteral(" - Kastenbezeichnungen eingeben..."));
    Edit1->setFocus();
    exec();
    main_.SetScreenCaptions(st.screenMode);
    main_.messages().ShowStatus(remembered);
}

void TForm4::OpenForBox(int32_t box) {
    auto& st = main_.state();
    main_.sound().PlayClick();
    main_.messages().ShowStatus(20);
    main_.SetScreenCaptions(mode::Disabled);
    st.boxNumber = box;
    ReadBoxLabel(st.archive, box, st.magazineText, st.themeText);
    Preset(QString::number(box), FromCp1252(st.magazineText), FromCp1252(st.themeText));
    move(main_.MainTopLeft() + QPoint(119, 146));
    Edit1->setFocus();
    exec();
    main_.messages().ShowStatus(13);
    main_.SetScreenCaptions(st.screenMode);
}

void TForm4::BitBtn1Click() {
    auto& st = main_.state();
    auto& msg = main_.messages();
    main_.sound().PlayClick();
    msg.ShowStatus(30);
    const auto number = ParseWhole(ToCp1252Lossy(Edit1->text()));
    if (!number) {
        msg.ShowError(29);
        Edit1->setFocus();
        return;
    }
    if (*number < 1 || *number > 255) {
        msg.ShowError(5);
        Edit1->setFocus();
        return;
    }
    st.boxNumber = static_cast<int32_t>(*number);
    st.magazineText = ToCp1252Lossy(Edit2->text());
    st.themeText = ToCp1252Lossy(Edit3->text());
    if (!WriteBoxLabel(st.archive, st.boxNumber, st.magazineText, st.themeText))
        msg.ShowErrorBox(QStringLiteral("Die Datei KASTEN.INI konnte nicht geschrieben werden !"));
    main_.sound().PlaySoundCue(QStringLiteral("click006"), 1000);
    Edit1->setFocus();
    msg.ShowStatus(20);
}

void TForm4::BitBtn2Click() {
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 0);
    Edit1->setFocus();
    reject();
}

void TForm4::BitBtn3Click() {
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 300);
    main_.ShowHelp(205);
}

} // namespace lumo
