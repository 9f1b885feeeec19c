#pragma once
// QuestionDialog: the message dialog in its notice form (error texts, "Danke") and its yes/no
// form ("Ja" / "Nein"). Filled and shown by the MessageCatalog.
#include "ui/MessageDialog.h"

namespace lumo {

class QuestionDialog : public MessageDialog {
    Q_OBJECT
public:
    void reject() override; // Esc: "Nein" in the question, "Danke" in the notice
    QuestionDialog(MessageCatalog& catalog, QWidget* parent = nullptr);

    // Fills title and message; `question` shows declineButton "Nein" and captions acceptButton
    // "Ja", otherwise acceptButton is "Danke" and declineButton hidden.
    void Fill(const QString& title, const QString& text, bool question, int labelWidth = 250);
    bool questionForm() const { return question_; }
    // The question was left with Esc or the window's close rather than "Nein".
    bool escaped() const { return escaped_; }
    // After Fill: Enter and the first focus go to "Nein" (a question where "Ja" risks more).
    void MakeDeclineDefault();

    void onAccept();  // "Danke" / "Ja": ConfirmAnswer := 1
    void onDecline(); // "Nein": ConfirmAnswer := 0

    QPushButton* acceptButton = nullptr;
    QPushButton* declineButton = nullptr;

private:
    void relayout();
    bool question_ = false;
    bool escaped_ = false;
};

} // namespace lumo
