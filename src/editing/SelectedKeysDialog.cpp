#include "editing/SelectedKeysDialog.h"

#include "editing/logic/SlideEntryLogic.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace lumo {

SelectedKeysDialog::SelectedKeysDialog(const FeatureContext& ctx)
    : QDialog(ctx.screen.MainWidget()), ctx_(ctx) {
    InstallHelpKey(this, [this] { onHelp(); }); // F1: as the help button
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
    const auto& keys = ctx_.state.keys;
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
    ctx_.sound.PlayClick();
    std::array<bool, 8> checked{};
    for (size_t i = 0; i < 8; ++i)
        checked[i] = keyBoxes[i]->isChecked();
    CompactSelection(ctx_.state.keys, checked);
    ctx_.sound.PlaySoundCue(QStringLiteral("next"), 0);
    Prepare();
    ctx_.messages.ShowStatus(3);
}

void SelectedKeysDialog::onHelp() {
    ctx_.sound.PlayClick();
    ctx_.ShowHelp(3003);
}

void SelectedKeysDialog::onClose() {
    ctx_.sound.PlayClick();
    reject();
}

void SelectedKeysDialog::onClearAll() {
    ctx_.sound.PlayClick();
    ctx_.state.keys.clearAll(kEmptyKeyCode);
    ctx_.sound.PlaySoundCue(QStringLiteral("loesch"), 1000);
    accept();
}

} // namespace lumo
