// Header data entry opened from the result list and the menu, and the field names window;
// kopfdata.ddb and DIA.INI compared with bytes written from the format tables.
#include "RecordsFixture.h"

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
    void OnSlide(int slide, std::function<void(HeaderDataDialog&)> act) {
        WhenShown w(dialog(), [this, &act] { act(*dialog()); });
        search().ShowHeaderData(slide);
    }
};

TEST_F(HeaderData, EveryOpeningReadsTheSlideAndSavingKeepsTheOtherValues) {
    OpenSlides(3);
    arc.write("kopfdata.ddb", HeaderRecordBytes({}) + HeaderRecordBytes({"Nikon", "", "UV"}));
    OnSlide(2, [](HeaderDataDialog& d) { d.closeButton->click(); });
    QString camera;
    OnSlide(2, [&](HeaderDataDialog& d) {
        camera = d.valueBoxes[0]->currentText();
        d.valueBoxes[6]->setEditText(QStringLiteral("f8"));
        d.okButton->click();
        d.slideNumberEdit->setText(QStringLiteral("3"));
        for (int i = 0; i < 7; ++i)
            d.valueBoxes[static_cast<size_t>(i)]->setEditText(QString());
        d.valueBoxes[7]->setEditText(QStringLiteral("01.01.99")); // "Datum" alone
        d.okButton->click();
        d.closeButton->click();
    });
    EXPECT_EQ(camera, QStringLiteral("Nikon"));
    EXPECT_EQ(arc.read("kopfdata.ddb"),
              HeaderRecordBytes({}) + HeaderRecordBytes({"Nikon", "", "UV", "", "", "", "f8"}) +
                  HeaderRecordBytes({"", "", "", "", "", "", "", "01.01.99"}));
}

TEST_F(HeaderData, AFailedDeleteKeepsTheValuesShownAndTheStatusLine) {
    OpenSlides(2);
    arc.write("kopfdata.ddb", HeaderRecordBytes({"Leica"}));
    QString camera;
    int status = 0;
    OnSlide(1, [&](HeaderDataDialog& d) {
        std::filesystem::remove(arc.path("kopfdata.ddb"));
        d.deleteButton->click(); // error 31
        camera = d.valueBoxes[0]->currentText();
        status = st().currentStatus;
        d.closeButton->click();
    });
    EXPECT_EQ(Errors(), std::vector<int>{31});
    EXPECT_EQ(camera, QStringLiteral("Leica"));
    EXPECT_EQ(status, 20);
}

TEST_F(HeaderData, TheSlideNumberIsLabelledAndTheNamesAreReadOnly) {
    OpenSlides(1);
    QLabel* numberLabel = nullptr;
    for (QLabel* l : dialog()->findChildren<QLabel*>())
        if (l->text() == QStringLiteral("Dia-Nr."))
            numberLabel = l;
    ASSERT_NE(numberLabel, nullptr);
    EXPECT_EQ(numberLabel->buddy(), dialog()->slideNumberEdit);
    for (QLineEdit* name : dialog()->fieldNameEdits) {
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(name)->state().readOnly);
        EXPECT_FALSE(name->hasFrame());
    }
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
    QString secondName;
    OnSlide(1, [&](HeaderDataDialog& dlg) {
        secondName = dlg.fieldNameEdits[1]->text();
        dlg.closeButton->click();
    });
    EXPECT_EQ(secondName, QStringLiteral("Zoom"));
}

} // namespace
} // namespace lumo::test
