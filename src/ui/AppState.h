#pragma once
// The program-wide state, created once at start-up and handed by reference to the
// windows and commands that need it. Qt-free: texts are code page 1252 bytes.
#include "search/ResultPage.h"
#include "store/Archive.h"
#include "store/ArchiveLock.h"
#include "store/Keywords.h"
#include "store/Settings.h"
#include "store/SlideTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumo {

struct LevelCursor {
    int currentLevel = 1;
    std::array<int, 3> selectedRow{1, 1, 1};
    void reset() {
        currentLevel = 1;
        selectedRow = {1, 1, 1};
    }
};

namespace mode {
inline constexpr int Main = 0;
inline constexpr int SlideEntry = 110;
inline constexpr int NewKeyword = 140;
inline constexpr int KeySearchSetup = 210;
inline constexpr int KeyResults = 211;
inline constexpr int BoxResults = 220;
inline constexpr int InfoResults = 240;
inline constexpr int MemoResults = 250;
inline constexpr int HeaderResults = 260;
inline constexpr int Busy = 999;
inline constexpr int Disabled = 9; // caption set only, never a mode
inline bool IsResultMode(int m) {
    return m == 211 || m == 220 || m == 240 || m == 250 || m == 260;
}
inline bool IsKeyMode(int m) {
    return m == 110 || m == 140 || m == 210;
}
} // namespace mode

struct AppState {
    Archive archive;
    // Held while this program works on the archive (one program per archive).
    ArchiveLock archiveLock;
    Counters counters;
    Settings settings;
    KeywordCache keywordCache;

    // Slide entry / current slide.
    int32_t currentSlide = 0;
    CurrentSlideData slide;
    KeySelection keys;
    KeySelection keyStore;
    std::vector<std::string> infoHistory; // cp1252
    bool infoHistoryOpened = false;       // the slide entry dialog opened once in this run

    // Box labels of the last ReadBoxLabel.
    int32_t boxNumber = 0;
    std::string magazineText = "MagazinText";
    std::string themeText = "ThematikText";

    // Main screen.
    int32_t screenMode = 0;
    int lastSoftButton = 1;
    bool editExisting = false;
    bool paintLock = false;
    bool searchConfirmed = false;
    bool confirmAnswer = false;
    int currentStatus = 0;
    int savedStatus = 0;
    std::string searchText; // cp1252
    bool caseSensitive = false;
    bool fastMode = false;
    bool undoEnabled = false; // "&Letzte Änderung der Schlüssellisten revidieren..."

    LevelLists levels;
    LevelCursor cursor;

    // Search results.
    std::vector<std::string> searchResultList; // fixed-column lines, cp1252
    int32_t foundCount = 0;
    int32_t firstShown = 0;
    int32_t lastPageRows = 0;
    ResultPage page;

    // Tips.
    bool tipReady = false;
    std::string tipText;

    std::string windowsDirectory = "/usr/bin";
};

} // namespace lumo
