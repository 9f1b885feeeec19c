#include "editing/MemoEditor.h"

#include "editing/MemoToolIcons.h"
#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "search/Reports.h"
#include "store/FileUtil.h"
#include "store/SlideTypes.h"
#include "ui/FeatureContext.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QTextBlock>
#include <QToolButton>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace lumo {

namespace {
std::string MemoName(int32_t n) {
    return "memo/" + std::to_string(n) + ".txt";
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    QString cur;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines << cur;
            cur.clear();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.isEmpty())
        lines << cur;
    return lines;
}
} // namespace

MemoEditor::MemoEditor(const FeatureContext& ctx) : QDialog(ctx.screen.MainWidget()), ctx_(ctx) {
    InstallHelpKey(this, [this] { onHelp(); }); // F1: as the help button
    setWindowTitle(QStringLiteral("MEMO"));
    setFixedSize(430, 330);
    headingLabel = new QLabel(QStringLiteral("Zusätzliche Informationen zum Dia Nr. "), this);
    headingLabel->setGeometry(10, 12, 250, 20);
    slideNumberEdit = new QLineEdit(QStringLiteral("1"), this);
    slideNumberEdit->setGeometry(262, 10, 60, 24);
    slideNumberEdit->setMaxLength(5);
    slideNumberEdit->setAccessibleName(QStringLiteral("Zusätzliche Informationen zum Dia Nr."));
    headingLabel->setBuddy(slideNumberEdit);
    // Only digits: the field's text names the memo file.
    slideNumberEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,5}")), slideNumberEdit));
    memoText = new QPlainTextEdit(this);
    memoText->setGeometry(10, 40, 410, 240);
    memoText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoText->setTabChangesFocus(false);
    memoText->setAccessibleName(QStringLiteral("MEMO"));

    static const char* const hints[10] = {"markierten Text ins Clipboard kopieren",
                                          "Text vom Clipboard einfügen",
                                          "Memo löschen",
                                          "Memo abspeichern",
                                          "Dia -1",
                                          "Dia +1",
                                          "Hilfe zum Memo anzeigen",
                                          "Memo verlassen",
                                          "Memo an die Datei memo.txt anhängen",
                                          "Memo in der Datei memo.txt neu erstellen"};
    for (int i = 0; i < 10; ++i) {
        auto* b = new QToolButton(this);
        b->setGeometry(10 + i * 41, 290, 38, 30);
        b->setToolTip(QString::fromUtf8(hints[i]));
        b->setAccessibleName(QString::fromUtf8(hints[i]));
        b->setIcon(MemoToolIcon(i + 1));
        b->setIconSize(QSize(20, 20));
        b->setObjectName(QStringLiteral("memoButton%1").arg(i + 1));
        toolButtons[i] = b;
    }
    connect(toolButtons[0], &QToolButton::clicked, this, [this] { onCopy(); });
    connect(toolButtons[1], &QToolButton::clicked, this, [this] { onPaste(); });
    connect(toolButtons[2], &QToolButton::clicked, this, [this] { onDeleteMemo(); });
    connect(toolButtons[3], &QToolButton::clicked, this, [this] { onSaveMemo(); });
    connect(toolButtons[4], &QToolButton::clicked, this, [this] { onPreviousSlide(); });
    connect(toolButtons[5], &QToolButton::clicked, this, [this] { onNextSlide(); });
    connect(toolButtons[6], &QToolButton::clicked, this, [this] { onHelp(); });
    connect(toolButtons[7], &QToolButton::clicked, this, [this] { onLeave(); });
    connect(toolButtons[8], &QToolButton::clicked, this, [this] { onAppendToMemoList(); });
    connect(toolButtons[9], &QToolButton::clicked, this, [this] { onNewMemoList(); });

    connect(slideNumberEdit, &QLineEdit::textChanged, this, [this] { onSlideNumberChanged(); });
    // Only what the user does to the text marks the memo as changed; loading does not.
    connect(memoText, &QPlainTextEdit::textChanged, this, [this] {
        if (loading_)
            return;
        // A character code page 1252 cannot hold would not survive in the memo file:
        // the edit that brought it is taken back.
        if (!ToCp1252(memoText->toPlainText())) {
            loading_ = true;
            memoText->undo();
            loading_ = false;
            QApplication::beep();
            return;
        }
        modified_ = true;
    });
}

std::optional<QStringList> MemoEditor::ReadMemoLines(const FeatureContext& ctx, int32_t number) {
    const auto data = ReadWholeFile(ctx.state.archive.resolve(MemoName(number)));
    if (!data)
        return std::nullopt;
    return SplitLines(FromCp1252(*data));
}

