#include "editing/SlideEntryCommands.h"

#include "editing/SelectedKeysDialog.h"
#include "editing/SlideDataViewer.h"
#include "editing/SlideEntryDialog.h"
#include "editing/logic/KeywordInsertion.h"
#include "editing/logic/SlideEntryLogic.h"
#include "platform/Cp1252.h"
#include "platform/Sound.h"
#include "store/FileUtil.h"
#include "store/Keywords.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"
#include "ui/FeatureContext.h"
#include "ui/InputPrompt.h"
#include "ui/MessageCatalog.h"
#include "ui/Screen.h"

#include <QColor>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace lumo {

namespace {
const QString kNoKeywordsNotice =
    QStringLiteral("Es sind noch keine Schlüssel im Archiv !\rangelegt bzw. erfasst worden !");

bool KeywordFileEmpty(const Archive& archive, int level) {
    return archive.fileSize(KeywordFileName(level)) <= 0;
}
} // namespace

SlideEntryCommands::SlideEntryCommands(const FeatureContext& ctx) : ctx_(ctx) {
    slideEntryDialog_ = new SlideEntryDialog(ctx);
    slideDataViewer_ = new SlideDataViewer(ctx);
    selectedKeysDialog_ = new SelectedKeysDialog(ctx);
    ctx.messages.setKeywordInsertion([this](const QString& name) { InsertKeyword(name); });
}

SlideEntryCommands::~SlideEntryCommands() {
    ctx_.messages.setKeywordInsertion({});
}

void SlideEntryCommands::ClearResultList() {
    auto& st = ctx_.state;
    st.searchResultList.clear();
    ctx_.screen.HideScrollBar();
}

void SlideEntryCommands::StartNewSlide() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    st.editExisting = false;
    ctx_.sound.PlayClick();
    st.paintLock = true;
    if (KeywordFileEmpty(st.archive, 1)) {
        msg.ShowNotice(kNoKeywordsNotice);
        st.levels.levels[0].currentCode = "--";
        st.paintLock = false; // painting must not stay blocked after the refusal
        return;
    }
    if (SlideEntryDialog::RefuseNewSlide(ctx_)) {
        st.paintLock = false;
        return;
    }
    ClearResultList();
    st.cursor.reset();
    st.keys.clearAll();
    st.screenMode = mode::SlideEntry;
    st.currentSlide = st.counters.totalRecords + 1;
    ctx_.screen.SetStatusPanel(0, QString::number(st.currentSlide));
    ctx_.screen.SetScreenCaptions(mode::SlideEntry);
    msg.ShowStatus(3);
    ctx_.screen.ClearLevelCursors();
    ctx_.screen.SetProgress(0, 100, 100);
    ctx_.screen.ClearListArea(Qt::black, 0, 30, 640, 354);
    st.paintLock = false;
    ctx_.screen.RepaintNow();
}

void SlideEntryCommands::StartNewSlideAt(int box, const std::string& code) {
    StartNewSlide();
    if (ctx_.state.screenMode == mode::SlideEntry && !ctx_.state.editExisting)
        slideEntryDialog_->SetPlacement(ctx_.state.currentSlide, box, code);
}

void SlideEntryCommands::StartEditSlide() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    if (st.counters.totalRecords == 0) {
        msg.ShowError(53);
        return;
    }
    ClearResultList();
    st.cursor.reset();
    st.keys.clearAll();
    if (st.screenMode != mode::SlideEntry) {
        ctx_.screen.RestoreMainScreen();
        st.screenMode = mode::Main;
        msg.ShowStatus(11);
        ctx_.screen.SetScreenCaptions(mode::Main);
        ctx_.screen.SetScreenCaptions(mode::Disabled);
    }
    st.searchConfirmed = false;
    msg.SearchPrompt(4);
    if (!st.searchConfirmed) {
        ctx_.screen.RestoreMainScreen();
        st.screenMode = mode::Main;
        msg.ShowStatus(0);
        ctx_.screen.SetScreenCaptions(mode::Main);
        return;
    }

    KeySelection resolved;
    if (const Problem p =
            ReadSlide(st.archive, st.currentSlide, st.slide, resolved, &st.keywordCache))
        msg.Report(p);
    // The slide's keys move to the front so that a key picked later is appended after
    // them instead of overwriting one of them; a code that did not resolve stays a key.
    st.keys = SelectionFromSlide(st.slide, resolved);
    st.editExisting = true;
    st.slide.infoText = TrimInfoString(st.slide.infoText);

    st.screenMode = mode::SlideEntry;
    ctx_.screen.SetStatusPanel(0, QString::number(st.currentSlide));
    ctx_.screen.SetScreenCaptions(mode::SlideEntry);
    msg.ShowStatus(3);
    ctx_.screen.ClearListArea(Qt::black, 0, 30, 640, 354);
    ctx_.screen.ClearLevelCursors();
    ctx_.screen.SetProgress(0, 100, 100);
    ctx_.screen.RepaintNow();
}

