#pragma once
// Context help: DIA.HLP in the archive holds HTML with one anchor per context number
// (<a name="ctx201">); shown in a help window.
#include <QString>

#include <memory>

class QTextBrowser;

namespace lumo {

class HelpViewer {
public:
    HelpViewer();
    ~HelpViewer();
    // Opens the help window at the topic; a missing file or topic is said in the window.
    void ShowHelp(const QString& helpFile, int context);

    QTextBrowser* window() const { return browser_.get(); }
    int lastContext() const { return lastContext_; }

private:
    std::unique_ptr<QTextBrowser> browser_;
    int lastContext_ = 0;
};

} // namespace lumo