void MemoEditor::ClearEditor() {
    loading_ = true;
    memoText->clear();
    loading_ = false;
}

void MemoEditor::LoadMemo(int32_t number) {
    loading_ = true;
    memoText->clear();
    if (auto lines = ReadMemoLines(ctx_, number))
        memoText->setPlainText(lines->join(u'\n'));
    loading_ = false;
}

std::optional<int32_t> MemoEditor::FieldNumber() const {
    bool ok = false;
    const int v = slideNumberEdit->text().toInt(&ok);
    if (!ok || v <= 0 || v > ctx_.state.counters.totalRecords)
        return std::nullopt;
    return v;
}

void MemoEditor::onSlideNumberChanged() {
    if (loading_)
        return;
    const QString t = slideNumberEdit->text();
    if (t.isEmpty())
        return;
    const auto n = FieldNumber();
    if (!n) {
        ctx_.messages.ShowError(7);
        return;
    }
    const QString plain = QString::number(*n);
    if (plain != t) {
        loading_ = true;
        slideNumberEdit->setText(plain);
        loading_ = false;
    }
    LoadMemo(*n);
    modified_ = false; // typing a number discards the changes without a question
}

// The editor's text with its lines ended by LF and every other character as it stands
// (toPlainText() would turn a non-breaking space into a space).
QString MemoEditor::EditorText() const {
    QString text = memoText->document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    return text;
}

bool MemoEditor::FirstLineEmpty() const {
    return memoText->document()->firstBlock().text().isEmpty();
}

bool MemoEditor::SaveMemo(int32_t number) {
    auto& archive = ctx_.state.archive;
    std::string bytes;
    const QStringList lines = EditorText().split(u'\n');
    for (const auto& line : lines)
        bytes += ToCp1252Lossy(line) + "\r\n";
    const auto path = archive.resolve(MemoName(number));
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (const int err = WriteFileAtomically(path, bytes)) {
        ctx_.messages.ShowIoError(err);
        return false;
    }
    return true;
}

// Saves the memo under the slide number in the field (error 7 for an invalid number),
// with the status texts and the cue of a save. "gesichert" is shown only once the file
// has been replaced.
bool MemoEditor::SaveShownMemo() {
    const auto n = FieldNumber();
    if (!n) {
        ctx_.messages.ShowError(7);
        return false;
    }
    if (!SaveMemo(*n)) {
        ctx_.messages.ShowStatus(20);
        return false;
    }
    modified_ = false;
    ctx_.messages.ShowStatus(8);
    ctx_.sound.PlaySoundCue(QStringLiteral("camera1"), 1000);
    ctx_.messages.ShowStatus(20);
    return true;
}

bool MemoEditor::SaveQuestion() {
    if (!modified_ || FirstLineEmpty())
        return true;
    const auto answer = ctx_.messages.AskConfirmationOrEscape(
        QStringLiteral("Soll das geänderte Memo\rgesichert werden ?"));
    if (!answer)
        return false; // Esc: back to the editor, the text as it was
    if (!*answer)
        return true;
    return SaveShownMemo();
}

void MemoEditor::OpenFromMenu() {
    auto& st = ctx_.state;
    ctx_.sound.PlayClick();
    if (st.counters.totalRecords == 0) {
        ctx_.messages.ShowError(53);
        return;
    }
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    const int remembered = st.currentStatus;
    ctx_.messages.ShowStatus(20);
    ClearEditor();
    ctx_.screen.SetWindowCaptionSuffix(QStringLiteral(" - Memos eingeben..."));
    if (const auto n = FieldNumber())
        LoadMemo(*n);
    modified_ = false;
    exec();
    ctx_.screen.SetScreenCaptions(st.screenMode);
    ctx_.messages.ShowStatus(remembered);
}

void MemoEditor::OpenForSlide(int32_t slide) {
    auto& st = ctx_.state;
    ctx_.messages.ShowStatus(20);
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    loading_ = true;
    slideNumberEdit->setText(QString::number(slide));
    loading_ = false;
    ClearEditor();
    LoadMemo(slide);
    move(ctx_.screen.MainTopLeft() + QPoint(111, 103));
    modified_ = false;
    memoText->setFocus();
    exec();
    ctx_.messages.ShowStatus(13);
    ctx_.screen.SetScreenCaptions(st.screenMode);
}

