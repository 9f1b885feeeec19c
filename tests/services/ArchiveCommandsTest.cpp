// Opening another archive and laying out a new one, through the main window's menu.
#include "ServicesFixture.h"

#include "services/logic/NewArchive.h"
#include "store/ArchiveLock.h"
#include "store/SlideTypes.h"
#include "ui/ArchiveGuard.h"

using namespace lumo;
using namespace lumo::test;

TEST_F(ServicesTest, OpeningAnotherArchiveLeavesNothingOfTheOldOne) {
    startWith(3);
    TempArchive other; // upper-case database name, no DIA.INI, no picture
    other.write("DIAS.DDB", RecordBytes({"A1"}, "A01 Eins", 1) +
                                RecordBytes({"00"}, std::string(kFreeSlotMarker), 0));
    AppState& st = state();
    st.keys.count = 2;
    st.keyStore.count = 1;
    st.infoHistory = {"Urlaub"};
    st.searchResultList = {"old result"};
    st.foundCount = 1;
    st.page.rows[0].text = "A01 Dia 1";
    main().SetUndoEnabled(true);

    messages().queueFileName(Text(other.path("DIAS.DDB")));
    triggerMenu("Archiv &öffnen...");
    EXPECT_EQ(st.archive.dir(), other.dir());
    EXPECT_EQ(std::filesystem::current_path(), other.dir());
    EXPECT_EQ(st.counters.totalRecords, 2);
    EXPECT_EQ(st.counters.activeSlides, 1);
    EXPECT_TRUE(other.read("DIA.INI").find("DIAS=1\r\n") != std::string::npos);
    const auto shown = notices();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].startsWith(QString::fromUtf8("Ihr Archiv wird nun analysiert")));
    EXPECT_TRUE(shown[1].startsWith(QString::fromUtf8("Im aktuellen Verzeichnis ist noch kein")));
    EXPECT_EQ(main().statusPanel(0) + main().statusPanel(1) + main().statusPanel(2),
              QStringLiteral("210"));
    EXPECT_EQ(statusLineText(),
              QString::fromUtf8("Im Archiv sind 1 Dias in 2 Datensätzen gespeichert"));
    EXPECT_TRUE(main().windowTitle().endsWith(QStringLiteral("Pfad=") + Text(other.dir())));
    EXPECT_EQ(st.keys.count + st.keyStore.count + st.foundCount, 0);
    EXPECT_TRUE(st.infoHistory.empty() && st.searchResultList.empty() && st.page.rows[0].empty());
    EXPECT_FALSE(main().undoAction()->isEnabled());
    // The program now holds the new archive and has let the old one go.
    ArchiveLock probe;
    EXPECT_EQ(probe.acquire(other.dir()), ArchiveLock::Result::HeldElsewhere);
    EXPECT_EQ(probe.acquire(archive.dir()), ArchiveLock::Result::Acquired);
}

TEST_F(ServicesTest, AnArchiveAnotherProgramHoldsOpensOnlyWhenTheUserSaysSo) {
    startWith(3);
    // Opening the archive this program holds asks nothing.
    messages().queueFileName(Text(archive.path("dias.ddb")));
    triggerMenu("Archiv &öffnen...");
    EXPECT_TRUE(shownOf(ShownDialog::Confirm).empty());
    EXPECT_TRUE(state().archiveLock.held());

    TempArchive other;
    other.write("dias.ddb", RecordBytes({"A1"}, "A01 Eins", 1));
    ArchiveLock elsewhere;
    ASSERT_EQ(elsewhere.acquire(other.dir()), ArchiveLock::Result::Acquired);
    for (const bool goOn : {false, true}) {
        clearRecords();
        messages().queueFileName(Text(other.path("dias.ddb")));
        messages().queue(goOn ? DialogAnswer::yes() : DialogAnswer::no());
        triggerMenu("Archiv &öffnen...");
        const auto asked = shownOf(ShownDialog::Confirm);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].text, SecondProgramQuestion());
        EXPECT_EQ(state().archive.dir(), goOn ? other.dir() : archive.dir());
        EXPECT_EQ(state().archiveLock.held(), !goOn);
    }
}

