#include "editing/DiaMemo.h"

#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "search/Reports.h"
#include "shell/Main.h"
#include "shell/MessageCatalog.h"
#include "store/FileUtil.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QTextBlock>
#include <QToolButton>

#include <filesystem>
#include <system_error>

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

TFormMemo::TFormMemo(TForm1& main) : QDialog(&main), main_(main) {
    setWindowTitle(QStringLiteral("MEMO"));
    setFixedSize(430, 330);
    Label1 = new QLabel(QStringLiteral("Zusätzliche Informationen zum Dia Nr. "), this);
    Label1->setGeometry(10, 12, 250, 20);
    Edit1 = new QLineEdit(QStringLiteral("1"), this);
    Edit1->setGeometry(262, 10, 60, 24);
    Edit1->setMaxLength(5);
    // Only digits: the field's text names the memo file.
    Edit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), Edit1));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(10, 40, 410, 240);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(false);

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
    static const char* const glyphs[10] = {"Kop", "Einf", "Lösch", "Sich", "<",
                                           ">",   "?",    "Ende",  "+txt", "txt"};
    for (int i = 0; i < 10; ++i) {
        auto* b = new QToolButton(this);
        b->setGeometry(10 + i * 41, 290, 38, 30);
        b->setToolTip(QString::fromUtf8(hints[i]));
        b->setText(QString::fromUtf8(glyphs[i]));
        b->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        SpeedButtons[i] = b;
    }
    connect(SpeedButtons[0], &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButtons[1], &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButtons[2], &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(SpeedButtons[3], &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
    connect(SpeedButtons[4], &QToolButton::clicked, this, [this] { SpeedButton5Click(); });
    connect(SpeedButtons[5], &QToolButton::clicked, this, [this] { SpeedButton6Click(); });
    connect(SpeedButtons[6], &QToolButton::clicked, this, [this] { SpeedButton7Click(); });
    connect(SpeedButtons[7], &QToolButton::clicked, this, [this] { SpeedButton8Click(); });
    connect(SpeedButtons[8], &QToolButton::clicked, this, [this] { SpeedButton9Click(); });
    connect(SpeedButtons[9], &QToolButton::clicked, this, [this] { SpeedButton10Click(); });

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    // Only what the user does to the text marks the memo as changed; loading does not.
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        if (loading_)
            return;
        // A character code page 1252 cannot hold would not survive in the memo file:
        // the edit that brought it is taken back.
        if (!ToCp1252(Memo1->toPlainText())) {
            loading_ = true;
            Memo1->undo();
            loading_ = false;
            QApplication::beep();
            return;
        }
        modified_ = true;
    });
}

std::optional<QStringList> TFormMemo::ReadMemoLines(TForm1& main, int32_t number) {
    const auto data = ReadWholeFile(main.state().archive.resolve(MemoName(number)));
    if (!data)
        return std::nullopt;
    return SplitLines(FromCp1252(*data));
}

void TFormMemo::ClearEditor() {
    loading_ = true;
    Memo1->clear();
    loading_ = false;
}

void TFormMemo::LoadMemo(int32_t number) {
    loading_ = true;
    Memo1->clear();
    if (auto lines = ReadMemoLines(main_, number))
        Memo1->setPlainText(lines->join(u'\n'));
    loading_ = false;
}

std::optional<int32_t> TFormMemo::FieldNumber() const {
    bool ok = false;
    const int v = Edit1->text().toInt(&ok);
    if (!ok || v <= 0 || v > main_.state().counters.totalRecords)
        return std::nullopt;
    return v;
}

void TFormMemo::Edit1Change() {
    if (loading_)
        return;
    const QString t = Edit1->text();
    if (t.isEmpty())
        return;
    const auto n = FieldNumber();
    if (!n) {
        main_.messages().ShowError(7);
        return;
    }
    const QString plain = QString::number(*n);
    if (plain != t) {
        loading_ = true;
        Edit1->setText(plain);
        loading_ = false;
    }
    LoadMemo(*n);
}

bool TFormMemo::FirstLineEmpty() const {
    return Memo1->document()->firstBlock().text().isEmpty();
}

bool TFormMemo::SaveMemo(int32_t number) {
    auto& archive = main_.state().archive;
    std::string bytes;
    const QStringList lines = Memo1->toPlainText().split(u'\n');
    for (const auto& line : lines)
        bytes += ToCp1252Lossy(line) + "\r\n";
    const auto path = archive.resolve(MemoName(number));
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    if (const int err = WriteFileAtomically(path, bytes)) {
        main_.messages().ShowIoError(err);
        return false;
    }
    return true;
}

// Saves the memo under the slide number in the field (error 7 for an invalid number),
// with the status texts and the cue of a save.
void TFormMemo::SaveShownMemo() {
    const auto n = FieldNumber();
    if (!n) {
        main_.messages().ShowError(7);
        return;
    }
    main_.messages().ShowStatus(8);
    if (SaveMemo(*n))
        modified_ = false;
    main_.sound().PlaySoundCue(QStringLiteral("camera1"), 1000);
    main_.messages().ShowStatus(20);
}

void TFormMemo::SaveQuestion() {
    if (!modified_ || FirstLineEmpty())
        return;
    if (!main_.messages().AskConfirmation(
            QStringLiteral("Soll das geänderte Memo\rgesichert werden ?")))
        return;
    SaveShownMemo();
}

