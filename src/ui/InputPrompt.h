#pragma once
// InputPrompt: the one-line input dialog in its six kinds (info text, box number,
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

class InputPrompt : public QDialog {
    Q_OBJECT
public:
    void reject() override; // Esc is "&Beenden"
    InputPrompt(MessageCatalog& catalog, QWidget* parent = nullptr);

    // Prompt text (CR kept) and width of promptLabel.
    void SetPrompt(const QString& text, int labelWidth = 270);
    QString promptText() const { return prompt_; }
    int kind() const; // from kindLabel
    static int HelpContext(int kind);

    // Shows the dialog modally until a handler closes it (a refusal shows the error
    // and opens it again); answered from the catalog's queue in test mode.
    void RunModal();
    bool lastRunUnanswered() const { return unanswered_; }

    void onSearch(); // "&Suchen"
    void onQuit();   // "&Beenden"
    void onHelp();   // help

    QWidget* panel = nullptr;
    QLabel* picture = nullptr;
    QLabel* caption = nullptr;     // "Lumoretta 3.0"
    QLabel* kindLabel = nullptr;   // invisible, the kind
    QLabel* promptLabel = nullptr; // prompt
    QLineEdit* input = nullptr;
    QCheckBox* optionBox = nullptr;
    QPushButton* searchButton = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* quitButton = nullptr;

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
