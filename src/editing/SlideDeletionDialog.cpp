#include "editing/SlideDeletionDialog.h"

#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "store/SlideDatabase.h"
#include "ui/AppState.h"
#include "ui/DialogWidgets.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace lumo {

namespace {
// The progress bar and status line follow the loop at display rate, not per slide.
constexpr qint64 kDisplayIntervalMs = 30;
} // namespace

SlideDeletionDialog::SlideDeletionDialog(const FeatureContext& context)
    : QDialog(context.screen.MainWidget()), ctx_(context) {
    InstallHelpKey(this, [this] { onHelp(); }); // F1: as the help button
    setWindowTitle(QString::fromUtf8("Dias aus dem Archiv löschen"));
    setFixedSize(452, 250);
    fromEdit = MakeLabelledEdit(this, QStringLiteral("von Dia"), 16, 16, 72, 70, 5);
    toEdit = MakeLabelledEdit(this, QStringLiteral("bis Dia"), 170, 16, 226, 70, 5);

    auto* group = new QGroupBox(QString::fromUtf8("Löschen-Einstellungen"), this);
    group->setGeometry(16, 52, 420, 76);
    static const char* const captions[4] = {"Diadaten", "Kopfdaten", "Memos", "Minibitmaps"};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(captions[i]), group);
        box->setGeometry(16 + (i % 2) * 200, 22 + (i / 2) * 24, 180, 22);
        box->setChecked(true);
        choiceBoxes[static_cast<size_t>(i)] = box;
    }

    deleteButton = new QPushButton(QString::fromUtf8("Dias &löschen"), this);
    deleteButton->setGeometry(16, 140, 120, 30);
    deleteButton->setDefault(true);
    closeButton = new QPushButton(QString::fromUtf8("Requester &schließen"), this);
    closeButton->setGeometry(146, 140, 140, 30);
    closeButton->setAutoDefault(false);
    helpButton = new QPushButton(QStringLiteral("&Hilfe zum Requester"), this);
    helpButton->setGeometry(296, 140, 140, 30);
    helpButton->setAutoDefault(false);

    progress = new QProgressBar(this);
    progress->setGeometry(16, 182, 420, 16);
    progress->setTextVisible(false);
    progress->setRange(0, 1);
    progress->setValue(0);
    progress->setAccessibleName(QStringLiteral("Fortschritt"));
    statusLine = new QLabel(this);
    statusLine->setGeometry(0, 224, 452, 26);
    statusLine->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusLine->setIndent(6);

    connect(deleteButton, &QPushButton::clicked, this, [this] { onDelete(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { onClose(); });
    connect(helpButton, &QPushButton::clicked, this, [this] { onHelp(); });
}

DeletionChoice SlideDeletionDialog::Choice() const {
    return {choiceBoxes[0]->isChecked(), choiceBoxes[1]->isChecked(), choiceBoxes[2]->isChecked(),
            choiceBoxes[3]->isChecked()};
}

void SlideDeletionDialog::ShowDialogStatus(const QString& text) {
    statusLine->setText(text);
    statusLine->setAccessibleName(text);
    statusLine->repaint();
}

void SlideDeletionDialog::SetControlsEnabled(bool on) {
    for (QWidget* w : {static_cast<QWidget*>(deleteButton), static_cast<QWidget*>(closeButton),
                       static_cast<QWidget*>(helpButton)})
        w->setEnabled(on);
    for (auto* box : choiceBoxes)
        box->setEnabled(on);
}

void SlideDeletionDialog::onDelete() {
    ctx_.sound.PlayClick();
    const QString fromText = fromEdit->text();
    const QString toText = toEdit->text();
    const auto range = CheckSlideRange(ToCp1252Lossy(fromText), ToCp1252Lossy(toText),
                                       ctx_.state.counters.totalRecords);
    if (!range) {
        ctx_.messages.ShowError(15);
        return;
    }
    if (!ctx_.messages.AskConfirmation(
            QStringLiteral("Möchten Sie Informationen zu den\rDias Nr.") + fromText +
            QStringLiteral(" bis Nr.") + toText + QStringLiteral("\r") +
            QString::fromUtf8("wirklich aus dem Archiv löschen ?"))) {
        QDialog::reject();
        return;
    }
    RunDeletion(*range);
}

void SlideDeletionDialog::RunDeletion(SlideRange range) {
    running_ = true;
    SetControlsEnabled(false);
    // A range of one slide keeps a maximum of 1: 0 would turn the bar into a busy indicator.
    progress->setRange(0, std::max(1, range.last - range.first));
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    ctx_.messages.ShowStatus(28);
    ShowDialogStatus(QString::fromUtf8("Überprüfe Archiv nach bereits gelöschten Dias..."));
    ctx_.sound.Delay(2000);
    progress->setValue(0);

    const Counters before = ctx_.state.counters;
    ctx_.state.page.clear();
    if (const Problem p =
            AnalyseArchive(ctx_.state.archive, kFreeSlotMarker, ctx_.state.counters)) {
        ctx_.state.counters = before; // nothing was counted: the stored number stays
        ctx_.messages.Report(p);
        running_ = false;
        SetControlsEnabled(true);
        ctx_.messages.ShowStatus(0);
        return;
    }
    ctx_.screen.SetBusyCursor(true);
    ctx_.sound.PlaySoundCue(QStringLiteral("loesch"), 0);

    QElapsedTimer shown;
    shown.start();
    auto showSlide = [&](int32_t n) {
        if (n != range.first && n != range.last && shown.elapsed() < kDisplayIntervalMs)
            return;
        shown.restart();
        progress->setValue(n - range.first);
        progress->repaint();
        ShowDialogStatus(QStringLiteral("Bearbeite im Moment alle Daten zu Dia Nr. ") +
                         QString::number(n));
    };
    const DeletionOutcome outcome =
        DeleteSlideRange(ctx_.state.archive, range, Choice(), ctx_.state.counters, showSlide);
    ctx_.screen.SetBusyCursor(false);
    if (!outcome.problem)
        progress->setValue(progress->maximum()); // also for a range of one slide
    if (outcome.problem) {
        // The slide it stopped at stays in the status line; the counters were taken
        // afresh from the file and are stored.
        ShowDialogStatus(QStringLiteral("Bearbeite im Moment alle Daten zu Dia Nr. ") +
                         QString::number(outcome.failedSlide));
        ctx_.messages.Report(outcome.problem);
        FinishRun();
        return;
    }
    FinishRun();
    hide();
    if (outcome.anyMarked)
        ctx_.messages.ShowNotice(QString::fromUtf8(
            "Die Dias wurden aus dem Lumoretta gelöscht.\rAlle Datensätze sind entsprechend "
            "markiert\rworden und der Zähler für die Dias wurde\rentsprechend korrigiert und "
            "gesichert."));
    else
        ctx_.messages.ShowNotice(QString::fromUtf8(
            "Ausgewählte Dias waren bereits gelöscht !\rEs wurden keine Veränderungen in "
            "Ihrem\rArchiv vorgenommen !"));
    accept();
}

void SlideDeletionDialog::FinishRun() {
    ctx_.SaveSettings();
    ctx_.messages.ShowStatus(0);
    ctx_.screen.UpdateCounterPanels();
    running_ = false;
    SetControlsEnabled(true);
}

void SlideDeletionDialog::onClose() {
    ctx_.sound.PlayClick();
    QDialog::reject();
}

void SlideDeletionDialog::onHelp() {
    ctx_.sound.PlayClick();
    ctx_.ShowHelp(204);
}

void SlideDeletionDialog::reject() {
    if (!running_)
        QDialog::reject();
}

} // namespace lumo
