#pragma once
// The main window over an archive of 20 slides, three key levels and an editor script.
#include "ProgramFixture.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>

namespace lumo::test {

inline QString U(const char* s) {
    return QString::fromUtf8(s);
}
inline QStringList Caps(const char* joined) {
    return U(joined).split(QLatin1Char('|'));
}
// Runs `open`; each modal window meanwhile gets `onModal` when active, then is closed.
// Returns the class names of those windows.
inline QStringList WithEachModal(const std::function<void()>& open,
                                 const std::function<void(QWidget*)>& onModal = {}) {
    QStringList seen;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || QApplication::activeWindow() != w)
            return;
        seen << QString::fromLatin1(w->metaObject()->className());
        if (onModal)
            onModal(w);
        w->close();
    });
    poll.start();
    open();
    return seen;
}
class ShellTest : public ProgramTest {
protected:
    QTemporaryDir programs;
    std::string editor;
    // Slide 1 carries A1A1A1 (under "Berge"), slide 2 B1, the others C1.
    void SetUp() override {
        std::vector<std::string> records = {RecordBytes({"A1A1A1"}, "A01 Zugspitze im Winter", 3),
                                            RecordBytes({"B1"}, "A02 Ostsee", 3)};
        for (int i = 3; i <= 20; ++i)
            records.push_back(RecordBytes({"C1"}, "A03 Dia " + std::to_string(i), 4));
        writeRecords(records);
        writeKeywords(1, {{"Berge", "A1"}, {"Meer", "B1"}, {"Stadt", "C1"}});
        writeKeywords(2, {{"Alpen", "A1A1"}, {"Anden", "A1B1"}, {"Ostsee", "B1A1"}});
        writeKeywords(3, {{"Zugspitze", "A1A1A1"}, {"Watzmann", "A1A1B1"}});
        // Outside the archive: a program in the archive never runs.
        editor = programs.filePath(QStringLiteral("myeditor")).toStdString();
        std::ofstream(editor) << "#!/bin/sh\nexit 0\n";
        std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
    }
    void startWith(std::vector<std::string> iniLines = {}) {
        iniLines.insert(iniLines.begin(),
                        {"[LUMORETTA]", "DIAS=20", "SOUND=1", "EDITOR=" + editor});
        writeIni(iniLines);
        start();
        main().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
        clearRecords();
    }
    void setMode(int m) {
        state().screenMode = m;
        main().SetScreenCaptions(m);
    }
    // n result lines "box slide code text", page `first` shown.
    void showResults(int m, int n, int first = 0) {
        auto& s = state();
        s.searchResultList.clear();
        for (int i = 1; i <= n; ++i)
            s.searchResultList.push_back(
                QString::asprintf("%03d%05dA%02d Dia Nummer %d", 1 + i % 3, i, i % 10, i)
                    .toStdString());
        s.foundCount = n;
        s.lastPageRows = n % 17;
        s.firstShown = first;
        setMode(m);
        main().showResultPage(first);
        main().SetupResultScrollBar(n);
    }
    // Mode, soft-button captions ("*" disabled), picture, level lists, scroll bar, status line.
    QString screenState() {
        QStringList parts{QString::number(state().screenMode)};
        for (int i = 1; i <= 5; ++i)
            parts << main().softButton(i)->text() +
                         (main().softButton(i)->isEnabled() ? QString() : QStringLiteral("*"));
        parts << (main().pictureVisible() ? QStringLiteral("Bild") : QString())
              << (main().levelCursor(1)->isVisible() && main().levelHeading(1)->isVisible()
                      ? QStringLiteral("Ebenen")
                      : QString())
              << (main().scrollBar()->isVisible() ? QStringLiteral("Scroll") : QString())
              << statusLineText();
        return parts.join(u'|');
    }
    int countColour(const QRect& r, const QColor& c) {
        const QImage img = main().canvas().toImage();
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == (c.rgb() & 0xFFFFFF);
        return n;
    }
    std::vector<std::string> keyCodes() {
        std::vector<std::string> out;
        for (int i = 0; i < state().keys.count; ++i)
            out.push_back(state().keys.entries[i].code);
        return out;
    }
    static QRect rowRect(int x, int row, int width = 120) {
        return QRect(x, 60 + 17 * (row - 1), width, 17);
    }
};

} // namespace lumo::test
