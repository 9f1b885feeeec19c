#pragma once
// "Tips und Tricks": one tip of the series tips/<n>.tip at a time, stepping on with
// wrap-around; the check box switches the tips at start on or off (setting TIP).
#include "ui/FeatureContext.h"
#include "ui/Screen.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace lumo {

class TipsDialog : public QDialog {
    Q_OBJECT
public:
    TipsDialog(const FeatureContext& context, QWidget* parent);

    void Open();                           // "&Tips anzeigen": the next tip
    void OpenAtStart();                    // at start-up, the tip prepared then (state.tipText)
    void NextTip();                        // "mehr &Tips"
    void Finish();                         // "&Beenden": steps on (or switches tips off) and saves
    void ShowAtStartClicked(bool checked); // the check box

    QString tipText() const;
    QLabel* heading() const { return heading_; }
    QPushButton* nextButton() const { return next_; }
    QPushButton* closeButton() const { return close_; }
    QCheckBox* showAtStartCheck() const { return showAtStart_; }

    void reject() override; // Esc: as "&Beenden"

private:
    bool StepAndLoad(); // false: the tip file could not be read (reported)
    void RunWindow();

    FeatureContext ctx_;
    QLabel* heading_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* close_ = nullptr;
    QCheckBox* showAtStart_ = nullptr;
};

} // namespace lumo
