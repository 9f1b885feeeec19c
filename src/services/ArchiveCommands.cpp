#include "services/ArchiveCommands.h"

#include "platform/Cp1252.h"
#include "platform/LastArchive.h"
#include "platform/Sound.h"
#include "services/logic/BackupCopy.h"
#include "services/logic/NewArchive.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"
#include "ui/ArchiveGuard.h"
#include "ui/MessageCatalog.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <unistd.h>

namespace lumo {

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::filesystem::path LocalPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

bool IsDatabaseName(const QString& name) {
    QString folded = name;
    for (QChar& c : folded)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + 32);
    return folded == QLatin1String("dias.ddb");
}

} // namespace

void ArchiveCommands::EndCommand() {
    ctx_.GiveBackMainScreen();
}

// ---------------------------------------------------------------- open another archive

void ArchiveCommands::OpenArchive() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    ctx_.screen.HideScrollBar();
    ctx_.screen.RestoreMainScreen();
    st.screenMode = mode::Main;
    msg.ShowStatus(21);
    ctx_.SetScreenCaptions(mode::Disabled);
    ctx_.screen.SetWindowCaptionSuffix(U(" - Archiv öffnen..."));
    // The usual spellings are listed; any case of the name typed in is accepted.
    const QString file = msg.GetOpenFileName(U("Datenbank auswählen"), ctx_.ArchivePathText(),
                                             U("Dia-Datenbank (dias.ddb) (*.ddb *.DDB)"));
    if (file.isEmpty()) {
        EndCommand();
        return;
    }
    const QFileInfo chosen(file);
    if (!IsDatabaseName(chosen.fileName())) {
        EndCommand();
        msg.ShowError(26);
        return;
    }
    if (!SwitchTo(LocalPath(chosen.absolutePath()))) {
        EndCommand();
        return;
    }
    msg.ShowNotice(U("Ihr Archiv wird nun analysiert um einige Daten\rzu ergänzen bzw. "
                     "überprüfen zu können.\rDies kann einige Zeit dauern..."));
    msg.ShowStatus(0);
    AnalyseWithProgress();
    ctx_.SaveSettings();
    if (st.archive.exists(st.settings.pictureName))
        ctx_.screen.LoadBackgroundPicture();
    else
        msg.ShowNotice(U("Im aktuellen Verzeichnis ist noch kein\rBild im BMP-Format "
                         "abgespeichert !\rDas Hintergrund-Bild wird nicht gewechselt."));
    ctx_.screen.SetStatusPanel(0, QString::number(st.counters.totalRecords));
    ctx_.screen.SetStatusPanel(1, QString::number(st.counters.activeSlides));
    ctx_.screen.SetStatusPanel(2, QStringLiteral("0"));
    ctx_.screen.RestoreMainScreen();
    EndCommand();
}

bool ArchiveCommands::SwitchTo(const std::filesystem::path& dir) {
    auto& st = ctx_.state;
    // The new archive is read before anything of the old one is given up: a database that
    // cannot be read leaves the old archive open.
    const Archive next(dir);
    // One program per archive: the new archive's lock is taken (or the user chose to work
    // on all the same) before anything is read; the old one is kept until then. The open
    // archive itself is already held.
    ArchiveLock nextLock;
    std::error_code same;
    const bool reopening =
        st.archiveLock.held() && std::filesystem::equivalent(dir, st.archive.dir(), same) && !same;
    if (!reopening && !ClaimArchive(nextLock, next, ctx_.messages))
        return false;
    Counters counters;
    if (CountRecords(next, counters)) {
        ctx_.messages.ShowError(31);
        return false;
    }
    // Launched programs resolve the report names in the working directory.
    if (::chdir(dir.c_str()) != 0) {
        ctx_.messages.ShowIoError(SystemErrorNumber(errno));
        return false;
    }
    Settings settings;
    LoadSettings(next, settings, counters);
    st.archive.setDir(dir);
    if (!reopening)
        st.archiveLock.swap(nextLock); // the old archive's lock ends with nextLock
    // The menu's start helper opens this archive next time (tests leave the user's
    // settings alone).
    if (!ctx_.messages.testMode())
        RememberArchive(dir);
    ForgetArchiveState();
    st.settings = settings;
    st.counters = counters;
    ctx_.screen.MoveToStoredPosition(); // where this archive's window was left
    return true;
}

void ArchiveCommands::ForgetArchiveState() {
    auto& st = ctx_.state;
    st.keywordCache.invalidate();
    st.levels = LevelLists();
    st.cursor.reset();
    st.keys.clearAll();
    st.keyStore.clearAll();
    st.currentSlide = 0;
    st.slide = CurrentSlideData();
    st.editExisting = false;
    st.infoHistory.clear();
    st.infoHistoryOpened = false;
    st.boxNumber = 0;
    st.magazineText = std::string(kDefaultMagazineText);
    st.themeText = std::string(kDefaultThemeText);
    st.searchText.clear();
    st.searchResultList.clear();
    st.foundCount = 0;
    st.firstShown = 0;
    st.lastPageRows = 0;
    st.page.clear();
    st.tipReady = false;
    st.tipText.clear();
    // The undo copies belong to the old archive's keyword lists.
    ctx_.screen.SetUndoEnabled(false);
}

