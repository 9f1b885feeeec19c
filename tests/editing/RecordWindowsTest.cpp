// Slide deletion, header data and field names, box labels and the memo editor.
#include "EditingTestSupport.h"

#include "editing/BoxLabelsDialog.h"
#include "editing/HeaderFieldNamesDialog.h"
#include "editing/MemoEditor.h"
#include "editing/SlideDeletionDialog.h"
#include "search/Reports.h"
#include "search/gui/HeaderDataDialog.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextCursor>

namespace lumo::test::editing {
namespace {

const QString kMarked = u"Die Dias wurden aus dem Lumoretta gelöscht.\rAlle Datensätze sind "
                        u"entsprechend markiert\rworden und der Zähler für die Dias wurde\r"
                        u"entsprechend korrigiert und gesichert."_s;
const QString kNothing = u"Ausgewählte Dias waren bereits gelöscht !\rEs wurden keine "
                         u"Veränderungen in Ihrem\rArchiv vorgenommen !"_s;

class RecordWindows : public EditingTest {
protected:
    // Tool button 3, the range typed, the check boxes set, "Dias &löschen" clicked and the
    // question answered "Ja"; a window still open afterwards is closed.
    void Delete(const char* from, const char* to, std::array<bool, 4> boxes = {1, 1, 1, 1}) {
        Answer({yes});
        SlideDeletionDialog* d = records().slideDeletionDialog();
        WhenShown w(d, [&] {
            d->fromEdit->setText(QString::fromUtf8(from));
            d->toEdit->setText(QString::fromUtf8(to));
            for (size_t i = 0; i < 4; ++i)
                d->choiceBoxes[i]->setChecked(boxes[i]);
            d->deleteButton->click();
            stayedOpen = d->isVisible();
            if (stayedOpen)
                d->closeButton->click();
        });
        QTest::mouseClick(main().toolButton(3), Qt::LeftButton);
    }
    bool stayedOpen = false;
    // The result-list click on slide `slide`, with `act` run inside the header data dialog.
    void OnSlide(int slide, std::function<void(HeaderDataDialog&)> act) {
        HeaderDataDialog* d = search().headerDialog();
        WhenShown w(d, [d, &act] {
            act(*d);
            d->closeButton->click();
        });
        search().ShowHeaderData(slide);
    }
    // "&Memos eingeben..." with the answers queued and `act` run inside the editor.
    void Memo(std::vector<DialogAnswer> answers, std::function<void(MemoEditor&)> act) {
        Answer(answers);
        WhenShown w(search().memoEditor(), [this, &act] { act(*search().memoEditor()); });
        search().EnterMemos();
    }
};

TEST_F(RecordWindows, ADeletedSlideBecomesAFreeSlotInItsBoxWithItsFilesGone) {
    OpenSlides(10);
    archive.write("kopfdata.ddb", "");
    for (const char* f : {"memo/5.txt", "memo/4.txt", "bilder/5.bmp"})
        archive.write(f, "x");
    Delete("5", "5");
    EXPECT_EQ(archive.read("dias.ddb"), Slides(1, 4) + FreeSlot(1) + Slides(6, 10));
    EXPECT_EQ(archive.read("kopfdata.ddb"), std::string(4 * 120, '\0') + HeaderRecordBytes({}));
    EXPECT_FALSE(archive.exists("memo/5.txt") || archive.exists("bilder/5.bmp"));
    EXPECT_TRUE(archive.exists("memo/4.txt"));
    EXPECT_EQ(state().counters.activeSlides, 9);
    EXPECT_NE(archive.read("DIA.INI").find("DIAS=9\r\n"), std::string::npos);
    EXPECT_EQ(texts(ShownDialog::Confirm)[0],
              U("Möchten Sie Informationen zu den\rDias Nr.5 bis Nr.5\rwirklich aus dem "
                "Archiv löschen ?"));
    EXPECT_EQ(texts(ShownDialog::Notice), QStringList{kMarked});
    EXPECT_FALSE(stayedOpen);
    const QProgressBar* bar = records().slideDeletionDialog()->progress;
    EXPECT_EQ(bar->value(), bar->maximum()); // a range of one slide fills the bar as well
}

// Free slots or kept records change nothing; a failed header write stops and recounts.
TEST_F(RecordWindows, DeletingFreeSlotsOrKeepingTheRecordsChangesNoRecord) {
    OpenSlides(6, {"", "", FreeSlot(1), FreeSlot(1)});
    archive.write("kopfdata.ddb", HeaderRecordBytes({"Leica"}));
    for (const char* f : {"memo/2.txt", "memo/3.txt", "memo/4.txt"})
        archive.write(f, "x");
    const std::string ddb = archive.read("dias.ddb");
    Delete("3", "4");
    Delete("1", "2", {false, false, true, false}); // "Memos" alone
    EXPECT_EQ(archive.read("dias.ddb"), ddb);
    EXPECT_EQ(archive.read("kopfdata.ddb"), HeaderRecordBytes({"Leica"}));
    EXPECT_TRUE(archive.exists("memo/3.txt") && archive.exists("memo/4.txt"));
    EXPECT_FALSE(archive.exists("memo/2.txt"));
    EXPECT_EQ(state().counters.activeSlides, 4);
    EXPECT_EQ(texts(ShownDialog::Notice), (QStringList{kNothing, kNothing}));

    // A failed header write stops before the slot is marked, so a second run finishes it.
    std::filesystem::remove(archive.path("kopfdata.ddb"));
    archive.write("memo/5.txt", "x");
    Delete("5", "6");
    EXPECT_EQ(errors(), std::vector<int>{31});
    EXPECT_EQ(archive.read("dias.ddb"), ddb);
    EXPECT_TRUE(archive.exists("memo/5.txt") && stayedOpen);
    EXPECT_EQ(state().counters.activeSlides, 4);
    archive.write("kopfdata.ddb", HeaderRecordBytes({"Leica"}));
    Delete("5", "6");
    EXPECT_EQ(archive.read("dias.ddb"), ddb.substr(0, 4 * 82) + FreeSlot(1) + FreeSlot(2));
    EXPECT_EQ(archive.read("kopfdata.ddb").substr(4 * 120),
              HeaderRecordBytes({}) + HeaderRecordBytes({}));
    EXPECT_FALSE(archive.exists("memo/5.txt"));
    EXPECT_NE(archive.read("DIA.INI").find("DIAS=2\r\n"), std::string::npos);
}

TEST_F(RecordWindows, ADeletionRangeOutOfOrderOrEscDeletesNothingAndTheCheckBoxesStayAsSet) {
    OpenSlides(10);
    SlideDeletionDialog* d = records().slideDeletionDialog();
    for (bool first : {true, false}) {
        WhenShown w(d, [&] {
            EXPECT_EQ(d->choiceBoxes[2]->isChecked(), first);
            d->choiceBoxes[2]->setChecked(false);
            d->fromEdit->setText(u"7"_s);
            d->toEdit->setText(u"3"_s);
            if (first)
                d->deleteButton->click(); // error 15, the window stays
            QTest::keyClick(d, Qt::Key_Escape);
        });
        main().findAction(U("Dias &löschen..."))->trigger();
    }
    EXPECT_EQ(texts(ShownDialog::Error),
              QStringList{u"Eingabebereich nicht korrekt !\r( max. 1 - 10 )"_s});
    EXPECT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(archive.read("dias.ddb"), Slides(1, 10));
}

// Names and proposals replaced in place; header data kept where not typed or not deleted.
TEST_F(RecordWindows, HeaderFieldNamesAndHeaderData) {
    OpenSlides(3);
    const std::string ini = archive.read("DIA.INI");
    archive.write("DIA.INI",
                  ini + "[KOPFDATA]\r\nFELDNAMEN=Kamera,Objektiv\r\n4=24x36,6x6,6x7\r\n");
    HeaderFieldNamesDialog* names = records().headerFieldNamesDialog();
    WhenShown w(names, [names] {
        names->fieldNameList->setCurrentIndex(1);
        names->fieldNameEdit->clear();
        names->renameButton->click(); // empty: the warning, nothing stored
        names->fieldNameEdit->setText(u"Zoom"_s);
        names->renameButton->click();
        names->fieldNameEdit->setText(u"leer"_s); // would read as not set: refused as well
        names->renameButton->click();
        names->fieldNameList->setCurrentIndex(4);
        names->proposalList->setCurrentIndex(1);
        names->proposalEdit->setText(u"4x5"_s);
        names->replaceButton->click();
        names->fieldNameList->setCurrentIndex(2); // no proposals: this one becomes the first
        names->proposalEdit->setText(u"UV"_s);
        names->replaceButton->click();
        names->closeButton->click();
    });
    main().findAction(U("Kopfdaten&felder ändern..."))->trigger();
    EXPECT_EQ(archive.read("DIA.INI"),
              ini + "[KOPFDATA]\r\nFELDNAMEN=Kamera,Zoom,Filter,Filmtyp,Format,Belichtung,Blende,"
                    "Datum\r\n4=24x36,4x5,6x7\r\n2=UV\r\n");
    EXPECT_EQ(sound().played().count(u"error"_s), 2);
    archive.write("kopfdata.ddb", HeaderRecordBytes({}) + HeaderRecordBytes({"Nikon", "", "UV"}));
    OnSlide(2, [](HeaderDataDialog&) {});
    OnSlide(2, [&](HeaderDataDialog& d) {
        EXPECT_EQ(d.fieldNameEdits[1]->text(), u"Zoom"_s);
        d.valueBoxes[6]->setEditText(u"f8"_s);
        d.okButton->click();
    });
    EXPECT_EQ(archive.read("kopfdata.ddb"), // what was not typed is kept
              HeaderRecordBytes({}) + HeaderRecordBytes({"Nikon", "", "UV", "", "", "", "f8"}));
    OnSlide(2, [&](HeaderDataDialog& d) {
        std::filesystem::remove(archive.path("kopfdata.ddb"));
        d.deleteButton->click(); // error 31
        EXPECT_EQ(d.valueBoxes[0]->currentText(), u"Nikon"_s);
    });
    EXPECT_EQ(errors(), std::vector<int>{31});
    // The slide number has its label; the names read as labels, read-only for every reader.
    HeaderDataDialog* d = search().headerDialog();
    const auto labels = d->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [d](QLabel* l) {
        return l->text() == u"Dia-Nr."_s && l->buddy() == d->slideNumberEdit;
    }));
    for (QLineEdit* name : d->fieldNameEdits)
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(name)->state().readOnly &&
                    !name->hasFrame());
}

