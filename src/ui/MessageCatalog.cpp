#include "ui/MessageCatalog.h"

#include "platform/Cp1252.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "store/SlideTypes.h"
#include "ui/InputPrompt.h"
#include "ui/NoticeDialog.h"
#include "ui/QuestionDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

namespace lumo {

namespace {

const QColor kStatusBlue(0, 0, 255);
const QColor kStatusPurple(128, 0, 128);

QString Num(long long v) {
    return QString::number(v);
}

} // namespace

MessageCatalog::MessageCatalog(AppState& state, SoundCue& sound, HelpViewer& help)
    : state_(state), sound_(sound), help_(help) {}

MessageCatalog::~MessageCatalog() {
    // Dialogs without a parent are ours; parented ones may already be gone with it.
    delete questionDialog_.data();
    delete noticeDialog_.data();
    delete inputPrompt_.data();
}

QString MessageCatalog::StatusText(int n) const {
    switch (n) {
    case 0:
        return QStringLiteral("Im Archiv sind ") + Num(state_.counters.activeSlides) +
               QStringLiteral(" Dias in ") + Num(state_.counters.totalRecords) +
               QString::fromUtf8(" Datensätzen gespeichert");
    case 1:
        // Shown only by ShowWarningStatus (purple); ShowStatus(1) leaves the line empty.
        return {};
    case 3:
        return QString::fromUtf8("Freie Stichwörter ->") + Num(8 - state_.keys.count) +
               QStringLiteral("<-");
    case 4:
        return QStringLiteral("Dias werden im Archiv gesucht und am Bildschirm gelistet");
    case 6:
        return QStringLiteral("Markierten Memo-Text in das Clipboard kopiert");
    case 7:
        return QString::fromUtf8("Text vom Clipboard in das Memo eingefügt");
    case 8:
        return QString::fromUtf8("Memo auf Datenträger gesichert");
    case 9:
        return QString::fromUtf8("Memo im Speicher und auf Datenträger gelöscht");
    case 10:
        return QString::fromUtf8("Bitte Schlüssellisten mit der rechten Maustaste justieren und "
                                 "Ebene über Taste anwählen");
    case 11:
        return QStringLiteral("Bitte geben Sie eine Dianummer im Bereich von 1 bis ") +
               Num(state_.counters.totalRecords) + QStringLiteral(" ein");
    case 13:
        return QString::fromUtf8("Bitte wählen Sie eine neue Funktion aus");
    case 15:
        return QString::fromUtf8("Der geänderte Kopfdaten-Feldname wurde in die Liste kopiert.");
    case 16:
        return QString::fromUtf8("Bitte warten - Datendatei wird für Ausdruck erstellt...");
    case 17:
    case 18:
    case 19:
        return QString::fromUtf8(
                   "Bitte geben Sie nun den neuen Schlüssel für die Stichwortebene <") +
               Num(n - 16) + QStringLiteral("> ein");
    case 20:
        return QString::fromUtf8("Bitte bestätigen Sie den Dialog-Requester");
    case 21:
        return QString::fromUtf8("Bitte wählen Sie eine Dia-Datenbank aus");
    case 22:
        return QString::fromUtf8("Der geänderte Feldname-Listeneintrag wurde in die Liste kopiert");
    case 28:
        return QString::fromUtf8("Bitte warten - Dateien werden überprüft und bearbeitet...");
    case 30:
        return QStringLiteral("Bitte warten - Dateien werden gesichert...");
    case 31:
        return QStringLiteral("Ihre Einstellungen wurden angemeldet und in der Datei DIA.INI "
                              "abgespeichert");
    case 35:
        return QString::fromUtf8("Selektierte Schlüssel wurde(n) in die KEY ABLAGE kopiert !");
    case 36:
        return QString::fromUtf8("Gespeicherte Schlüssel wurde(n) aus der KEY ABLAGE übernommen !");
    default:
        return {};
    }
}

QString MessageCatalog::ErrorText(int n) const {
    const QString search = FromCp1252(state_.searchText);
    switch (n) {
    case 1:
        return QString::fromUtf8("Kein Schlüssel für eine Suche selektiert !");
    case 2:
        return QStringLiteral(
            "Suchanfrage leider erfolglos.\rDie eingegebene Kastennummer gibt es noch nicht !");
    case 3:
        return QStringLiteral("Es wurde kein Dia gefunden.\r>>> ") + search +
               QStringLiteral(" <<<") + QStringLiteral("\r") +
               QStringLiteral("war in keinem Text enthalten.");
    case 4:
        return QStringLiteral("Leer-String(s) als Eingabe nicht akzeptabel !");
    case 5:
        return QString::fromUtf8("Kastennummer nur im Bereich 1-255 möglich !");
    case 6:
        return QString::fromUtf8("Magazingroesse nur im Bereich 0-99 möglich !");
    case 7:
        return QStringLiteral("Ein Dia mit dieser Nummer ist nicht gespeichert !");
    case 8:
        return QString::fromUtf8("Es können maximal 8 Schlüssel\rfür ein Dia selektiert werden !");
    case 9:
        return QString::fromUtf8("Leider wurde im Archiv kein Dia gefunden das Ihren Vorgaben an "
                                 "Schlüsseln komplett entsprach !");
    case 10:
        return QString::fromUtf8("Es sind noch keine Schlüssel selektiert worden !");
    case 11:
        return QStringLiteral("Datenbank Anfang bzw. Ende ist erreicht !");
    case 12:
        return QString::fromUtf8("Dieser Schlüssel wurde bereits verwendet !");
    case 13:
        return QStringLiteral("Ein leeres Memo-Feld wird nicht abgespeichert !");
    case 14:
        return QString::fromUtf8("Kastengroesse nur im Bereich 1-24 möglich !");
    case 15:
        return QStringLiteral("Eingabebereich nicht korrekt !\r( max. 1 - ") +
               Num(state_.counters.totalRecords) + QStringLiteral(" )");
    case 16:
        return QString::fromUtf8("Die Schlüsselliste der gewählten Stichwortebene belegt bereits "
                                 "die max. Anzahl von 17 Schlüsseln !");
    case 17:
        return QString::fromUtf8(
            "Der erste Buchstabe eines Schlüssel muß im\rBereich [A]-[Z] liegen !");
    case 18:
        return QString::fromUtf8("Ein Schlüssel mit diesem Namen existiert bereits !");
    case 19:
        return QString::fromUtf8("Zuviele Schlüssel mit gleichem Anfangsbuchstaben !");
    case 20:
        return QString::fromUtf8("Hirachie-Fehler !\rReferenz-Schlüssel auf\rEbene <1> fehlt !");
    case 21:
        return QString::fromUtf8("Hirachie-Fehler !\rReferenz-Schlüssel auf\rEbene <2> fehlt !");
    case 23:
        return QString::fromUtf8("Leider sind noch keine Schlüssel\rin der KEY ABLAGE deponiert !");
    case 26:
        return QStringLiteral("Name der Datenbank bzw. Verzeichnis nicht korrekt !");
    case 29:
        return QStringLiteral("In das Editfeld sollten Sie nur Zahlen eingeben !");
    case 31:
        return QString::fromUtf8("Archiv DIAS.DDB konnte nicht geöffnet werden !");
    case 34:
        return QStringLiteral("Es wurde kein Dia gefunden das\rdie gewählten Kopfdaten enthielt !");
    case 35:
        return QStringLiteral("Dianummer bzw. Satznummer fehlt !");
    case 53:
        return QStringLiteral("Im Archiv sind noch keine Dias gespeichert !");
    case 54:
        return QString::fromUtf8("Es muß mindestens 1 Schlüssel pro Ebene gespeichert sein !");
    case 71:
        return QStringLiteral("Datei ") + search + QStringLiteral("\r") +
               QString::fromUtf8("konnte nicht geöffnet werden !");
    case 72:
        return QString::fromUtf8("Globalen Speicher für\rDatei ") + search + QStringLiteral("\r") +
               QStringLiteral("nicht bekommen !");
    case 73:
        return QStringLiteral("Datei ") + search + QStringLiteral("\r") +
               QStringLiteral("konnte nicht erstellt werden !");
    case 80:
        return QString::fromUtf8("Keyword Datei\rFehler Datei löschen!");
    case 81:
        return QStringLiteral("Keyword Datei\rFehler Datei umbenennen !");
    default:
        return {};
    }
}

// --- dialogs -------------------------------------------------------------------------

QWidget* MessageCatalog::dialogParent() const {
    return screen_ ? screen_->MainWidget() : nullptr;
}

QuestionDialog* MessageCatalog::questionDialog() {
    if (!questionDialog_)
        questionDialog_ = new QuestionDialog(*this, dialogParent());
    return questionDialog_;
}

NoticeDialog* MessageCatalog::noticeDialog() {
    if (!noticeDialog_)
        noticeDialog_ = new NoticeDialog(*this, dialogParent());
    return noticeDialog_;
}

InputPrompt* MessageCatalog::inputPrompt() {
    if (!inputPrompt_)
        inputPrompt_ = new InputPrompt(*this, dialogParent());
    return inputPrompt_;
}

void MessageCatalog::beginDialog(int& remembered) {
    remembered = state_.currentStatus;
    ShowStatus(20);
    if (screen_)
        screen_->SetScreenCaptions(mode::Disabled);
}

void MessageCatalog::endDialog(int remembered) {
    sound_.Delay(50);
    ShowStatus(remembered);
    if (screen_)
        screen_->SetScreenCaptions(state_.screenMode);
}

void MessageCatalog::record(ShownDialog::Kind kind, int number, const QString& title,
                            const QString& text) {
    shown_.push_back(ShownDialog{kind, number, title, text});
}

void MessageCatalog::markUnanswered() {
    if (!shown_.empty())
        shown_.back().unanswered = true;
}

std::optional<DialogAnswer>
MessageCatalog::takeAnswer(std::initializer_list<DialogAnswer::Kind> kinds) {
    if (answers_.empty())
        return std::nullopt;
    for (auto k : kinds) {
        if (answers_.front().kind == k) {
            DialogAnswer a = std::move(answers_.front());
            answers_.pop_front();
            return a;
        }
    }
    return std::nullopt;
}

void MessageCatalog::showHelp(int context) {
    if (context == 0)
        context = modeHelpTopic_ ? modeHelpTopic_(state_.screenMode) : 0;
    help_.ShowHelp(QString::fromStdString(state_.archive.resolve("DIA.HLP").string()),
                   context != 0 ? context : 1);
}

static QPoint Offset(Screen* screen, int dx, int dy) {
    const QPoint base = screen ? screen->MainTopLeft() : QPoint(0, 0);
    return base + QPoint(dx, dy);
}

void MessageCatalog::ShowStatus(int n) {
    state_.currentStatus = n;
    if (screen_)
        screen_->SetStatusLine(StatusText(n), kStatusBlue);
}

void MessageCatalog::ShowWarningStatus() {
    state_.currentStatus = 1;
    if (screen_)
        screen_->SetStatusLine(QStringLiteral("Im Eingabefeld wurde kein Text eingegeben !"),
                               kStatusPurple);
}

void MessageCatalog::ShowError(int n) {
    const QString text = ErrorText(n);
    if (text.isEmpty())
        return;
    sound_.PlaySoundCue(QStringLiteral("error"), 0);
    int remembered = 0;
    beginDialog(remembered);
    QuestionDialog* dlg = questionDialog();
    const QString title = QStringLiteral("System Fehler Nr.") + QString::number(n);
    dlg->Fill(title, text, false, 250);
    dlg->move(Offset(screen_, 74, 161));
    if (testMode_) {
        record(ShownDialog::Error, n, title, text);
        takeAnswer({DialogAnswer::Ok});
        dlg->onAccept();
    } else {
        dlg->exec();
    }
    endDialog(remembered);
}

bool MessageCatalog::AskConfirmation(const QString& text, DefaultAnswer byDefault) {
    return AskConfirmationOrEscape(text, byDefault).value_or(false);
}

std::optional<bool> MessageCatalog::AskConfirmationOrEscape(const QString& text,
                                                            DefaultAnswer byDefault) {
    int remembered = 0;
    beginDialog(remembered);
    QuestionDialog* dlg = questionDialog();
    const QString title = QString::fromUtf8("Bitte bestätigen Sie die Anweisung");
    sound_.PlaySoundCue(QStringLiteral("bell"), 0);
    dlg->Fill(title, text, true, 250);
    if (byDefault == DefaultAnswer::No)
        dlg->MakeDeclineDefault();
    dlg->move(Offset(screen_, 74, 161));
    bool escaped = false;
    if (testMode_) {
        record(ShownDialog::Confirm, 0, title, text);
        const auto a = takeAnswer(
            {DialogAnswer::Yes, DialogAnswer::Ok, DialogAnswer::No, DialogAnswer::Cancel});
        if (a && (a->kind == DialogAnswer::Yes || a->kind == DialogAnswer::Ok)) {
            dlg->onAccept();
        } else {
            if (!a)
                markUnanswered();
            escaped = a && a->kind == DialogAnswer::Cancel;
            dlg->onDecline();
        }
    } else {
        dlg->exec();
        escaped = dlg->escaped();
    }
    endDialog(remembered);
    if (escaped)
        return std::nullopt;
    return state_.confirmAnswer;
}

void MessageCatalog::ShowNotice(const QString& text) {
    int remembered = 0;
    beginDialog(remembered);
    NoticeDialog* dlg = noticeDialog();
    const QString title = QStringLiteral("Lumoretta 3.0 - Systemanalyse");
    sound_.PlaySoundCue(QStringLiteral("harfe"), 0);
    dlg->Fill(title, QString(), 270);
    dlg->Fill(title, text, 270);
    dlg->move(Offset(screen_, 78, 140));
    if (testMode_) {
        record(ShownDialog::Notice, 0, title, text);
        takeAnswer({DialogAnswer::Ok});
        dlg->onThanks();
    } else {
        dlg->exec();
    }
    endDialog(remembered);
}

void MessageCatalog::SearchPrompt(int kind) {
    int remembered = 0;
    beginDialog(remembered);
    sound_.PlaySoundCue(QStringLiteral("bell"), 0);
    InputPrompt* dlg = inputPrompt();
    dlg->SetPrompt(QString(), 270);
    dlg->move(Offset(screen_, 54, 149));

    const QString caseCaption = QString::fromUtf8("&Groß- / Kleinschreibung unterscheiden");
    auto setUp = [&](const QString& preset, int maxLength, const QString& checkCaption,
                     bool checkVisible, const QString& prompt) {
        dlg->kindLabel->setText(QString::number(kind));
        dlg->input->setMaxLength(maxLength);
        dlg->input->setText(preset);
        dlg->optionBox->setText(checkCaption);
        dlg->optionBox->setVisible(checkVisible);
        dlg->SetPrompt(prompt, 270);
    };
    switch (kind) {
    case 1:
        setUp(FromCp1252(kFreeSlotMarker), 32, caseCaption, true,
              QString::fromUtf8(
                  "Bitte geben Sie nun den gewünschten Informationstext für die Suche ein."));
        break;
    case 2:
        setUp(QString(), 3, QStringLiteral("&Archiv komplett durchsuchen"), false,
              QString::fromUtf8("Bitte geben Sie nun die gewünschte Kastennummer für die Suche "
                                "ein."));
        break;
    case 3:
        setUp(QString(), 32, caseCaption, true,
              QString::fromUtf8("Bitte geben Sie nun den gewünschten Memotext für die Suche ein."));
        break;
    case 4:
        setUp(QString(), 5, QString(), false,
              QString::fromUtf8("Bitte geben Sie nun die gewünschte Dianummer ein."));
        break;
    case 5:
        setUp(QString(), 18, QString(), false,
              QString::fromUtf8("Bitte geben Sie den neuen Schlüssel für die Stichwortebene ") +
                  FromCp1252(state_.searchText) + QStringLiteral(" ein."));
        break;
    case 6:
        // A new archive lies in the user's home unless another directory is typed.
        setUp(QDir::homePath() + QStringLiteral("/dia1"), 255, QString(), false,
              QString::fromUtf8("Bitte geben Sie nun den gewünschten Pfad für das neue Archiv "
                                "ein."));
        break;
    default:
        break; // any other kind shows the dialog as it is
    }
    // The case option is a program-wide setting that carries over between prompts.
    dlg->optionBox->setChecked(state_.caseSensitive);

    if (testMode_)
        record(ShownDialog::Prompt, kind, dlg->windowTitle(), dlg->promptText());
    const size_t promptRecord = shown_.size();
    dlg->RunModal();
    if (testMode_ && dlg->lastRunUnanswered() && promptRecord > 0)
        shown_[promptRecord - 1].unanswered = true;
    state_.caseSensitive = dlg->optionBox->isChecked();
    endDialog(remembered);
}

QString MessageCatalog::PromptText() const {
    return inputPrompt_ ? inputPrompt_->input->text() : QString();
}

bool MessageCatalog::PromptChecked() const {
    return inputPrompt_ && inputPrompt_->optionBox->isChecked();
}

void MessageCatalog::SetPromptText(const QString& t) {
    inputPrompt()->input->setText(t);
}

// --- error boxes ---------------------------------------------------------------------

void MessageCatalog::ShowErrorBox(const QString& text) {
    sound_.PlaySoundCue(QStringLiteral("error"), 0);
    const QString title = QStringLiteral("Fehler");
    if (testMode_) {
        record(ShownDialog::ErrorBox, 0, title, text);
        takeAnswer({DialogAnswer::Ok});
        return;
    }
    QMessageBox box(QMessageBox::Critical, title, ScreenText(text), QMessageBox::Ok,
                    dialogParent());
    box.exec();
}

void MessageCatalog::ShowIoError(int sysError) {
    const QString title = QStringLiteral("Fehler");
    const QString text = QStringLiteral("I/O-Fehler ") + QString::number(sysError);
    if (testMode_) {
        record(ShownDialog::IoError, sysError, title, text);
        takeAnswer({DialogAnswer::Ok});
        return;
    }
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, dialogParent());
    box.exec();
}

