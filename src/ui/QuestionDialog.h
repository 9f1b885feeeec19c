#pragma once
// QuestionDialog: the message dialog in its notice form (error texts, "Danke") and its yes/no
// form ("Ja" / "Nein"). Filled and shown by the MessageCatalog.
#include <QColor>
#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;
class QWidget;

namespace lumo {

class MessageCatalog;

// Shared look of the three message dialogs: the small framed slide picture on the
// left of the coloured panel.
QPixmap DialogPicture(const QColor& accent);
// Builds the coloured panel, the picture and the small "Lumoretta 3.0" caption on a
// dialog; returns the panel (parent of the dialog's own controls).
QWidget* BuildDialogFrame(QDialog* dialog, const QColor& panel, const QColor& accent,
                          QLabel** image, QLabel** caption);
// Message texts keep CR as line break; on screen it is a line break.
QString ScreenText(const QString& text);

class QuestionDialog : public QDialog {
    Q_OBJECT
public:
    void reject() override; // Esc: "Nein" in the question, "Danke" in the notice
    QuestionDialog(MessageCatalog& catalog, QWidget* parent = nullptr);

    // Fills title and message; `question` shows declineButton "Nein" and captions acceptButton
    // "Ja", otherwise acceptButton is "Danke" and declineButton hidden.
    void Fill(const QString& title, const QString& text, bool question, int labelWidth = 250);
    QString messageText() const { return text_; } // with CR
    bool questionForm() const { return question_; }

    void onAccept();  // "Danke" / "Ja": ConfirmAnswer := 1
    void onDecline(); // "Nein": ConfirmAnswer := 0

    QWidget* panel = nullptr;
    QLabel* picture = nullptr;
    QLabel* caption = nullptr; // "Lumoretta 3.0"
    QLabel* titleLabel = nullptr;
    QLabel* messageLabel = nullptr;
    QPushButton* acceptButton = nullptr;
    QPushButton* declineButton = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void relayout();
    MessageCatalog& catalog_;
    QString text_;
    bool question_ = false;
    bool closing_ = false;
};

} // namespace lumo