void MemoEditor::onCopy() {
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 300);
    ctx_.messages.ShowStatus(6);
    const QString sel = memoText->textCursor().selectedText().replace(QChar(0x2029), u'\n');
    if (!sel.isEmpty())
        QApplication::clipboard()->setText(sel);
    ctx_.sound.PlaySoundCue(QStringLiteral("click006"), 1000);
    ctx_.messages.ShowStatus(20);
}

void MemoEditor::onPaste() {
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 300);
    // Text with characters outside code page 1252 is refused whole, not mangled.
    QString text = QApplication::clipboard()->text();
    if (!ToCp1252(text)) {
        QApplication::beep();
        return;
    }
    ctx_.messages.ShowStatus(7);
    // Line breaks as the editor keeps them.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    memoText->insertPlainText(text);
    ctx_.sound.PlaySoundCue(QStringLiteral("click006"), 1000);
    ctx_.messages.ShowStatus(20);
}

void MemoEditor::onDeleteMemo() {
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 300);
    if (slideNumberEdit->text().isEmpty())
        return;
    if (!ctx_.messages.AskConfirmation(
            QStringLiteral("Möchten Sie das Memo\rwirklich komplett löschen ?")))
        return;
    const auto n = FieldNumber();
    if (!n) {
        ctx_.messages.ShowError(7);
        return;
    }
    // A memo file that stays is reported, and the editor keeps the text; a missing one is
    // no error.
    if (const int err = RemoveFile(ctx_.state.archive.resolve(MemoName(*n))); err && err != 2) {
        ctx_.messages.ShowIoError(err);
        return;
    }
    ctx_.messages.ShowStatus(9);
    ctx_.sound.PlaySoundCue(QStringLiteral("loesch"), 0);
    ClearEditor();
    modified_ = false;
    ctx_.sound.Delay(1000);
    ctx_.messages.ShowStatus(20);
}

void MemoEditor::onSaveMemo() {
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 300);
    if (slideNumberEdit->text().isEmpty())
        return;
    if (FirstLineEmpty()) {
        ctx_.messages.ShowError(13);
        return;
    }
    SaveShownMemo();
}

void MemoEditor::Step(int delta) {
    ctx_.sound.PlaySoundCue(QStringLiteral("next"), 300);
    if (!SaveQuestion())
        return;
    // "1" loads memo 1 like a typed number: the editor always holds the memo of the
    // number shown.
    if (slideNumberEdit->text().isEmpty())
        slideNumberEdit->setText(QStringLiteral("1"));
    bool ok = false;
    const int n = slideNumberEdit->text().toInt(&ok);
    // The field holds five digits: 99999 is the last slide it can name.
    const int last = std::min(ctx_.state.counters.totalRecords, kMaxSlideNumber);
    if (!ok || (delta < 0 && n <= 1) || (delta > 0 && n >= last)) {
        ctx_.messages.ShowError(11);
        modified_ = false;
        return;
    }
    slideNumberEdit->setText(QString::number(n + delta)); // loads that memo
    modified_ = false;
}

void MemoEditor::onPreviousSlide() {
    Step(-1);
}
void MemoEditor::onNextSlide() {
    Step(+1);
}

void MemoEditor::onHelp() {
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 300);
    ctx_.ShowHelp(206);
}

void MemoEditor::onLeave() {
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 300);
    reject();
}

void MemoEditor::reject() {
    if (leaving_)
        return;
    leaving_ = true;
    const bool mayLeave = SaveQuestion();
    leaving_ = false;
    if (mayLeave)
        QDialog::reject();
}

void MemoEditor::CopyToReport(bool startAnew) {
    auto& archive = ctx_.state.archive;
    ctx_.sound.PlaySoundCue(QStringLiteral("hotclik"), 300);
    // The stored file goes into the report, not unsaved changes in the editor.
    const auto n = FieldNumber();
    const auto bytes = n ? ReadWholeFile(archive.resolve(MemoName(*n))) : std::nullopt;
    if (!bytes) {
        ctx_.messages.ShowError(13);
        return;
    }
    ctx_.messages.ShowStatus(8);
    ctx_.sound.PlaySoundCue(QStringLiteral("click006"), 0);
    Problem p;
    if (startAnew)
        p = WriteMemoListHeader(archive, clock_);
    if (!p)
        p = AppendMemoBlock(archive, *n, SplitMemoLines(*bytes));
    if (p)
        ctx_.messages.Report(p);
    ctx_.sound.Delay(1000);
    ctx_.messages.ShowStatus(20);
}

void MemoEditor::onAppendToMemoList() {
    CopyToReport(false);
}
void MemoEditor::onNewMemoList() {
    CopyToReport(true);
}

} // namespace lumo
