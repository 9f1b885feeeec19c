#include "editing/SlideEntryDialog.h"

#include "editing/SlidePicture.h"
#include "editing/logic/SlideEntryLogic.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "store/Keywords.h"
#include "store/SlideDatabase.h"
#include "ui/DialogWidgets.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

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

QString SlideEntryDialog::ArchiveFullNotice() {
    return QStringLiteral("Das Archiv belegt bereits die\rmax. Anzahl von ") +
           QString::number(kMaxSlideNumber) + QStringLiteral(" Dias !");
}

bool SlideEntryDialog::RefuseNewSlide(const FeatureContext& ctx) {
    const AppState& st = ctx.state;
    if (st.editExisting || st.counters.totalRecords < kMaxSlideNumber)
        return false;
    ctx.messages.ShowNotice(ArchiveFullNotice());
    return true;
}

SlideEntryDialog::SlideEntryDialog(const FeatureContext& ctx)
    : QDialog(ctx.screen.MainWidget()), ctx_(ctx) {
    InstallHelpKey(this, [this] { onHelp(); }); // F1: as the help button
    setWindowTitle(QStringLiteral("Daten zum aktuell erfassten Dia anzeigen"));
    setFixedSize(460, 300);

    MakeLabel(this, QStringLiteral("Dia-Nummer"), 16, 18);
    slideNumberEdit = MakeEdit(this, 120, 14, 70, 5);
    slideNumberEdit->setReadOnly(true);
    MakeLabel(this, QStringLiteral("Kasten-Nummer"), 16, 50);
    boxNumberEdit = MakeEdit(this, 120, 46, 50, 3);
    MakeLabel(this, QStringLiteral("Magazin-Code"), 16, 82);
    magazineCodeEdit = MakeEdit(this, 120, 78, 50, 3);

    MakeLabel(this, QStringLiteral("Informationstext"), 16, 114);
    infoTextBox = new QComboBox(this);
    infoTextBox->setEditable(true);
    infoTextBox->setInsertPolicy(QComboBox::NoInsert);
    infoTextBox->setCompleter(nullptr); // the text typed is stored, not an earlier one it begins
    infoTextBox->setMaxVisibleItems(5);
    infoTextBox->setGeometry(120, 110, 324, 24);
    infoTextBox->lineEdit()->setMaxLength(28);
    infoTextBox->lineEdit()->setValidator(new Cp1252Validator(infoTextBox));

    pictureLabel = new QLabel(this);
    pictureLabel->setGeometry(300, 14, 144, 88);
    pictureLabel->setScaledContents(true);
    pictureLabel->setFrameShape(QFrame::Panel);
    pictureLabel->setFrameShadow(QFrame::Sunken);

    for (int i = 0; i < 8; ++i) {
        auto* c = new QCheckBox(QStringLiteral("?"), this);
        c->setGeometry(16 + (i / 4) * 216, 146 + (i % 4) * 24, 210, 22);
        c->setEnabled(false);
        keyBoxes[static_cast<size_t>(i)] = c;
    }

    saveButton = new QPushButton(QStringLiteral("Datensatz &speichern"), this);
    saveButton->setGeometry(16, 254, 150, 30);
    saveButton->setDefault(true);
    saveButton->setAutoDefault(true);
    helpButton = new QPushButton(QStringLiteral("&Hilfe zum Requester"), this);
    helpButton->setGeometry(176, 254, 150, 30);
    helpButton->setAutoDefault(false);
    closeButton = new QPushButton(QStringLiteral("&Schließen"), this);
    closeButton->setGeometry(336, 254, 108, 30);
    closeButton->setAutoDefault(false);
    connect(saveButton, &QPushButton::clicked, this, [this] { onSave(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { onHelp(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { onClose(); });
}

void SlideEntryDialog::Prepare() {
    auto& st = ctx_.state;
    // A new slide is always appended: its number follows the last record.
    if (!st.editExisting)
        st.currentSlide = st.counters.totalRecords + 1;

    const auto picture = LoadSlidePicture(st.archive, QString::number(st.currentSlide));
    pictureFile_ = picture.file;
    if (picture.pixmap.isNull())
        pictureLabel->clear();
    else
        pictureLabel->setPixmap(picture.pixmap);

    for (size_t i = 0; i < 8; ++i) {
        auto* c = keyBoxes[i];
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
    const QString current = infoTextBox->currentText();
    infoTextBox->clear();
    for (const auto& h : st.infoHistory)
        infoTextBox->addItem(FromCp1252(h));
    if (st.editExisting) {
        const std::string& info = st.slide.infoText;
        infoTextBox->setEditText(FromCp1252(info.size() > 4 ? info.substr(4) : std::string()));
    } else if (!st.infoHistoryOpened) {
        infoTextBox->setEditText(QStringLiteral("InformationsText(28)"));
    } else {
        infoTextBox->setEditText(current);
    }
    st.infoHistoryOpened = true;

    slideNumberEdit->setText(QString::number(st.currentSlide));
    const auto& s = st.settings;
    int32_t box = st.editExisting ? st.slide.boxNumber
                                  : PrecomputedBox(st.currentSlide, s.slidesPerMagazine,
                                                   s.magazinesPerBox, s.precomputePosition);
    boxNumberEdit->setText(QString::number(box));
    std::string code = PrecomputedPosition(st.currentSlide, s.slidesPerMagazine, s.magazinesPerBox,
                                           s.precomputePosition);
    if (st.editExisting)
        code = st.slide.infoText.substr(0, 3);
    if (!st.editExisting && placement_ && placement_->slide == st.currentSlide) {
        boxNumberEdit->setText(QString::number(placement_->box));
        code = placement_->code;
    }
    magazineCodeEdit->setText(FromCp1252(code));
}

void SlideEntryDialog::onSave() {
    ctx_.sound.PlayClick();
    Save();
}

void SlideEntryDialog::Save() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    if (RefuseNewSlide(ctx_)) {
        ctx_.screen.SetScreenCaptions(mode::Disabled);
        return;
    }
    const int box = ParseBox(boxNumberEdit->text());
    if (box < 1 || box > 255) {
        msg.ShowError(5);
        ctx_.screen.SetScreenCaptions(mode::Disabled);
        return;
    }

    const std::string text = ToCp1252Lossy(infoTextBox->currentText()).substr(0, 28);
    st.infoHistory.push_back(text);
    infoTextBox->addItem(FromCp1252(text));
    infoTextBox->setEditText(FromCp1252(text));

    st.slide.boxNumber = box;
    st.slide.infoText = PadMagazineCode(ToCp1252Lossy(magazineCodeEdit->text())) + " " + text;
    st.slide.storedKeys = SlotCodesFromSelection(st.keys);

    msg.ShowStatus(30);
    const int32_t n = st.editExisting ? st.currentSlide : st.counters.totalRecords + 1;
    if (const Problem p = WriteSlide(st.archive, n, st.slide)) {
        // Nothing was stored: the counters, DIA.INI and the undo copies stay as they are.
        msg.Report(p);
        ctx_.screen.SetScreenCaptions(mode::Disabled);
        msg.ShowStatus(20);
        return;
    }
    ctx_.sound.PlaySoundCue(QStringLiteral("click006"), 1000);

    if (st.editExisting) {
        // An undo must not take away a keyword this slide now carries: the keyword
        // insertion it would take back can no longer be undone, as after a new slide.
        if (st.undoEnabled && UndoWouldRemoveKeys(st.archive, st.slide.storedKeys)) {
            RefreshUndoCopies(st.archive);
            ctx_.screen.SetUndoEnabled(false);
        }
        accept();
        return;
    }
    st.counters.totalRecords += 1;
    if (st.counters.activeSlides >= 0)
        st.counters.activeSlides += 1;
    ctx_.SaveSettings();
    ctx_.screen.SetStatusPanel(0, QString::number(st.counters.totalRecords + 1));
    ctx_.screen.SetStatusPanel(1, QString::number(st.counters.activeSlides));
    st.currentSlide = st.counters.totalRecords + 1;
    // A keyword insertion cannot be taken back once a slide has been stored after it.
    RefreshUndoCopies(st.archive);
    ctx_.screen.SetUndoEnabled(false);
    if (RefuseNewSlide(ctx_)) {
        accept(); // that was the last slide the archive can hold
        return;
    }
    Prepare();
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    msg.ShowStatus(20);
}

void SlideEntryDialog::onHelp() {
    ctx_.sound.PlayClick();
    ctx_.ShowHelp(3002);
}

void SlideEntryDialog::onClose() {
    ctx_.sound.PlayClick();
    reject();
}

} // namespace lumo