void SlideEntryCommands::StartNewKeyword() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    st.paintLock = true;
    if (KeywordFileEmpty(st.archive, 1)) {
        msg.ShowNotice(kNoKeywordsNotice);
        st.levels = LevelLists();
        ctx_.screen.ClearLevelCursors();
        st.cursor.reset();
        st.keys.count = 0;
    }
    ClearResultList();
    st.editExisting = false;
    st.cursor.reset();
    st.screenMode = mode::NewKeyword;
    st.keys.clearAll(kEmptyKeyCode);
    st.slide.storedKeys.fill(std::string(kEmptyKeyCode));
    ctx_.screen.SetScreenCaptions(mode::NewKeyword);
    msg.ShowStatus(10);
    ctx_.screen.ClearLevelCursors();
    ctx_.screen.ClearListArea(Qt::black, 0, 30, 640, 354);
    st.paintLock = false;
    ctx_.screen.RepaintNow();
}

void SlideEntryCommands::SaveSlide() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    if (st.keys.count == 0) {
        msg.ShowError(10);
        return;
    }
    if (SlideEntryDialog::RefuseNewSlide(ctx_))
        return;
    slideEntryDialog_->Prepare();
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    msg.ShowStatus(20);
    const QPoint tl = ctx_.screen.MainTopLeft();
    slideEntryDialog_->move(tl.x() + 89, tl.y() + 70);
    slideEntryDialog_->exec();
    ctx_.screen.SetScreenCaptions(st.screenMode);
    msg.ShowStatus(3);

    if (st.editExisting) {
        ctx_.screen.RestoreMainScreen();
        st.screenMode = mode::Main;
        msg.ShowStatus(0);
        ctx_.screen.SetScreenCaptions(mode::Main);
        return;
    }
    if (msg.AskConfirmation(QStringLiteral(
            "Sollen die bereits erfassten Schlüssel alle wieder gelöscht werden ?"))) {
        ctx_.sound.PlaySoundCue(QStringLiteral("loesch"), 0);
        st.keys.clearAll();
        msg.ShowStatus(3);
        ctx_.screen.RepaintNow();
    }
}

void SlideEntryCommands::KeyEditor() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    if (st.keys.count == 0) {
        msg.ShowError(10);
        return;
    }
    selectedKeysDialog_->Prepare();
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    msg.ShowStatus(20);
    const QPoint tl = ctx_.screen.MainTopLeft();
    selectedKeysDialog_->move(tl.x() + 149, tl.y() + 60);
    selectedKeysDialog_->exec();
    ctx_.screen.SetScreenCaptions(st.screenMode);
    msg.ShowStatus(3);
    ctx_.screen.RepaintNow();
}

void SlideEntryCommands::ExchangeKeyStore() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    if (st.keys.count != 0) {
        st.keyStore.clearAll();
        for (int i = 0; i < st.keys.count && i < 8; ++i)
            st.keyStore.entries[static_cast<size_t>(i)] = st.keys.entries[static_cast<size_t>(i)];
        st.keyStore.count = st.keys.count;
        msg.ShowStatus(35);
    } else if (st.keyStore.count != 0) {
        for (int i = 0; i < st.keyStore.count && i < 8; ++i)
            st.keys.entries[static_cast<size_t>(i)] = st.keyStore.entries[static_cast<size_t>(i)];
        st.keys.count = st.keyStore.count;
        msg.ShowStatus(36);
    } else {
        msg.ShowError(23);
        return;
    }
    ctx_.sound.PlaySoundCue(QStringLiteral("harfe"), 3000);
    msg.ShowStatus(3);
    ctx_.screen.RepaintNow();
}

