#pragma once
// Every text the program shows in its own words, and the dialogs that carry them:
// QuestionDialog (error notice and yes/no question), NoticeDialog (notice), InputPrompt
// (one-line input in six kinds). Feature code never creates a message box itself.
#include "store/Problem.h"
#include "ui/AppState.h"
#include "ui/Screen.h"

#include <QColor>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

class QWidget;

namespace lumo {

class SoundCue;
class HelpViewer;
class QuestionDialog;
class NoticeDialog;
class InputPrompt;

// Test seam: queued answers for the dialogs and a record of what was shown.
struct DialogAnswer {
    enum Kind { Yes, No, Ok, Type, Cancel, Help };
    Kind kind = Ok;
    QString text;              // Type: the text typed before "&Suchen"
    std::optional<bool> check; // Type: state of optionBox
    static DialogAnswer yes() { return {Yes, {}, {}}; }
    static DialogAnswer ok() { return {Ok, {}, {}}; }
    static DialogAnswer help() { return {Help, {}, {}}; }
    static DialogAnswer no() { return {No, {}, {}}; }
    static DialogAnswer type(const QString& t, std::optional<bool> c = {}) { return {Type, t, c}; }
    static DialogAnswer cancel() { return {Cancel, {}, {}}; }
};

struct ShownDialog {
    enum Kind { Error, Confirm, Notice, Prompt, ErrorBox, IoError, FileDialog };
    Kind kind;
    int number = 0;          // error number, prompt kind
    QString title;           // kindLabel / box title
    QString text;            // the message or prompt shown
    bool unanswered = false; // test mode: no fitting answer was queued
};

class MessageCatalog {
public:
    MessageCatalog(AppState& state, SoundCue& sound, HelpViewer& help);
    ~MessageCatalog();
    void setScreen(Screen* screen) { screen_ = screen; }
    // The help topic of a screen mode, for F1 in a dialog opened from that mode.
    void setModeHelpTopic(std::function<int(int)> topic) { modeHelpTopic_ = std::move(topic); }

    // Texts ("\r" kept as CR; the dialogs show it as a line break).
    QString StatusText(int n) const; // empty when n has no text
    QString ErrorText(int n) const;  // empty when n has no text

    void ShowStatus(int n);
    void ShowWarningStatus(); // text 1 in purple
    void ShowError(int n);
    // Which button of a question Enter presses.
    enum class DefaultAnswer { Yes, No };
    // also sets state.confirmAnswer
    bool AskConfirmation(const QString& text, DefaultAnswer byDefault = DefaultAnswer::Yes);
    // The same question, where Esc means "back" rather than "Nein": nullopt after Esc
    // (a queued cancel() in tests).
    std::optional<bool> AskConfirmationOrEscape(const QString& text,
                                                DefaultAnswer byDefault = DefaultAnswer::Yes);
    void ShowNotice(const QString& text);
    // Opens InputPrompt in kind 1..6. A valid input sets state.searchConfirmed
    // (kinds 1-4; with state.boxNumber for kind 2 and state.currentSlide for kind 4) or
    // state.confirmAnswer (kind 6); kind 5 calls the keyword insertion hook. The caller
    // resets the flag before and reads it, PromptText() and PromptChecked() after.
    // optionBox shows and keeps state.caseSensitive.
    void SearchPrompt(int kind);
    QString PromptText() const; // input after the dialog closed
    bool PromptChecked() const; // optionBox after the dialog closed
    void SetPromptText(const QString& t);

    // Kind 5: what a valid keyword input does (the keyword insertion).
    void setKeywordInsertion(std::function<void(const QString&)> fn) {
        insertKeyword_ = std::move(fn);
    }

    // Low-level storage failures: "error" cue and an error box titled "Fehler".
    void ShowErrorBox(const QString& text);
    // "I/O-Fehler " + number.
    void ShowIoError(int sysError);
    // Shows the message that belongs to a store problem (nothing for none).
    void Report(const Problem& p);

    // File-open dialog (Qt's), answered by the seam in tests. Empty: cancelled.
    QString GetOpenFileName(const QString& title, const QString& dir, const QString& filter,
                            const QString& proposed = {});
    // The same seam for choosing a folder, and a file to write (Qt's dialog asks before it
    // replaces a file).
    QString GetExistingDirectory(const QString& title, const QString& dir);
    QString GetSaveFileName(const QString& title, const QString& dir, const QString& filter,
                            const QString& proposed = {});

    // Test seam.
    void setTestMode(bool on) { testMode_ = on; }
    bool testMode() const { return testMode_; }
    void queue(DialogAnswer a) { answers_.push_back(std::move(a)); }
    void queueFileName(const QString& path) { fileNames_.push_back(path); }
    const std::vector<ShownDialog>& shown() const { return shown_; }
    void clearShown() { shown_.clear(); }
    size_t pendingAnswers() const { return answers_.size(); }

    // The dialogs (created on first use, parented to the main widget when there is one).
    QuestionDialog* questionDialog();
    NoticeDialog* noticeDialog();
    InputPrompt* inputPrompt();

private:
    friend class InputPrompt;
    friend class QuestionDialog;
    friend class NoticeDialog;
    friend class MessageDialog;
    AppState& state_;
    SoundCue& sound_;
    HelpViewer& help_;
    Screen* screen_ = nullptr;
    QWidget* dialogParent() const;
    void beginDialog(int& remembered);
    void endDialog(int remembered);
    void record(ShownDialog::Kind kind, int number, const QString& title, const QString& text);
    // Test mode: takes the front answer when it is one of `kinds`.
    std::optional<DialogAnswer> takeAnswer(std::initializer_list<DialogAnswer::Kind> kinds);
    void markUnanswered();
    // Test mode: the next queued file name (recorded as shown); nothing outside test mode.
    std::optional<QString> takeFileName(const QString& title);
    // The help window at `context`; 0: the topic of the current screen mode.
    void showHelp(int context);

    std::function<int(int)> modeHelpTopic_;
    QPointer<QuestionDialog> questionDialog_;
    QPointer<NoticeDialog> noticeDialog_;
    QPointer<InputPrompt> inputPrompt_;
    std::function<void(const QString&)> insertKeyword_;
    bool testMode_ = false;
    std::deque<DialogAnswer> answers_;
    std::deque<QString> fileNames_;
    std::vector<ShownDialog> shown_;
};

} // namespace lumo
