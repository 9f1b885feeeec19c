// Header data entry opened from the result list, the field names window and the box labels
// window; kopfdata.ddb, DIA.INI and KASTEN.INI compared with bytes from the format tables.
#include "RecordsFixture.h"

#include "editing/BoxLabelsDialog.h"
#include "editing/HeaderFieldNamesDialog.h"
#include "search/gui/HeaderDataDialog.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumo::test {
namespace {

class HeaderData : public RecordsTest {
protected:
    HeaderDataDialog* dialog() { return search().headerDialog(); }
    // The result-list click on slide `slide`, with `act` run inside the dialog.
    void OnSlide(int slide, std::function<void(HeaderDataDialog&)> act) {
        WhenShown w(dialog(), [this, &act] {
            act(*dialog());
            dialog()->closeButton->click();
        });
        search().ShowHeaderData(slide);
    }
};

TEST_F(HeaderData, EveryOpeningReadsTheSlideAndSavingKeepsTheOtherValues) {
    OpenSlides(3);
    arc.write("kopfdata.ddb", HeaderRecordBytes({}) + HeaderRecordBytes({"Nikon", "", "UV"}));
    OnSlide(2, [](HeaderDataDialog&) {});
    OnSlide(2, [&](HeaderDataDialog& d) {
        EXPECT_EQ(d.valueBoxes[0]->currentText(), QStringLiteral("Nikon"));
        d.valueBoxes[6]->setEditText(QStringLiteral("f8"));
        d.okButton->click();
        d.slideNumberEdit->setText(QStringLiteral("3"));
        d.valueBoxes[7]->setEditText(QStringLiteral("01.01.99")); // "Datum" alone
        d.okButton->click();
    });
    EXPECT_EQ(arc.read("kopfdata.ddb"),
              HeaderRecordBytes({}) + HeaderRecordBytes({"Nikon", "", "UV", "", "", "", "f8"}) +
                  HeaderRecordBytes({"", "", "", "", "", "", "", "01.01.99"}));
}

TEST_F(HeaderData, AFailedDeleteKeepsTheValuesAndTheNamesAreLabels) {
    OpenSlides(2);
    arc.write("kopfdata.ddb", HeaderRecordBytes({"Leica"}));
    OnSlide(1, [&](HeaderDataDialog& d) {
        std::filesystem::remove(arc.path("kopfdata.ddb"));
        d.deleteButton->click(); // error 31
        EXPECT_EQ(d.valueBoxes[0]->currentText(), QStringLiteral("Leica"));
        EXPECT_EQ(st().currentStatus, 20);
    });
    EXPECT_EQ(Errors(), std::vector<int>{31});
    // The slide number has its label; the names read as labels, read-only for every reader.
    const auto labels = dialog()->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [this](QLabel* l) {
        return l->text() == QStringLiteral("Dia-Nr.") && l->buddy() == dialog()->slideNumberEdit;
    }));
    for (QLineEdit* name : dialog()->fieldNameEdits)
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(name)->state().readOnly &&
                    !name->hasFrame());
}

TEST_F(HeaderData, FieldNamesAndProposalsAreReplacedInPlace) {
    OpenSlides(1);
    const std::string ini = arc.read("DIA.INI");
    arc.write("DIA.INI", ini + "[KOPFDATA]\r\nFELDNAMEN=Kamera,Objektiv\r\n4=24x36,6x6,6x7\r\n");
    HeaderFieldNamesDialog* d = records().headerFieldNamesDialog();
    WhenShown w(d, [d] {
        d->fieldNameList->setCurrentIndex(1);
        d->fieldNameEdit->clear();
        d->renameButton->click(); // empty: the warning, nothing stored
        d->fieldNameEdit->setText(QStringLiteral("Zoom"));
        d->renameButton->click();
        d->fieldNameList->setCurrentIndex(4);
        d->proposalList->setCurrentIndex(1);
        EXPECT_EQ(d->proposalEdit->text(), QStringLiteral("6x6"));
        d->proposalEdit->setText(QStringLiteral("4x5"));
        d->replaceButton->click();
        d->closeButton->click();
    });
    main().findAction(QString::fromUtf8("Kopfdaten&felder ändern..."))->trigger();
    EXPECT_EQ(arc.read("DIA.INI"), ini + "[KOPFDATA]\r\nFELDNAMEN=Kamera,Zoom,Filter,Filmtyp,"
                                         "Format,Belichtung,Blende,Datum\r\n4=24x36,4x5,6x7\r\n");
    EXPECT_EQ(StatusCount(15) + StatusCount(22), 2);
    OnSlide(1, [](HeaderDataDialog& dlg) {
        EXPECT_EQ(dlg.fieldNameEdits[1]->text(), QStringLiteral("Zoom"));
    });
}

TEST_F(RecordsTest, BoxLabelsGoIntoTheirSectionsAndEveryOtherLineStays) {
    OpenSlides(1);
    const std::string kept = "[K001]\r\nT1=Alt\r\nT2=Alt\r\n; Notiz\r\n[Sonst]\r\nX=1\r\n";
    arc.write("KASTEN.INI", kept);
    BoxLabelsDialog* d = search().boxLabelsDialog();
    WhenShown w(d, [&] {
        for (auto [box, magazine, theme] : {std::array<const char*, 3>{"1a", "x", "y"},
                                            {"000", "x", "y"},
                                            {"256", "x", "y"},
                                            {"-5", "x", "y"},
                                            {"7", "Urlaub 1997", "Toskana"},
                                            {"42", "Nord", "Meer"},
                                            {"100", "Süd", ""},
                                            {"007", "Urlaub 1998", "Rom"}}) {
            d->boxEdit->setText(QString::fromUtf8(box));
            d->magazineEdit->setText(QString::fromUtf8(magazine));
            d->themeEdit->setText(QString::fromUtf8(theme));
            d->saveButton->click();
            EXPECT_EQ(st().currentStatus, 20) << box; // also after an error
        }
        d->cancelButton->click();
    });
    search().EnterBoxLabels();
    EXPECT_EQ(Errors(), (std::vector<int>{29, 5, 5, 5}));
    EXPECT_EQ(arc.read("KASTEN.INI"), kept + "[K007]\r\nT1=Urlaub 1998\r\nT2=Rom\r\n[K042]\r\n"
                                             "T1=Nord\r\nT2=Meer\r\n[K100]\r\nT1=S\xfc"
                                             "d\r\nT2=\r\n");
}

} // namespace
} // namespace lumo::test
