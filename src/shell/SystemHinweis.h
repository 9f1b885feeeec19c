#pragma once
// THinweis: the notice dialog of ShowNotice with its one button "Danke".
#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

namespace lumo {

class MessageCatalog;

class THinweis : public QDialog {
    Q_OBJECT
public:
    void reject() override; // Esc is "Danke"
    THinweis(MessageCatalog& catalog, QWidget* parent = nullptr);

    void Fill(const QString& title, const QString& text, int labelWidth = 270);
    QString messageText() const { return text_; } // with CR

    void Button1Click(); // "Danke"

    QWidget* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label3 = nullptr; // "Lumoretta 3.0"
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void relayout();
    MessageCatalog& catalog_;
    QString text_;
    bool closing_ = false;
};

} // namespace lumo