// Typed as a user types: Tab from the slide number reaches the first value box, a value
// that begins like a proposal is stored as typed, and a failed read leaves no values behind.
TEST_F(RecordWindows, HeaderValuesAreStoredAsTypedAndAFailedReadShowsNone) {
    OpenSlides(3);
    archive.write("DIA.INI", archive.read("DIA.INI") + "[KOPFDATA]\r\n0=Nikon F50\r\n");
    const std::string first = HeaderRecordBytes({"Leica", "", "UV"});
    archive.write("kopfdata.ddb", first);
    HeaderDataDialog* d = search().headerDialog();
    QString afterFailedRead;
    WhenShown w(d, [&] {
        d->activateWindow(); // keys reach the focus widget as they do from the keyboard
        EXPECT_TRUE(QTest::qWaitForWindowActive(d));
        QTest::keyClicks(d->slideNumberEdit, u"1"_s);
        QTest::keyClick(d->slideNumberEdit, Qt::Key_Backspace);
        std::filesystem::remove(archive.path("kopfdata.ddb"));
        QTest::keyClicks(d->slideNumberEdit, u"2"_s); // error 31
        afterFailedRead = d->valueBoxes[0]->currentText() + d->valueBoxes[2]->currentText();
        archive.write("kopfdata.ddb", first);
        QTest::keyClick(d->slideNumberEdit, Qt::Key_Tab);
        QTest::keyClicks(d->focusWidget(), u"Ni"_s);
        QTest::keyClick(d->focusWidget(), Qt::Key_Tab);
        d->okButton->click();
        d->closeButton->click();
    });
    main().findAction(U("Kopf&daten eingeben..."))->trigger();
    EXPECT_EQ(afterFailedRead, QString());
    EXPECT_EQ(errors(), std::vector<int>{31});
    EXPECT_EQ(archive.read("kopfdata.ddb"), first + HeaderRecordBytes({"Ni"}));
}

