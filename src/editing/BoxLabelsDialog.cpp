#include "editing/BoxLabelsDialog.h"

#include "editing/logic/NumberInput.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "store/Settings.h"
#include "ui/DialogWidgets.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumo {

BoxLabelsDialog::BoxLabelsDialog(const FeatureContext& ctx)
    : QDialog(ctx.screen.MainWidget()), ctx_(ctx) {
    InstallHelpKey(this, [this] { onHelp(); }); // F1: as the help button
    setWindowTitle(QStringLiteral("Kastenbezeichnungen eingeben"));
    setFixedSize(400, 190);
    boxEdit = MakeLabelledEdit(this, QStringLiteral("Dia-Kasten"), 16, 16, 110, 60, 3);
    magazineEdit = MakeLabelledEdit(this, QStringLiteral("Magazin"), 16, 52, 110, 270, 28);
    themeEdit = MakeLabelledEdit(this, QStringLiteral("Thema"), 16, 88, 110, 270, 28);
    saveButton = new QPushButton(QStringLiteral("Daten &speichern"), this);
    saveButton->setGeometry(16, 140, 130, 30);
    saveButton->setDefault(true);
    saveButton->setAutoDefault(true);
    cancelButton = new QPushButton(QStringLiteral("&Abbruch"), this);
    cancelButton->setGeometry(156, 140, 110, 30);
    cancelButton->setAutoDefault(false);
    helpButton = new QPushButton(QStringLiteral("&Hilfe"), this);
    helpButton->setGeometry(276, 140, 104, 30);
    helpButton->setAutoDefault(false);
    connect(saveButton, &QPushButton::clicked, this, [this] { onSave(); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { onCancel(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { onHelp(); });
}

void BoxLabelsDialog::Preset(const QString& box, const QString& magazine, const QString& theme) {
    boxEdit->setText(box);
    magazineEdit->setText(magazine);
    themeEdit->setText(theme);
}

void BoxLabelsDialog::OpenFromMenu() {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    const int remembered = st.currentStatus;
    ctx_.messages.ShowStatus(20);
    Preset(QStringLiteral("000"), QStringLiteral("MagazinText"), QStringLiteral("ThematikText"));
    ctx_.screen.SetWindowCaptionSuffix(QStringLiteral(" - Kastenbezeichnungen eingeben..."));
    boxEdit->setFocus();
    exec();
    ctx_.screen.SetScreenCaptions(st.screenMode);
    ctx_.messages.ShowStatus(remembered);
}

void BoxLabelsDialog::OpenForBox(int32_t box) {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    ctx_.messages.ShowStatus(20);
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    st.boxNumber = box;
    ReadBoxLabel(st.archive, box, st.magazineText, st.themeText);
    Preset(QString::number(box), FromCp1252(st.magazineText), FromCp1252(st.themeText));
    move(ctx_.screen.MainTopLeft() + QPoint(119, 146));
    boxEdit->setFocus();
    exec();
    ctx_.messages.ShowStatus(13);
    ctx_.screen.SetScreenCaptions(st.screenMode);
}

void BoxLabelsDialog::onSave() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    msg.ShowStatus(30);
    const auto number = ParseWholeNumber(ToCp1252Lossy(boxEdit->text()));
    if (!number || *number < 1 || *number > 255) {
        msg.ShowError(number ? 5 : 29);
        // Nothing is being saved: the status line says so again.
        msg.ShowStatus(20);
        boxEdit->setFocus();
        return;
    }
    st.boxNumber = static_cast<int32_t>(*number);
    st.magazineText = ToCp1252Lossy(magazineEdit->text());
    st.themeText = ToCp1252Lossy(themeEdit->text());
    // The "saved" cue only for labels that reached the file.
    if (!WriteBoxLabel(st.archive, st.boxNumber, st.magazineText, st.themeText))
        msg.ShowErrorBox(QStringLiteral("Die Datei KASTEN.INI konnte nicht geschrieben werden !"));
    else
        ctx_.sound.PlaySoundCue(QStringLiteral("click006"), 1000);
    boxEdit->setFocus();
    msg.ShowStatus(20);
}

void BoxLabelsDialog::onCancel() {
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 0);
    boxEdit->setFocus();
    reject();
}

void BoxLabelsDialog::onHelp() {
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 300);
    ctx_.ShowHelp(205);
}

} // namespace lumo