TEST_F(ServicesTest, AWrongOrUnreadableDatabaseKeepsTheOldArchive) {
    startWith(3);
    TempArchive other;
    other.write("other.ddb", RecordBytes({"A1"}, "A01", 1));
    std::filesystem::create_directory(other.path("dias.ddb")); // not a file: cannot be read
    for (const auto& [name, error] : {std::pair{"other.ddb", 26}, std::pair{"dias.ddb", 31}}) {
        clearRecords();
        messages().queueFileName(Text(other.path(name)));
        triggerMenu("Archiv &öffnen...");
        EXPECT_TRUE(errorShown(error)) << name;
        EXPECT_EQ(state().archive.dir(), archive.dir());
        EXPECT_EQ(state().counters.totalRecords, 3);
        EXPECT_NE(std::filesystem::current_path(), other.dir()) << name;
        EXPECT_TRUE(main().softButton(1)->isEnabled());
    }
}

TEST_F(ServicesTest, ANewArchiveIsLaidOutOnlyWhereNoDataIsLost) {
    startWith(3);
    archive.write("bilder/autor.bmp", "BM author");
    TempArchive parent;
    struct Row {
        const char* dir; // inside `parent`; nullptr: the open archive
        const char* existingFile;
        std::optional<bool> answer; // to "Das angegebene Verzeichnis existiert bereits..."
        bool created;
        const char* notice;
    };
    const Row rows[] = {
        {"neu", nullptr, {}, true, "Ein neues Archiv wurde erstellt."},
        {"leer", "", false, false, nullptr},
        {"leer2", "", true, true, "Ein neues Archiv wurde erstellt."},
        {"voll", "data", {}, false, "Im angegebenen Verzeichnis liegt bereits ein Archiv"},
        {nullptr, nullptr, {}, false, "Das angegebene Verzeichnis enthält das geöffnete Archiv"},
    };
    for (const Row& row : rows) {
        clearRecords();
        const auto dir = row.dir ? parent.path(row.dir) : archive.dir();
        if (row.existingFile)
            parent.write(std::string(row.dir) + "/DIAS.DDB", row.existingFile);
        messages().queue(DialogAnswer::type(Text(dir)));
        if (row.answer)
            messages().queue(*row.answer ? DialogAnswer::yes() : DialogAnswer::no());
        triggerMenu("&Neues Archiv erstellen...");
        EXPECT_EQ(shownOf(ShownDialog::Confirm).size(), row.answer ? 1u : 0u) << dir;
        EXPECT_EQ(messages().pendingAnswers(), 0u);
        const Archive made(dir);
        if (row.created) {
            for (const auto& group : kNewArchiveFiles)
                for (std::string_view name : group)
                    EXPECT_EQ(made.fileSize(name), 0) << name; // keyword files too: no "*"
            EXPECT_TRUE(made.exists("memo") && made.exists("bilder"));
            EXPECT_EQ(parent.read(std::string(row.dir) + "/DIA.INI"), archive.read("DIA.INI"));
        } else if (row.dir) {
            EXPECT_FALSE(made.exists("KEYWORD1") || made.exists("memo")) << dir;
        }
        const auto shown = notices();
        EXPECT_EQ(!shown.empty() &&
                      shown.back().startsWith(QString::fromUtf8(row.notice ? row.notice : "-")),
                  row.notice != nullptr)
            << dir;
        EXPECT_EQ(state().archive.dir(), archive.dir());
    }
    EXPECT_EQ(archive.read("dias.ddb").size(), 3u * 82);
    EXPECT_EQ(parent.read("voll/DIAS.DDB"), "data");
    EXPECT_EQ(parent.read("neu/bilder/autor.bmp"), "BM author");
}