TEST_F(RecordWindows, BoxLabelsGoIntoTheirSectionsAndEveryOtherLineStays) {
    OpenSlides(1);
    const std::string kept = "[K001]\r\nT1=Alt\r\nT2=Alt\r\n; Notiz\r\n[Sonst]\r\nX=1\r\n";
    archive.write("KASTEN.INI", kept);
    BoxLabelsDialog* d = search().boxLabelsDialog();
    WhenShown w(d, [&] {
        for (auto [box, magazine, theme] :
             {std::array<const char*, 3>{"7", "Urlaub 1997", "Toskana"},
              {"42", "Nord", "Meer"},
              {"100", "Süd", ""},
              {"007", "Urlaub 1998", "Rom"}}) {
            d->boxEdit->setText(QString::fromUtf8(box));
            d->magazineEdit->setText(QString::fromUtf8(magazine));
            d->themeEdit->setText(QString::fromUtf8(theme));
            d->saveButton->click();
        }
        d->cancelButton->click();
    });
    search().EnterBoxLabels();
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(archive.read("KASTEN.INI"), kept + "[K007]\r\nT1=Urlaub 1998\r\nT2=Rom\r\n[K042]\r\n"
                                                 "T1=Nord\r\nT2=Meer\r\n[K100]\r\nT1=S\xfc"
                                                 "d\r\nT2=\r\n");
    std::filesystem::remove(archive.path("KASTEN.INI"));
    archive.write("KASTEN.INI/x", ""); // a directory: the write fails, no "saved" cue
    sound().clearRecord();
    WhenShown failing(d, [d] {
        QTest::keyClick(d->boxEdit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(d->boxEdit, u"7"_s);
        d->saveButton->click();
        d->cancelButton->click();
    });
    search().EnterBoxLabels();
    EXPECT_EQ(shownOf(ShownDialog::ErrorBox).size(), 1u);
    EXPECT_FALSE(sound().played().contains(u"click006"_s));
}

TEST_F(RecordWindows, MemoToolButtonsShowPicturesNamedByTheirHints) {
    OpenSlides(1);
    for (QToolButton* b : search().memoEditor()->toolButtons) {
        EXPECT_TRUE(!b->icon().isNull() && b->text().isEmpty()) << b->toolTip().toStdString();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name), b->toolTip());
    }
    EXPECT_EQ(search().memoEditor()->toolButtons[8]->toolTip(),
              U("Memo an die Datei memo.txt anhängen"));
}