void SlideEntryCommands::RefreshLevelLists() {
    auto& st = ctx_.state;
    // The same loads the painting of the key modes does, so the counts and reference
    // codes are those of the lists on screen.
    for (int level = 1; level <= 3; ++level)
        LoadLevelList(st.archive, st.levels, level,
                      st.cursor.selectedRow[static_cast<size_t>(level - 1)]);
}

void SlideEntryCommands::LevelButton(int level) {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    if (level < 1 || level > 3)
        return;
    st.lastSoftButton = level;
    RefreshLevelLists();
    if (st.levels.levels[static_cast<size_t>(level - 1)].count >= 17) {
        msg.ShowError(16);
        return;
    }
    if (level == 2 && st.levels.levels[0].currentCode == "--") {
        msg.ShowError(20);
        return;
    }
    if (level == 3 && st.levels.levels[1].currentCode == "----") {
        msg.ShowError(21);
        return;
    }
    msg.ShowStatus(16 + level);
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    st.searchConfirmed = false;
    st.searchText = "<" + std::to_string(level) + ">";
    msg.SearchPrompt(5);
    // Whatever the insertion did, the screen shows the lists and cursors the next
    // insertion starts from (an insertion sets cursors back to row 1; the first keyword
    // of a level gives that level its list).
    ctx_.screen.ClearListArea(Qt::black, 0, 30, 640, 354);
    ctx_.screen.SetScreenCaptions(st.screenMode);
    msg.ShowStatus(10);
}

QString SlideEntryCommands::InsertionQuestion(const QString& name, int level) {
    return QStringLiteral("Soll der neue Schlüssel\r\"") + name +
           QStringLiteral("\"\rin die Stichwortebene <") + QString::number(level) +
           QStringLiteral("> \reinsortiert werden ?");
}

void SlideEntryCommands::HidePrompt() {
    if (InputPrompt* prompt = ctx_.messages.inputPrompt())
        prompt->hide();
}

