#pragma once
// A message catalog on a temporary archive, with a recording stand-in for the main window.
#include "TestArchive.h"
#include "platform/Help.h"
#include "platform/Sound.h"
#include "ui/AppState.h"
#include "ui/MessageCatalog.h"

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace lumo::test {

class FakeScreen : public Screen {
public:
    struct Line {
        QString text;
        QColor colour;
    };
    void SetStatusLine(const QString& text, const QColor& colour) override {
        lines.push_back({text, colour});
    }
    void SetScreenCaptions(int mode) override { captions.push_back(mode); }
    QPoint MainTopLeft() const override { return topLeft; }
    QWidget* MainWidget() override { return &widget; }
    void ShowResultScrollBar() override { ++scrollBarShown; }
    // The rest of the screen plays no part in the message dialogs.
    void SetWindowCaptionSuffix(const QString&) override {}
    void SetStatusPanel(int, const QString&) override {}
    void RepaintStatusBar() override {}
    void SetProgress(int, int, int) override {}
    void SetProgressValue(int) override {}
    void SetBusyCursor(bool) override {}
    void RestoreMainScreen() override {}
    void ClearListArea(const QColor&, int, int, int, int) override {}
    void ClearLevelCursors() override {}
    void RepaintNow() override {}
    void showResultPage(int) override {}
    void PaintResultRow(int) override {}
    void DrawResultHeadings() override {}
    void SetBackgroundBlack() override {}
    void LoadBackgroundPicture() override {}
    void UpdateCounterPanels() override {}
    void HideScrollBar() override {}
    void SetupResultScrollBar(int) override {}
    void MinimiseForScan(bool) override {}
    void SetUndoEnabled(bool) override {}
    QPoint topLeft{100, 50};
    QWidget widget;
    std::vector<Line> lines;
    std::vector<int> captions;
    int scrollBarShown = 0;
};
class MessagesTest : public ::testing::Test {
protected:
    MessagesTest() {
        state.archive.setDir(archive.dir());
        sound.setTestMode(true);
        catalog.setTestMode(true);
        catalog.setScreen(&screen);
    }
    static QString U(const char* s) { return QString::fromUtf8(s); }
    // Words of a space-separated list, e.g. the sound cues played.
    static QStringList L(const char* s) { return U(s).split(u' ', Qt::SkipEmptyParts); }
    TempArchive archive;
    AppState state;
    SoundCue sound{state.archive, state.settings};
    HelpViewer help;
    FakeScreen screen;
    MessageCatalog catalog{state, sound, help};
};

} // namespace lumo::test
