#include "editing/KeyEdit.h"

#include "editing/logic/SlideEntryLogic.h"
#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "shell/Main.h"
#include "shell/MessageCatalog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace lumo {

TForm10::TForm10(TForm1& main) : QDialog(&main), main_(main) {
    setWindowTitle(QStringLiteral("Selektierte Schlüssel"));
    setFixedSize(380, 330);

    Label1 = new QLabel(QStringLiteral("Die folgenden Schlüssel wurden bereits erfasst"), this);
    Label1->setGeometry(16, 12, 348, 20);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    for (int i = 0; i < 8; ++i) {
        auto* c = new QCheckBox(QStringLiteral("?"), this);
        c->setGeometry(24, 40 + i * 24, 290, 22);
        CheckBox[static_cast<size_t>(i)] = c;
    }

    BitBtn1 = new QPushButton(QStringLiteral("&Schlüssel aktualisieren"), this);
    BitBtn1->setGeometry(16, 240, 170, 30);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("&Hilfe"), this);
    BitBtn2->setGeometry(194, 240, 170, 30);
    BitBtn2->setAutoDefault(false);
    BitBtn4 = new QPushButton(QStringLiteral("Alle &löschen"), this);
    BitBtn4->setGeometry(16, 282, 170, 30);
    BitBtn4->setAutoDefault(false);
    BitBtn3 = new QPushButton(QStringLiteral("&Beenden"), this);
    BitBtn3->setGeometry(194, 282, 170, 30);
    BitBtn3->setAutoDefault(false);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
}

void TForm10::Prepare() {
    const auto& keys = main_.state().keys;
    for (size_t i = 0; i < 8; ++i) {
        auto* c = CheckBox[i];
        c->setChecked(false);
        c->setEnabled(false);
        c->setText(QStringLiteral("?"));
        const auto& e = keys.entries[i];
        if (!e.name.empty()) {
            c->setText(FromCp1252(e.name));
            c->setChecked(true);
            c->setEnabled(true);
        }
    }
}

void TForm10::BitBtn1Click() {
    main_.sound().PlayClick();
    std::array<bool, 8> checked{};
    for (size_t i = 0; i < 8; ++i)
        checked[i] = CheckBox[i]->isChecked();
    CompactSelection(main_.state().keys, checked);
    main_.sound().PlaySoundCue(QStringLiteral("next"), 0);
    Prepare();
    main_.messages().ShowStatus(3);
}

void TForm10::BitBtn2Click() {
    main_.sound().PlayClick();
    main_.ShowHelp(3003);
}

void TForm10::BitBtn3Click() {
    main_.sound().PlayClick();
    reject();
}

void TForm10::BitBtn4Click() {
    main_.sound().PlayClick();
    main_.state().keys.clearAll(kEmptyKeyCode);
    main_.sound().PlaySoundCue(QStringLiteral("loesch"), 1000);
    accept();
}

} // namespace lumo
