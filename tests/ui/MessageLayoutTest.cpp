// The message dialogs break their texts at the CRs the texts contain and nowhere else;
// a line too long for any dialog is wrapped into lines of even length.
#include "ui/MessagesFixture.h"

#include "shell/MainWindow.h"
#include "ui/MessageLayout.h"
#include "ui/NoticeDialog.h"
#include "ui/QuestionDialog.h"

#include <QLabel>
#include <QTextLayout>

using namespace lumo;
using namespace lumo::test;

namespace {

// The pieces a word-wrapped label of this width shows for one line, with their widths.
std::vector<qreal> WrappedPieces(const QFont& font, const QString& line, int width) {
    QTextLayout layout(line, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    std::vector<qreal> pieces;
    layout.beginLayout();
    for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
        l.setLineWidth(width);
        pieces.push_back(l.naturalTextWidth());
    }
    layout.endLayout();
    return pieces;
}

// Every CR line of the label stays whole when it fits into the widest dialog; a longer
// one is spread over its lines without a short rest.
void ExpectBreaksOnlyAtCr(const QLabel* label, const QString& what) {
    const QFontMetrics fm(label->font());
    for (const QString& line : label->text().split(QLatin1Char('\n'))) {
        const auto pieces = WrappedPieces(label->font(), line, label->width());
        if (fm.horizontalAdvance(line) <= kMaxMessageWidth) {
            EXPECT_EQ(pieces.size(), 1u) << what.toStdString() << ": " << line.toStdString();
            continue;
        }
        for (qreal w : pieces)
            EXPECT_GE(w, label->width() / 2) << what.toStdString() << ": " << line.toStdString();
    }
}

} // namespace

TEST_F(MessagesTest, EveryMessageBreaksOnlyAtItsCrs) {
    state.counters.totalRecords = 12345;
    state.searchText = "Sonnenuntergang";
    for (int n = 0; n < 100; ++n) {
        if (catalog.ErrorText(n).isEmpty())
            continue;
        catalog.ShowError(n);
        ExpectBreaksOnlyAtCr(catalog.questionDialog()->messageLabel,
                             QStringLiteral("Fehler %1").arg(n));
    }
    catalog.ShowNotice(MainWindow::AnalysisNoticeText());
    ExpectBreaksOnlyAtCr(catalog.noticeDialog()->messageLabel, QStringLiteral("Analyse"));

    catalog.AskConfirmation(U("Sollen die bereits erfassten Schlüssel alle wieder gelöscht "
                              "werden ?"));
    ExpectBreaksOnlyAtCr(catalog.questionDialog()->messageLabel, QStringLiteral("Frage"));
}