TEST_F(RecordWindows, TheMemoEditorKeepsItsTextWhenTheSaveDidNotHappen) {
    OpenSlides(3);
    archive.write("memo", "a file where the memo directory belongs: every write fails");
    QString number, text;
    Memo({yes, yes, yes, no}, [&](MemoEditor& d) {
        d.memoText->setPlainText(u"Notiz"_s);
        d.toolButtons[5]->click(); // "Dia +1", "Ja": the write fails
        number = d.slideNumberEdit->text();
        d.toolButtons[7]->click();          // leave, "Ja": fails again
        d.slideNumberEdit->setText(u"9"_s); // error 7, the text stays
        d.toolButtons[7]->click();          // "Ja": error 7
        text = d.memoText->toPlainText();
        d.toolButtons[7]->click(); // "Nein"
    });
    EXPECT_EQ(number + text, u"1Notiz"_s);
    EXPECT_EQ(errors(), (std::vector<int>{7, 7}));
    EXPECT_EQ(texts(ShownDialog::IoError).size(), 2u);
    EXPECT_FALSE(sound().played().contains(u"camera1"_s)); // the "saved" cue
}

TEST_F(RecordWindows, DeletingAMemoReportsStatus9OnlyWhenNoFileStays) {
    OpenSlides(3);
    archive.write("memo/2.txt/blocker", ""); // a directory in the memo's place
    QString text;
    Memo({yes, yes, no}, [&](MemoEditor& d) {
        d.slideNumberEdit->setText(u"3"_s); // no memo file: deleted all the same
        d.memoText->setPlainText(u"neu"_s);
        d.toolButtons[2]->click();
        EXPECT_TRUE(d.memoText->toPlainText().isEmpty());
        d.slideNumberEdit->setText(u"2"_s);
        d.memoText->setPlainText(u"bleibt"_s);
        d.toolButtons[2]->click();
        text = d.memoText->toPlainText();
        d.toolButtons[7]->click(); // "Nein"
    });
    EXPECT_EQ(text, u"bleibt"_s);
    EXPECT_EQ(texts(ShownDialog::IoError).size(), 1u);
    EXPECT_EQ(sound().played().count(u"loesch"_s), 1); // the "deleted" cue
}