void MessageCatalog::Report(const Problem& p) {
    switch (p.kind) {
    case ProblemKind::None:
        return;
    case ProblemKind::SlidesOpenFailed:
        ShowErrorBox(QStringLiteral("Lumoretta kann seine Daten nicht lokalisieren !"));
        return;
    case ProblemKind::ArchiveOpenFailed:
        ShowErrorBox(QString::fromUtf8(
            "System-Fehler 001\r\rArchiv DIAS.DDB konnte nicht geöffnet werden !"));
        return;
    case ProblemKind::KeywordOpenFailed:
        ShowErrorBox(QStringLiteral("System-Fehler 002\r\rDatei KEYWORD") +
                     QString::number(p.level) +
                     QString::fromUtf8(" konnte nicht geöffnet werden !"));
        return;
    case ProblemKind::KeywordNoMemory:
        ShowErrorBox(QString::fromUtf8("System-Fehler 003\r\rGlobalen Speicher für KEYWORD") +
                     QString::number(p.level) + QStringLiteral(" nicht bekommen !"));
        return;
    case ProblemKind::Error31:
        ShowError(31);
        return;
    case ProblemKind::Io:
        ShowIoError(p.sysError);
        return;
    }
}

std::optional<QString> MessageCatalog::takeFileName(const QString& title) {
    if (!testMode_)
        return std::nullopt;
    QString answer;
    const bool answered = !fileNames_.empty();
    if (answered) {
        answer = fileNames_.front();
        fileNames_.pop_front();
    }
    record(ShownDialog::FileDialog, 0, title, answer);
    if (!answered)
        markUnanswered();
    return answer;
}

QString MessageCatalog::GetOpenFileName(const QString& title, const QString& dir,
                                        const QString& filter, const QString& proposed) {
    if (auto answer = takeFileName(title))
        return *answer;
    QFileDialog dlg(dialogParent(), title, dir, filter);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    if (!proposed.isEmpty())
        dlg.selectFile(proposed);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}

QString MessageCatalog::GetExistingDirectory(const QString& title, const QString& dir) {
    if (auto answer = takeFileName(title))
        return *answer;
    return QFileDialog::getExistingDirectory(dialogParent(), title, dir);
}

QString MessageCatalog::GetSaveFileName(const QString& title, const QString& dir,
                                        const QString& filter, const QString& proposed) {
    if (auto answer = takeFileName(title))
        return *answer;
    QFileDialog dlg(dialogParent(), title, dir, filter);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    if (!proposed.isEmpty())
        dlg.selectFile(proposed);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}

} // namespace lumo
