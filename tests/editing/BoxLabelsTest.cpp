// The box labels window from the menu: KASTEN.INI compared byte for byte.
#include "RecordsFixture.h"

#include "editing/BoxLabelsDialog.h"

#include <QLineEdit>
#include <QPushButton>

namespace lumo::test {
namespace {

TEST_F(RecordsTest, BoxLabelsGoIntoTheirSectionsAndEveryOtherLineStays) {
    OpenSlides(1);
    const std::string kept = "[K001]\r\nT1=Alt\r\nT2=Alt\r\n; Notiz\r\n[Sonst]\r\nX=1\r\n";
    arc.write("KASTEN.INI", kept);
    BoxLabelsDialog* d = search().boxLabelsDialog();
    std::vector<int> statusAfterError;
    WhenShown w(d, [&] {
        auto save = [&](const char* box, const char* magazine, const char* theme) {
            d->boxEdit->setText(QString::fromUtf8(box));
            d->magazineEdit->setText(QString::fromUtf8(magazine));
            d->themeEdit->setText(QString::fromUtf8(theme));
            d->saveButton->click();
        };
        for (const char* bad : {"1a", "000", "256", "-5"}) {
            save(bad, "x", "y");
            statusAfterError.push_back(st().currentStatus);
        }
        save("7", "Urlaub 1997", "Toskana");
        save("42", "Nord", "Meer");
        save("100", "Süd", "");
        save("007", "Urlaub 1998", "Rom");
        d->cancelButton->click();
    });
    search().EnterBoxLabels();
    EXPECT_EQ(Errors(), (std::vector<int>{29, 5, 5, 5}));
    EXPECT_EQ(statusAfterError, (std::vector<int>{20, 20, 20, 20}));
    EXPECT_EQ(arc.read("KASTEN.INI"), kept + "[K007]\r\nT1=Urlaub 1998\r\nT2=Rom\r\n"
                                             "[K042]\r\nT1=Nord\r\nT2=Meer\r\n"
                                             "[K100]\r\nT1=S\xfc"
                                             "d\r\nT2=\r\n");
}

} // namespace
} // namespace lumo::test