void ArchiveCommands::AnalyseWithProgress() {
    auto& st = ctx_.state;
    ctx_.screen.SetBusyCursor(true);
    ctx_.screen.SetProgress(0, 100, 0);
    QElapsedTimer sinceDrawn;
    sinceDrawn.start();
    const int64_t total = st.counters.totalRecords;
    const Problem problem =
        AnalyseArchive(st.archive, kFreeSlotMarker, st.counters, [&](int32_t reached) {
            if (sinceDrawn.elapsed() < 40 || total <= 0)
                return;
            sinceDrawn.restart();
            ctx_.screen.SetProgressValue(static_cast<int>(reached * 100 / total));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    ctx_.screen.SetProgress(0, 100, 100);
    ctx_.screen.SetBusyCursor(false);
    ctx_.messages.Report(problem);
}

// ---------------------------------------------------------------- a new archive

std::filesystem::path ArchiveCommands::NewArchivePath(const QString& typed) const {
    QString path = typed.trimmed();
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = QDir::homePath() + path.mid(1);
    // A relative path is taken from the home directory, where the proposed one lies, never
    // from the open archive (the working directory).
    const std::filesystem::path local = LocalPath(path);
    return local.is_absolute() ? local : LocalPath(QDir::homePath()) / local;
}

void ArchiveCommands::CreateArchive() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    ctx_.TakeOverMainScreen();
    msg.ShowStatus(0);
    ctx_.screen.SetWindowCaptionSuffix(U(" - Neues Archiv erstellen..."));
    st.confirmAnswer = false;
    msg.SearchPrompt(6);
    if (!st.confirmAnswer) {
        EndCommand();
        return;
    }
    const std::filesystem::path dir = NewArchivePath(msg.PromptText());
    ctx_.SetScreenCaptions(mode::Disabled);
    if (MakeDirectory(dir) != 0) {
        std::error_code ec;
        if (!std::filesystem::is_directory(dir, ec)) {
            // Neither made nor there: say so instead of claiming it exists.
            st.searchText =
                ToCp1252Lossy(QFile::decodeName(QByteArray::fromStdString(dir.string())));
            msg.ShowError(73);
            EndCommand();
            return;
        }
        switch (CheckNewArchiveTarget(dir, st.archive.dir())) {
        case NewArchiveTarget::OpenArchive:
            msg.ShowNotice(U("Das angegebene Verzeichnis enthält das geöffnete Archiv.\rDort "
                             "kann kein neues Archiv erstellt werden."));
            EndCommand();
            return;
        case NewArchiveTarget::HoldsData:
            msg.ShowNotice(U("Im angegebenen Verzeichnis liegt bereits ein Archiv\rmit "
                             "Daten. Es wird nicht überschrieben.\rBitte wählen Sie ein "
                             "anderes Verzeichnis."));
            EndCommand();
            return;
        case NewArchiveTarget::Usable:
            break;
        }
        if (!msg.AskConfirmation(U("Das angegebene Verzeichnis existiert bereits.\rSoll "
                                   "trotzdem ein neues Archiv erstellt werden ?"))) {
            EndCommand();
            return;
        }
    }
    LayOutNewArchive(dir);
    EndCommand();
}

void ArchiveCommands::LayOutNewArchive(const std::filesystem::path& dir) {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.SetScreenCaptions(mode::Disabled);
    msg.ShowStatus(28);
    ctx_.screen.SetBusyCursor(true);
    ctx_.screen.SetProgress(0, 100, 0);
    ctx_.sound.Delay(2000);
    const Archive created(dir);
    for (const char* sub : {"bilder", "memo"})
        if (MakeDirectory(created.resolve(sub)) != 0)
            msg.ShowStatus(28);
    msg.ShowStatus(30);
    for (size_t group = 0; group < kNewArchiveFiles.size(); ++group) {
        for (std::string_view name : kNewArchiveFiles[group]) {
            if (CreateEmptyArchiveFile(dir, name) != 0) {
                st.searchText = std::string(name);
                msg.ShowError(73);
            }
        }
        ctx_.screen.SetProgressValue(kNewArchiveProgress[group]);
        ctx_.sound.Delay(500);
    }
    CopyArchiveTemplates(st.archive, dir);
    ctx_.screen.SetProgressValue(100);
    ctx_.sound.Delay(500);
    ctx_.screen.SetBusyCursor(false);
    msg.ShowNotice(U("Ein neues Archiv wurde erstellt.\rUm die leere Datenbank zu aktivieren "
                     "rufen\rSie die Option DATEI/Archiv öffnen... auf."));
}

} // namespace lumo
