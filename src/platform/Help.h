#pragma once
// Context help: DIA.HLP in the archive holds HTML with one anchor per context number
// (<a name="ctx201">); shown in a help window.
#include <QPointer>
#include <QString>

#include <functional>

class QTextBrowser;
class QUrl;
class QWidget;

namespace lumo {

// F1 anywhere in `window` (while it is the active window) calls `showHelp`.
void InstallHelpKey(QWidget* window, std::function<void()> showHelp);

class HelpViewer {
public:
    HelpViewer();
    ~HelpViewer();
    // Opens the help window at the topic; a missing file or topic is said in the window.
    void ShowHelp(const QString& helpFile, int context);
    // The help window becomes a window of `owner` (the main window): it is no window of
    // its own that keeps the program running, and it is destroyed with its owner.
    void setOwner(QWidget* owner);
    void Close(); // closes the help window when it is open

    QTextBrowser* window() const;
    int lastContext() const { return lastContext_; }

private:
    QPointer<QTextBrowser> browser_; // owned by owner_, or by this viewer without one
    QPointer<QWidget> owner_;
    QString helpDir_;
    // Follows a link of the help: anchors in it, http/https addresses and files of the
    // help's directory (the archive) only.
    void followLink(const QUrl& link);
    int lastContext_ = 0;
};

} // namespace lumo