void TFormMemo::OpenFromMenu() {
    auto& st = main_.state();
    main_.sound().PlayClick();
    if (st.counters.totalRecords == 0) {
        main_.messages().ShowError(53);
        return;
    }
    main_.SetScreenCaptions(mode::Disabled);
    const int remembered = st.currentStatus;
    main_.messages().ShowStatus(20);
    ClearEditor();
    main_.SetWindowCaptionSuffix(QStringLiteral(" - Memos eingeben..."));
    if (const auto n = FieldNumber())
        LoadMemo(*n);
    modified_ = false;
    exec();
    main_.SetScreenCaptions(st.screenMode);
    main_.messages().ShowStatus(remembered);
}

void TFormMemo::OpenForSlide(int32_t slide) {
    auto& st = main_.state();
    main_.messages().ShowStatus(20);
    main_.SetScreenCaptions(mode::Disabled);
    loading_ = true;
    Edit1->setText(QString::number(slide));
    loading_ = false;
    ClearEditor();
    LoadMemo(slide);
    move(main_.MainTopLeft() + QPoint(111, 103));
    modified_ = false;
    Memo1->setFocus();
    exec();
    main_.messages().ShowStatus(13);
    main_.SetScreenCaptions(st.screenMode);
}

void TFormMemo::SpeedButton1Click() {
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 300);
    main_.messages().ShowStatus(6);
    const QString sel = Memo1->textCursor().selectedText().replace(QChar(0x2029), u'\n');
    if (!sel.isEmpty())
        QApplication::clipboard()->setText(sel);
    main_.sound().PlaySoundCue(QStringLiteral("click006"), 1000);
    main_.messages().ShowStatus(20);
}

void TFormMemo::SpeedButton2Click() {
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 300);
    main_.messages().ShowStatus(7);
    // Line breaks as the editor keeps them; characters outside code page 1252 make the
    // editor refuse the insertion.
    QString text = QApplication::clipboard()->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    Memo1->insertPlainText(text);
    main_.sound().PlaySoundCue(QStringLiteral("click006"), 1000);
    main_.messages().ShowStatus(20);
}

void TFormMemo::SpeedButton3Click() {
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 300);
    if (Edit1->text().isEmpty())
        return;
    if (!main_.messages().AskConfirmation(
            QStringLiteral("Möchten Sie das Memo\rwirklich komplett löschen ?")))
        return;
    const auto n = FieldNumber();
    if (!n) {
        main_.messages().ShowError(7);
        return;
    }
    main_.messages().ShowStatus(9);
    main_.sound().PlaySoundCue(QStringLiteral("loesch"), 0);
    ClearEditor();
    modified_ = false;
    std::error_code ec;
    std::filesystem::remove(main_.state().archive.resolve(MemoName(*n)), ec);
    main_.sound().Delay(1000);
    main_.messages().ShowStatus(20);
}

void TFormMemo::SpeedButton4Click() {
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 300);
    if (Edit1->text().isEmpty())
        return;
    if (FirstLineEmpty()) {
        main_.messages().ShowError(13);
        return;
    }
    SaveShownMemo();
}

void TFormMemo::Step(int delta) {
    main_.sound().PlaySoundCue(QStringLiteral("next"), 300);
    SaveQuestion();
    if (Edit1->text().isEmpty()) {
        loading_ = true;
        Edit1->setText(QStringLiteral("1"));
        loading_ = false;
    }
    bool ok = false;
    const int n = Edit1->text().toInt(&ok);
    const int total = main_.state().counters.totalRecords;
    if (!ok || (delta < 0 && n <= 1) || (delta > 0 && n >= total)) {
        main_.messages().ShowError(11);
        modified_ = false;
        return;
    }
    Edit1->setText(QString::number(n + delta)); // loads that memo
    modified_ = false;
}

void TFormMemo::SpeedButton5Click() {
    Step(-1);
}
void TFormMemo::SpeedButton6Click() {
    Step(+1);
}

void TFormMemo::SpeedButton7Click() {
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 300);
    main_.ShowHelp(206);
}

void TFormMemo::SpeedButton8Click() {
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 300);
    reject();
}

void TFormMemo::reject() {
    if (leaving_)
        return;
    leaving_ = true;
    SaveQuestion();
    leaving_ = false;
    QDialog::reject();
}

void TFormMemo::CopyToReport(bool startAnew) {
    auto& archive = main_.state().archive;
    main_.sound().PlaySoundCue(QStringLiteral("hotclik"), 300);
    // The stored file goes into the report, not unsaved changes in the editor.
    const auto n = FieldNumber();
    const auto bytes = n ? ReadWholeFile(archive.resolve(MemoName(*n))) : std::nullopt;
    if (!bytes) {
        main_.messages().ShowError(13);
        return;
    }
    main_.messages().ShowStatus(8);
    main_.sound().PlaySoundCue(QStringLiteral("click006"), 0);
    Problem p;
    if (startAnew)
        p = WriteMemoListHeader(archive, clock_);
    if (!p)
        p = AppendMemoBlock(archive, *n, SplitMemoLines(*bytes));
    if (p)
        main_.messages().Report(p);
    main_.sound().Delay(1000);
    main_.messages().ShowStatus(20);
}

void TFormMemo::SpeedButton9Click() {
    CopyToReport(false);
}
void TFormMemo::SpeedButton10Click() {
    CopyToReport(true);
}

} // namespace lumo
