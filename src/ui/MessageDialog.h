#pragma once
// The look and behaviour the message dialogs share (notice, question): a coloured panel with
// the small framed slide picture, a bold title, the message text and a row of buttons under
// it. Closing the window counts as the dialog's Esc answer.
#include <QColor>
#include <QDialog>
#include <QPixmap>

#include <initializer_list>

class QLabel;
class QPushButton;
class QWidget;

namespace lumo {

class MessageCatalog;

// The small framed slide picture on the left of the coloured panel.
QPixmap DialogPicture(const QColor& accent);
// Builds the coloured panel, the picture and the small "Lumoretta 3.0" caption on a
// dialog; returns the panel (parent of the dialog's own controls).
QWidget* BuildDialogFrame(QDialog* dialog, const QColor& panel, const QColor& accent,
                          QLabel** image, QLabel** caption);
// Message texts keep CR as line break; on screen it is a line break.
QString ScreenText(const QString& text);

class MessageDialog : public QDialog {
    Q_OBJECT
public:
    QString messageText() const { return text_; } // with CR

    QWidget* panel = nullptr;
    QLabel* picture = nullptr;
    QLabel* caption = nullptr; // "Lumoretta 3.0"
    QLabel* titleLabel = nullptr;
    QLabel* messageLabel = nullptr;

protected:
    struct Look {
        QString windowTitle;
        QColor panel;
        QColor accent; // picture and title
        bool boldBlackMessage = false;
    };
    MessageDialog(MessageCatalog& catalog, const Look& look, QWidget* parent);

    // Title and text; the label is as wide as the text needs, at least `labelWidth`.
    void SetMessage(const QString& title, const QString& text, int labelWidth);
    // Title, message and the buttons in a row under it; the dialog fits around them.
    void LayOut(int defaultWidth, std::initializer_list<QPushButton*> buttons, int buttonWidth,
                int buttonHeight);
    // Click sound, then the dialog ends with `result`.
    void Finish(int result);
    void closeEvent(QCloseEvent* event) override;

    MessageCatalog& catalog_;

private:
    QString text_;
    bool closing_ = false;
};

} // namespace lumo