// A typed number loads that memo unchanged; new and appended lists keep the report layout.
TEST_F(RecordWindows, NewAndAppendedMemoListMatchTheReportLayout) {
    OpenSlides(12);
    search().setClock([] { return ReportStamp{"05.12.98", "14:30:00"}; });
    archive.write("memo/3.txt", "Erste Zeile\r\nZweite Zeile mit Umlaut \xe4\r\n");
    archive.write("memo/12.txt", "Nur eine Zeile");
    Memo({}, [&](MemoEditor& d) {
        d.memoText->setPlainText(u"verworfen"_s);
        d.slideNumberEdit->setText(u"3"_s);
        EXPECT_EQ(d.memoText->toPlainText(), u"Erste Zeile\nZweite Zeile mit Umlaut ä"_s);
        d.toolButtons[9]->click(); // memo.txt anew
        d.slideNumberEdit->setText(u"12"_s);
        d.toolButtons[8]->click(); // appended
        d.toolButtons[7]->click(); // unchanged: no question
    });
    EXPECT_EQ(archive.read("memo.txt"),
              archive.read(std::string(LUMO_TEST_DATA) + "/reports/memo-two/expected-memo.txt"));
    EXPECT_EQ(archive.read("memo/3.txt"), "Erste Zeile\r\nZweite Zeile mit Umlaut \xe4\r\n");
}

// Typed as a user types: the field and the editor always go together (a field emptied and
// stepped from, the last five-digit number), Esc on the question goes back to the text,
// and bytes the user did not touch (0xA0) are saved as they were.
TEST_F(RecordWindows, TheMemoEditorHoldsTheMemoOfTheNumberItShows) {
    OpenSlides(12);
    archive.write("memo/1.txt", "eins\xA0zwei\r\n");
    archive.write("memo/11.txt", "elf\xA0Tage\r\n");
    archive.write("memo/10000.txt", "zehntausend\r\n");
    QStringList seen;
    Memo({DialogAnswer::cancel()}, [&](MemoEditor& d) {
        QLineEdit* field = d.slideNumberEdit;
        auto see = [&] { seen << field->text() + u'|' + d.memoText->document()->toRawText(); };
        QTest::keyClicks(field, u"1"_s); // "11"
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        d.toolButtons[4]->click(); // "Dia -1" from the empty field: 1, error 11
        see();
        d.toolButtons[3]->click(); // saves memo 1 as shown
        QTest::keyClicks(field, u"1"_s);
        d.memoText->moveCursor(QTextCursor::End);
        QTest::keyClicks(d.memoText, u"!"_s);
        d.toolButtons[5]->click(); // Esc on the question: the editor stays
        see();
        d.toolButtons[3]->click();
        state().counters.totalRecords = 100000;
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, u"99999"_s);
        d.toolButtons[5]->click(); // error 11, not slide 10000
        see();
        d.toolButtons[7]->click();
    });
    EXPECT_EQ(seen, (QStringList{u"1|eins\u00a0zwei"_s, u"11|elf\u00a0Tage!"_s, u"99999|"_s}));
    EXPECT_EQ(errors(), (std::vector<int>{11, 11}));
    EXPECT_EQ(archive.read("memo/1.txt"), "eins\xA0zwei\r\n");
    EXPECT_EQ(archive.read("memo/11.txt"), "elf\xA0Tage!\r\n");
}

} // namespace
} // namespace lumo::test::editing
