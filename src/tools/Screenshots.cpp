// Screenshots of the main window for the documentation:
//   lumo_screenshots <archive directory> <output directory>
// Runs the program over the archive with sounds off, no outside programs, and every
// message dialog answered through the message seam, and saves mode0.png, mode110.png,
// mode140.png, mode210-keys.png and results.png; with LUMO_DIALOG_SHOTS set also the program's
// windows (dialogs/), with LUMO_MESSAGE_GALLERY=<directory> every message text there.
#include "platform/Launcher.h"
#include "platform/QtGerman.h"
#include "platform/Sound.h"
#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "store/SlideDatabase.h"
#include "ui/MessageCatalog.h"

#include "editing/RecordCommands.h"
#include "editing/SlideEntryCommands.h"
#include "extras/LabelPrinting.h"
#include "extras/LoadingListPrinting.h"
#include "extras/MagazineMapWindow.h"
#include "extras/MapAndScanCommands.h"
#include "extras/OutputCommands.h"
#include "extras/PictureImportDialog.h"
#include "extras/PrintedPages.h"
#include "search/gui/SearchCommands.h"
#include "services/ServiceCommands.h"
#include "store/Settings.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <functional>

#include <cstdio>

namespace {

void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

bool Save(lumo::MainWindow& main, const QString& dir, const char* name) {
    Settle();
    const QString file = dir + QStringLiteral("/") + QString::fromUtf8(name);
    const bool ok = main.grab().save(file);
    std::fprintf(stderr, "%s %s\n",
                 ok ? "geschrieben:" : "FEHLER beim Schreiben:", file.toLocal8Bit().constData());
    return ok;
}

// Runs `open`, which shows a modal window; once it is up, saves a picture of it and
// closes it (the window is rejected as if the user had closed it).
bool GrabModal(const QString& dir, const QString& name, const std::function<void()>& open) {
    bool ok = false;
    const QString file = dir + QStringLiteral("/") + name;
    QTimer::singleShot(300, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (w) {
            ok = w->grab().save(file);
            // LUMO_SCREEN_CONTEXT: also the whole screen, the window beside the main window.
            if (qEnvironmentVariableIsSet("LUMO_SCREEN_CONTEXT"))
                QGuiApplication::primaryScreen()->grabWindow(0).save(
                    QString(file).replace(QStringLiteral(".png"), QStringLiteral("-screen.png")));
            w->close();
        }
    });
    open();
    std::fprintf(stderr, "%s %s\n",
                 ok ? "geschrieben:" : "FEHLER beim Schreiben:", file.toLocal8Bit().constData());
    return ok;
}

bool GrabModal(const QString& dir, const char* name, const std::function<void()>& open) {
    return GrabModal(dir, QString::fromUtf8(name), open);
}

