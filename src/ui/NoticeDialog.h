#pragma once
// NoticeDialog: the notice dialog of ShowNotice with its one button "Danke".
#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

namespace lumo {

class MessageCatalog;

class NoticeDialog : public QDialog {
    Q_OBJECT
public:
    void reject() override; // Esc is "Danke"
    NoticeDialog(MessageCatalog& catalog, QWidget* parent = nullptr);

    void Fill(const QString& title, const QString& text, int labelWidth = 270);
    QString messageText() const { return text_; } // with CR

    void onThanks(); // "Danke"

    QWidget* panel = nullptr;
    QLabel* picture = nullptr;
    QLabel* caption = nullptr; // "Lumoretta 3.0"
    QLabel* titleLabel = nullptr;
    QLabel* messageLabel = nullptr;
    QPushButton* thanksButton = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void relayout();
    MessageCatalog& catalog_;
    QString text_;
    bool closing_ = false;
};

} // namespace lumo
