// The main window's start-up (counting, settings, the archive analysis, the tip) and its
// end (the quit question, saving the settings, the automatic backup).
#include "shell/MainWindow.h"

#include "platform/Help.h"
#include "platform/Sound.h"
#include "services/ServiceCommands.h"
#include "store/FileUtil.h"
#include "store/Keywords.h"
#include "store/Settings.h"
#include "store/SlideDatabase.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace lumo {

namespace {
QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}
} // namespace

void MainWindow::MoveToStoredPosition() {
    const Settings& s = state_.settings;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect g = screen->availableGeometry();
        const QSize size = frameGeometry().size().expandedTo(sizeHint());
        const int left = std::clamp(static_cast<int>(s.windowLeft), g.left(),
                                    std::max(g.left(), g.right() + 1 - size.width()));
        const int top = std::clamp(static_cast<int>(s.windowTop), g.top(),
                                   std::max(g.top(), g.bottom() + 1 - size.height()));
        move(left, top);
    } else {
        move(s.windowLeft, s.windowTop);
    }
}

bool MainWindow::StartUp() {
    auto& s = state_;
    setWindowTitle(ProgramTitle() + Q(" - letzte Änderung am ") + ReleaseDate());
    canvas_->SetVersionText(QStringLiteral("Version ") + ProgramVersion());

    if (Problem p = CountRecords(s.archive, s.counters)) {
        messages_.ShowError(31);
        return false;
    }

    LoadSettings(s.archive, s.settings, s.counters);
    MoveToStoredPosition();

    s.windowsDirectory = "/usr/bin";

    if (s.counters.activeSlides == -1) {
        messages_.ShowNotice(AnalysisNoticeText());
        SetBusyCursor(true);
        SetProgress(0, 100, 0);
        QElapsedTimer sinceUpdate;
        sinceUpdate.start();
        const int32_t total = s.counters.totalRecords;
        Problem p = AnalyseArchive(s.archive, kFreeSlotMarker, s.counters, [&](int32_t n) {
            // Keep the window alive on large archives, at display rate.
            if (sinceUpdate.elapsed() < 40)
                return;
            sinceUpdate.restart();
            if (total > 0)
                SetProgressValue(static_cast<int>(static_cast<int64_t>(n) * 100 / total));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        SetProgress(0, 100, 100);
        SetBusyCursor(false);
        if (p)
            messages_.Report(p);
        EmptyUndoCopies(s.archive);
        ctx_.SaveSettings();
    }

    canvas_->LoadBackgroundPicture();
    SetStatusPanel(0, QString::number(s.counters.totalRecords));
    SetStatusPanel(1, QString::number(s.counters.activeSlides));
    SetStatusPanel(2, QStringLiteral("0"));
    messages_.ShowStatus(0);

    services_->PrepareStartupTip();

    s.screenMode = mode::Main;
    s.searchResultList.clear();
    s.foundCount = 0;
    s.firstShown = 0;
    scrollBar_->hide();
    SetProgress(0, 100, 100);
    return true;
}

void MainWindow::LoadBackgroundPicture() {
    canvas_->LoadBackgroundPicture();
}

QString MainWindow::AnalysisNoticeText() {
    return Q("LUMORETTA Version 3.0\r\rIhr Archiv wird nun analysiert um einige Daten\rzu "
             "ergänzen bzw. überprüfen zu können.\rDies kann einige Zeit dauern...");
}

bool MainWindow::confirmQuit() {
    if (!messages_.AskConfirmation(Q("Möchten Sie das Programm LUMORETTA wirklich beenden ?")))
        return false;
    ctx_.SaveSettings();
    if (state_.settings.autoBackup) {
        repaint();
        hide();
        messages_.ShowNotice(Q("Lumoretta führt nun im Hintergrund\rnoch ein Auto-Backup durch."));
        const QString title = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(Q("Auto-Backup aktiv..."));
        const bool copied = services_->RunAutoBackup();
        QCoreApplication::setApplicationName(title);
        // Only a backup that really ran is reported as done.
        if (copied)
            messages_.ShowNotice(Q("Der Backup Prozess von Lumoretta\rist nun abgeschlossen."));
    }
    sound_.PlaySoundCue(QStringLiteral("exit"), 1000);
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closeConfirmed_ || confirmQuit()) {
        closeConfirmed_ = true;
        help_.Close(); // every window of the program goes with the main window
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (isVisible()) {
        state_.settings.windowTop = pos().y();
        state_.settings.windowLeft = pos().x();
    }
}

} // namespace lumo
