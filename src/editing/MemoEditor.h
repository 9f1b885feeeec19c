#pragma once
// MemoEditor "MEMO": the memo text of one slide (memo/<n>.txt, code page 1252, CR LF),
// stepping to the neighbouring slides, clipboard exchange, deleting, and copying the
// stored memo into the report memo.txt.
#include "search/Reports.h"
#include "ui/FeatureContext.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace lumo {

class MemoEditor : public QDialog {
    Q_OBJECT
public:
    explicit MemoEditor(const FeatureContext& ctx);

    // Menu "&Memos eingeben...": the slide of the number field (remembered, "1" at start).
    void OpenFromMenu();
    // Right click on a result row without a memo document.
    void OpenForSlide(int32_t slide);

    // Number field handling: loads the memo of the slide typed (error 7 when invalid).
    void onSlideNumberChanged();

    void onCopy();             // copy selection
    void onPaste();            // paste
    void onDeleteMemo();       // delete memo
    void onSaveMemo();         // save
    void onPreviousSlide();    // slide - 1
    void onNextSlide();        // slide + 1
    void onHelp();             // help
    void onLeave();            // leave
    void onAppendToMemoList(); // append to memo.txt
    void onNewMemoList();      // new memo.txt

    // Date and time of the memo.txt head (tests fix them).
    void setClock(ReportClock clock) { clock_ = std::move(clock); }

    bool modified() const { return modified_; }
    void setModified(bool m) { modified_ = m; }

    // Memo file lines of slide `number` (CR, LF or CR LF line ends); nullopt when missing.
    static std::optional<QStringList> ReadMemoLines(const FeatureContext& ctx, int32_t number);

    QLabel* headingLabel = nullptr;
    QLineEdit* slideNumberEdit = nullptr;
    QPlainTextEdit* memoText = nullptr;
    std::array<QToolButton*, 10> toolButtons{};

    void reject() override; // Esc and the window's close: leave with the save question

private:
    FeatureContext ctx_;
    bool modified_ = false;
    bool loading_ = false;
    bool leaving_ = false;
    ReportClock clock_;

    void ClearEditor();
    void LoadMemo(int32_t number); // editor := file contents (or empty); modified unchanged
    std::optional<int32_t> FieldNumber() const; // valid slide number in slideNumberEdit
    bool SaveMemo(int32_t number);              // writes the editor's lines; false: reported
    QString EditorText() const;
    bool FirstLineEmpty() const;
    // The question before stepping and leaving; false after Esc, or when "Ja" was answered
    // and the memo could not be saved: the editor then stays where it is, with its text.
    bool SaveQuestion();
    bool SaveShownMemo(); // false: not saved (error 7 or the write failed, reported)
    void Step(int delta);
    void CopyToReport(bool startAnew);
};

} // namespace lumo
