#include "editing/SelectedKeysDialog.h"

#include "editing/logic/SlideEntryLogic.h"
#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "shell/MainWindow.h"
#include "ui/MessageCatalog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace lumo {

SelectedKeysDialog::SelectedKeysDialog(MainWindow& main) : QDialog(&main), main_(main) {
    setWindowTitle(QStringLiteral("Selektierte Schlüssel"));
    setFixedSize(380, 330);

    headingLabel =
        new QLabel(QStringLiteral("Die folgenden Schlüssel wurden bereits erfasst"), this);
    headingLabel->setGeometry(16, 12, 348, 20);
    QFont bold = headingLabel->font();
    bold.setBold(true);
    headingLabel->setFont(bold);

    for (int i = 0; i < 8; ++i) {
        auto* c = new QCheckBox(QStringLiteral("?"), this);
        c->setGeometry(24, 40 + i * 24, 290, 22);
        keyBoxes[static_cast<size_t>(i)] = c;
    }

    updateButton = new QPushButton(QStringLiteral("&Schlüssel aktualisieren"), this);
    updateButton->setGeometry(16, 240, 170, 30);
    updateButton->setDefault(true);
    updateButton->setAutoDefault(true);
    helpButton = new QPushButton(QStringLiteral("&Hilfe"), this);
    helpButton->setGeometry(194, 240, 170, 30);
    helpButton->setAutoDefault(false);
    clearAllButton = new QPushButton(QStringLiteral("Alle &löschen"), this);
    clearAllButton->setGeometry(16, 282, 170, 30);
    clearAllButton->setAutoDefault(false);
    closeButton = new QPushButton(QStringLiteral("&Beenden"), this);
    closeButton->setGeometry(194, 282, 170, 30);
    closeButton->setAutoDefault(false);

    connect(updateButton, &QPushButton::clicked, this, [this] { onUpdate(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { onHelp(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { onClose(); });
    connect(clearAllButton, &QPushButton::clicked, this, [this] { onClearAll(); });
}

void SelectedKeysDialog::Prepare() {
    const auto& keys = main_.state().keys;
    for (size_t i = 0; i < 8; ++i) {
        auto* c = keyBoxes[i];
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

void SelectedKeysDialog::onUpdate() {
    main_.sound().PlayClick();
    std::array<bool, 8> checked{};
    for (size_t i = 0; i < 8; ++i)
        checked[i] = keyBoxes[i]->isChecked();
    CompactSelection(main_.state().keys, checked);
    main_.sound().PlaySoundCue(QStringLiteral("next"), 0);
    Prepare();
    main_.messages().ShowStatus(3);
}

void SelectedKeysDialog::onHelp() {
    main_.sound().PlayClick();
    main_.ShowHelp(3003);
}

void SelectedKeysDialog::onClose() {
    main_.sound().PlayClick();
    reject();
}

void SelectedKeysDialog::onClearAll() {
    main_.sound().PlayClick();
    main_.state().keys.clearAll(kEmptyKeyCode);
    main_.sound().PlaySoundCue(QStringLiteral("loesch"), 1000);
    accept();
}

} // namespace lumo
