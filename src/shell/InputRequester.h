#pragma once
// TInputRequester: the one-line input dialog in its six kinds (info text, box number,
// memo text, slide number, new keyword, new archive directory). The MessageCatalog sets
// it up per kind; "&Suchen" checks the input and keeps the dialog open on a refusal.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace lumo {

class MessageCatalog;

class TInputRequester : public QDialog {
    Q_OBJECT
public:
    void reject() override; // Esc is "&Beenden"
    TInputRequester(MessageCatalog& catalog, QWidget* parent = nullptr);

    // Prompt text (CR kept) and width of Label2.
    void SetPrompt(const QString& text, int labelWidth = 270);
    QString promptText() const { return prompt_; }
    int kind() const; // from Label1
    static int HelpContext(int kind);

    // Shows the dialog modally until a handler closes it (a refusal shows the error
    // and opens it again); answered from the catalog's queue in test mode.
    void RunModal();
    bool lastRunUnanswered() const { return unanswered_; }

    void BitBtn1Click(); // "&Suchen"
    void BitBtn2Click(); // "&Beenden"
    void BitBtn3Click(); // help

    QWidget* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label3 = nullptr; // "Lumoretta 3.0"
    QLabel* Label1 = nullptr; // invisible, the kind
    QLabel* Label2 = nullptr; // prompt
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn2 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Refuse(int error);
    void Finish(int result);
    void relayout();
    void runOnceTestMode();

    MessageCatalog& catalog_;
    QString prompt_;
    int pendingRefusal_ = 0;
    bool closed_ = false;
    bool unanswered_ = false;
};

} // namespace lumo