void SlideEntryCommands::InsertKeyword(const QString& name) {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    const int level = st.lastSoftButton >= 1 && st.lastSoftButton <= 3 ? st.lastSoftButton : 1;
    const auto bytes = ToCp1252(name);
    if (!bytes || bytes->empty())
        return; // the prompt lets only A..Z initials through
    const std::string fileName = KeywordFileName(level);
    std::string reference;
    if (level == 2)
        reference = st.levels.levels[0].currentCode.substr(0, 2);
    else if (level == 3)
        reference = st.levels.levels[1].currentCode.substr(0, 4);

    const auto path = st.archive.resolve(fileName);
    const auto data = ReadWholeFile(path);
    const auto plan = PlanKeywordInsertion(
        data ? std::optional<std::string_view>(*data) : std::nullopt, level, *bytes, reference);

    // Refusals and the question come without the input line behind them.
    if (plan.outcome != KeywordInsertion::Outcome::DirectWrite)
        HidePrompt();
    switch (plan.outcome) {
    case KeywordInsertion::Outcome::OpenFailed:
        st.searchText = fileName;
        msg.ShowError(71);
        return;
    case KeywordInsertion::Outcome::Duplicate:
        msg.ShowError(18);
        return;
    case KeywordInsertion::Outcome::TooMany:
        msg.ShowError(19);
        return;
    case KeywordInsertion::Outcome::DirectWrite:
        // The first keyword of a level: no question, no undo copies.
        if (WriteFileAtomically(path, plan.newFile) != 0) {
            st.searchText = fileName;
            msg.ShowError(73);
        }
        st.keywordCache.invalidate();
        return;
    case KeywordInsertion::Outcome::Inserted:
        break;
    }

    msg.ShowStatus(20);
    if (!msg.AskConfirmation(InsertionQuestion(name, level))) {
        msg.ShowStatus(16 + level);
        return;
    }

    ctx_.screen.SetBusyCursor(true);
    const int savedMode = st.screenMode;
    st.screenMode = mode::Busy;

    // Undo copies: the .old files take the state before this insertion, each replaced in
    // one rename (the old copy stays whole until the new one is complete). The level's own
    // file is copied, never moved away, so it exists at every moment; the new content
    // replaces it in one rename.
    bool unreadable = false;
    if (RefreshUndoCopy(st.archive, level, &unreadable) != 0) {
        std::error_code ec;
        if (!unreadable &&
            std::filesystem::symlink_status(st.archive.resolve(KeywordOldFileName(level)), ec)
                    .type() != std::filesystem::file_type::not_found)
            msg.ShowError(80); // the old copy could not be replaced
        msg.ShowError(81);
    }
    for (int other = 1; other <= 3; ++other) {
        if (other != level)
            RefreshUndoCopy(st.archive, other);
    }
    const int err = WriteFileAtomically(path, plan.newFile);
    st.keywordCache.invalidate();
    if (err != 0) {
        // Nothing changed in the level; the undo copies now equal the lists.
        st.searchText = fileName;
        msg.ShowError(73);
        ctx_.screen.SetUndoEnabled(false);
        ctx_.screen.SetBusyCursor(false);
        st.screenMode = savedMode;
        return;
    }

    for (int l = level; l <= 3; ++l)
        st.cursor.selectedRow[static_cast<size_t>(l - 1)] = 1;
    ctx_.screen.SetBusyCursor(false);
    ctx_.screen.SetUndoEnabled(true);
    st.screenMode = savedMode;
}

void SlideEntryCommands::UndoKeywordLists() {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    const int remembered = st.currentStatus;
    msg.ShowStatus(20);
    if (!msg.AskConfirmation(QStringLiteral(
            "Möchten Sie die letzte Änderung\rihrer Schlüssellisten revidierden ?"))) {
        ctx_.screen.SetScreenCaptions(st.screenMode);
        msg.ShowStatus(remembered);
        return;
    }
    ctx_.sound.PlaySoundCue(QStringLiteral("loesch"), 0);
    ctx_.screen.SetBusyCursor(true);
    const int savedMode = st.screenMode;
    st.screenMode = mode::Busy;
    const int err = RestoreFromUndoCopies(st.archive);
    st.keywordCache.invalidate();
    if (err != 0) {
        msg.ShowError(80);
        st.screenMode = savedMode;
        ctx_.screen.SetScreenCaptions(st.screenMode);
        msg.ShowStatus(remembered);
        ctx_.screen.SetBusyCursor(false);
        return;
    }
    ctx_.screen.SetUndoEnabled(false);
    st.screenMode = savedMode;
    // Only the key modes show the lists; the start picture and a result page stay.
    if (mode::IsKeyMode(st.screenMode))
        ctx_.screen.ClearListArea(Qt::black, 0, 30, 640, 354);
    ctx_.screen.RepaintNow();
    ctx_.screen.SetScreenCaptions(st.screenMode);
    msg.ShowStatus(remembered);
    ctx_.screen.SetBusyCursor(false);
}

void SlideEntryCommands::ShowSlideData(int32_t slide) {
    auto& st = ctx_.state;
    auto& msg = ctx_.messages;
    ctx_.sound.PlayClick();
    msg.ShowStatus(20);
    ctx_.screen.SetScreenCaptions(mode::Disabled);
    slideDataViewer_->Fill(slide);
    ReadBoxLabel(st.archive, st.boxNumber, st.magazineText, st.themeText);
    const QPoint tl = ctx_.screen.MainTopLeft();
    slideDataViewer_->move(tl.x() + 100, tl.y() + 109);
    slideDataViewer_->exec();
    ctx_.screen.SetScreenCaptions(st.screenMode);
    msg.ShowStatus(13);
}

} // namespace lumo
