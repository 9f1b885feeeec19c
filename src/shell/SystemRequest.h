#pragma once
// TRequester: the requester in its notice form (error texts, "Danke") and its yes/no
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

class TRequester : public QDialog {
    Q_OBJECT
public:
    void reject() override; // Esc: "Nein" in the question, "Danke" in the notice
    TRequester(MessageCatalog& catalog, QWidget* parent = nullptr);

    // Fills title and message; `question` shows BitBtn2 "Nein" and captions BitBtn1 "Ja",
    // otherwise BitBtn1 is "Danke" and BitBtn2 hidden.
    void Fill(const QString& title, const QString& text, bool question, int labelWidth = 250);
    QString messageText() const { return text_; } // with CR
    bool questionForm() const { return question_; }

    void BitBtn1Click(); // "Danke" / "Ja": ConfirmAnswer := 1
    void BitBtn2Click(); // "Nein": ConfirmAnswer := 0

    QWidget* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label3 = nullptr; // "Lumoretta 3.0"
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

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