// A few scans made here, for the picture import: a gradient with the slide's number.
void MakeScans(const QString& folder) {
    const char* names[] = {"Dia_0001.jpg", "Dia_0002.png", "Dia_0006.tif", "Dia_0007.webp",
                           "Dia_0008.jpg", "Urlaub 2.jpg", "notiz.png"};
    int n = 0;
    for (const char* name : names) {
        QImage image(600, 400, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient g(0, 0, 600, 400);
        g.setColorAt(0, QColor::fromHsv((n * 50) % 360, 160, 230));
        g.setColorAt(1, QColor::fromHsv((n * 50 + 120) % 360, 200, 90));
        p.fillRect(image.rect(), g);
        p.setPen(Qt::white);
        p.setFont(QFont(QStringLiteral("Liberation Sans"), 72, QFont::Bold));
        p.drawText(image.rect(), Qt::AlignCenter, QString::fromUtf8(name).section(u'.', 0, 0));
        p.end();
        image.save(folder + QStringLiteral("/") + QString::fromUtf8(name));
        ++n;
    }
}

// The magazine map (box 1, the cursor on a place of the second magazine) and the picture
// import with its preview, after the import.
bool GrabExtras(lumo::Program& program, const QString& outDir) {
    auto& extras = program.mapAndScan();
    const QString dir = outDir + QStringLiteral("/extras");
    QDir().mkpath(dir);
    QTemporaryDir scans;
    MakeScans(scans.path());
    lumo::PictureImportDialog& import = *extras.pictureImport();
    import.folderEdit->setText(scans.path());
    bool ok = GrabModal(dir, "picture-import.png", [&] {
        QTimer::singleShot(100, [&] {
            for (int r = 0; r < import.table->rowCount(); ++r)
                if (import.table->item(r, 3)->flags() & Qt::ItemIsUserCheckable) {
                    import.table->item(r, 3)->setCheckState(Qt::Checked);
                    break;
                }
        });
        extras.ImportPictures();
    });
    // Two cataloguing slips in box 1 for the picture: slide 12 recorded at slide 11's place,
    // slide 17 without a place.
    auto& st = program.state();
    for (const auto& [slide, code] : {std::pair{12, "A11"}, std::pair{17, "???"}}) {
        lumo::KeySelection keys;
        lumo::ReadSlide(st.archive, slide, st.slide, keys);
        st.slide.infoText.replace(0, 3, code);
        lumo::WriteSlide(st.archive, slide, st.slide);
    }
    lumo::MagazineMapWindow& map = *extras.magazineMap();
    const QString pdf = dir + QStringLiteral("/magazine-map.pdf");
    const bool mapShot = GrabModal(dir, "magazine-map.png", [&] {
        QTimer::singleShot(100, [&] {
            map.grid->setCurrentIndex(map.model().cellOf(0, 12));
            map.grid->setFocus();
            // LUMO_MAP_PDF: the box also as PDF, as "Als PDF speichern..." writes it.
            if (qEnvironmentVariableIsSet("LUMO_MAP_PDF")) {
                program.messages().queueFileName(pdf);
                map.onSavePdf();
            }
        });
        extras.OpenMagazineMap();
    });
    return mapShot && ok;
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumoretta 3.0"));
    QTranslator qtGerman;
    lumo::InstallQtGerman(qtGerman);
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: lumo_screenshots <Archivverzeichnis> <Zielverzeichnis>\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outDir);

    lumo::Program program(std::filesystem::path(argv[1]), false);
    program.messages().setTestMode(true);
    program.sound().setTestMode(true);
    program.launcher().setTestMode(true);
    if (!program.Start()) {
        std::fprintf(stderr, "Das Archiv konnte nicht geöffnet werden.\n");
        return 1;
    }
    lumo::MainWindow& main = program.main();
    main.move(0, 0);
    main.show();
    bool ok = Save(main, outDir, "mode0.png");

    // The slide entry screen and the keyword list maintenance, with the level-1 cursor
    // moved to the second key so that the lists below it show.
    program.entry().StartNewSlide();
    main.onCanvasPress(Qt::RightButton, 100, 77);
    ok = Save(main, outDir, "mode110.png") && ok;
    main.onSoftButton(5); // HAUPTMENUE
    program.entry().StartNewKeyword();
    main.onCanvasPress(Qt::RightButton, 100, 77);
    ok = Save(main, outDir, "mode140.png") && ok;
    main.onSoftButton(5);

    // Key search set-up with three keys picked through the real handlers: the first
    // level-1 key, then the first key below it on levels 2 and 3.
    main.onKeySearch();
    auto& st = program.state();
    main.onLevelCursorClick(1);
    main.onCanvasPress(Qt::RightButton, 300, 60);
    main.onLevelCursorClick(2);
    main.onCanvasPress(Qt::RightButton, 500, 60);
    main.onLevelCursorClick(3);
    // Move the level-1 cursor so the picture shows a cursor and the lists around it.
    main.onCanvasPress(Qt::RightButton, 100, 77);
    ok = Save(main, outDir, "mode210-keys.png") && ok;

    // A result page: search by the first level-1 key alone (most slides carry it).
    st.keys.clearAll();
    main.onCanvasPress(Qt::RightButton, 100, 60);
    main.onLevelCursorClick(1);
    main.onSoftButton(1); // "SUCHE DIAS"
    if (!lumo::mode::IsResultMode(st.screenMode))
        std::fprintf(stderr, "Die Suche lieferte keine Ergebnisseite (Modus %d).\n", st.screenMode);
    ok = Save(main, outDir, "results.png") && ok;

    // The program's own windows, each opened the way the user opens it. Message dialogs
    // are shown for real here (the seam is off while each is grabbed).
    if (qEnvironmentVariableIsSet("LUMO_DIALOG_SHOTS")) {
        const QString dlg = outDir + QStringLiteral("/dialogs");
        QDir().mkpath(dlg);
        auto& msg = program.messages();
        GrabModal(dlg, "slide-data.png", [&] { program.entry().ShowSlideData(3); });
        GrabModal(dlg, "header-data.png", [&] { program.search().ShowHeaderData(3); });
        GrabModal(dlg, "box-labels.png", [&] { program.search().ShowBoxLabels(1); });
        GrabModal(dlg, "memo.png", [&] { program.search().ShowMemo(1); });
        GrabModal(dlg, "slide-deletion.png", [&] { program.records().DeleteSlides(); });
        GrabModal(dlg, "field-names.png", [&] { program.records().ChangeHeaderFieldNames(); });
        msg.setTestMode(false);
        GrabModal(dlg, "error.png", [&] { msg.ShowError(8); });
        GrabModal(dlg, "question.png", [&] {
            msg.AskConfirmation(QString::fromUtf8(
                "Sollen die bereits erfassten Schlüssel alle wieder gelöscht werden ?"));
        });
        GrabModal(dlg, "notice.png", [&] {
            msg.ShowNotice(QString::fromUtf8("Ihr Archiv ist komplett durchsucht worden."));
        });
        GrabModal(dlg, "prompt-info.png", [&] { msg.SearchPrompt(1); });
        GrabModal(dlg, "open-archive.png", [&] { program.services().OpenArchive(); });
        msg.setTestMode(true);
        main.onSoftButton(5); // HAUPTMENUE
        program.entry().StartNewSlide();
        main.onLevelCursorClick(1);
        main.onLevelCursorClick(2);
        GrabModal(dlg, "slide-entry.png", [&] { program.entry().SaveSlide(); });
        GrabModal(dlg, "selected-keys.png", [&] { program.entry().KeyEditor(); });
        main.onSoftButton(5);
        GrabModal(dlg, "header-search.png", [&] { program.search().HeaderDataSearch(); });
        GrabModal(dlg, "backup.png", [&] { program.services().OpenBackup(); });
        GrabModal(dlg, "preferences.png", [&] { program.services().OpenPreferences(); });
        GrabModal(dlg, "tips.png", [&] { program.services().OpenTips(); });
        ok = GrabExtras(program, outDir) && ok;
        GrabModal(dlg, "export.png", [&] { program.outputs().OpenExport(); });
        GrabModal(dlg, "labels.png", [&] { program.outputs().OpenLabels(); });
    }

    // The printouts of the extras as PDF files (scripts/screenshots.sh turns them into
    // pictures): labels of the first 40 slides from position 3 of a 38,1 x 21,2 mm sheet, and
    // the loading list of box 1.
    const QString prints = qEnvironmentVariable("LUMO_PRINT_SHOTS");
    if (!prints.isEmpty()) {
        std::vector<lumo::CatalogSlide> slides;
        lumo::ReadCatalog(st.archive, slides, std::nullopt, lumo::CatalogParts{false, false});
        std::vector<lumo::LabelText> labels;
        for (size_t i = 0; i < slides.size() && i < 40; ++i)
            labels.push_back(lumo::LabelTextOf(slides[i]));
        const lumo::LabelSheet sheet = lumo::CommonLabelSheets()[3];
        std::string magazine, theme;
        lumo::ReadBoxLabel(st.archive, 1, magazine, theme);
        const lumo::LoadingList list = lumo::BuildLoadingList(1, slides, magazine, theme);
        ok = lumo::WritePdfFile(
                 prints + QStringLiteral("/labels.pdf"), QStringLiteral("Etiketten"), QMarginsF(),
                 [&](QPagedPaintDevice& d) { return lumo::PaintLabels(d, sheet, 3, labels); },
                 nullptr) &&
             lumo::WritePdfFile(
                 prints + QStringLiteral("/loading-list.pdf"), QStringLiteral("Ladeliste"),
                 QMarginsF(15, 15, 15, 12),
                 [&](QPagedPaintDevice& d) { return lumo::PaintLoadingList(d, list); }, nullptr) &&
             ok;
    }

    // A gallery of the message catalogue: every error text, the start-up notice and the
    // six input prompts, each in its dialog, for checking how the texts break.
    const QString gallery = qEnvironmentVariable("LUMO_MESSAGE_GALLERY");
    if (!gallery.isEmpty()) {
        QDir().mkpath(gallery);
        auto& msg = program.messages();
        msg.setTestMode(false);
        for (int n = 1; n < 100; ++n)
            if (!msg.ErrorText(n).isEmpty())
                GrabModal(gallery, QStringLiteral("error-%1.png").arg(n, 2, 10, QLatin1Char('0')),
                          [&] { msg.ShowError(n); });
        GrabModal(gallery, QStringLiteral("notice-analysis.png"),
                  [&] { msg.ShowNotice(lumo::MainWindow::AnalysisNoticeText()); });
        for (int kind = 1; kind <= 6; ++kind)
            GrabModal(gallery, QStringLiteral("prompt-%1.png").arg(kind),
                      [&] { msg.SearchPrompt(kind); });
        msg.setTestMode(true);
    }

    main.hide();
    return ok ? 0 : 1;
}
