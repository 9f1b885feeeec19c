#pragma once
// SlideDeletionDialog "Dias aus dem Archiv löschen": a range of slides becomes free slots,
// with their header data, memos and pictures as the four check boxes say. The check boxes
// keep their state for the rest of the run (the window is created once and reused).
#include "editing/logic/SlideDeletion.h"

#include "ui/FeatureContext.h"
#include "ui/Screen.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace lumo {

class SlideDeletionDialog : public QDialog {
    Q_OBJECT
public:
    explicit SlideDeletionDialog(const FeatureContext& context);

    void onDelete(); // "Dias &löschen": check, ask, analyse, free the range
    void onClose();  // "Requester &schließen"
    void onHelp();   // "&Hilfe zum Requester"
    // Esc and the window's close button close the window; while a deletion runs they do
    // nothing (the run cannot be interrupted).
    void reject() override;

    DeletionChoice Choice() const;
    void ShowDialogStatus(const QString& text); // the window's own status line, at once

    QLineEdit* fromEdit = nullptr; // "von Dia"
    QLineEdit* toEdit = nullptr;   // "bis Dia"
    // "Diadaten", "Kopfdaten", "Memos", "Minibitmaps"
    std::array<QCheckBox*, 4> choiceBoxes{};
    QPushButton* deleteButton = nullptr;
    QPushButton* closeButton = nullptr;
    QPushButton* helpButton = nullptr;
    QProgressBar* progress = nullptr;
    QLabel* statusLine = nullptr;

private:
    FeatureContext ctx_;
    bool running_ = false;

    void SetControlsEnabled(bool on);
    void RunDeletion(SlideRange range);
    void FinishRun(); // settings saved, status and counters shown, controls back
};

} // namespace lumo
