// The main window is laid out for fonts of fixed metrics: every font it names must be the
// one it gets (Liberation Sans for the lists, Liberation Serif for the title), not a
// fallback of other widths.
#include "ProgramFixture.h"

#include <QFontInfo>
#include <QSet>
#include <QWidget>

using namespace lumo;
using namespace lumo::test;

class FontTest : public ProgramTest {};

TEST_F(FontTest, EveryNamedFontOfTheMainWindowIsInstalled) {
    writeSimpleRecords(1);
    writeIniWithSlides(1);
    start();
    const QString defaultFamily = QWidget().font().family();
    QSet<QString> named;
    QList<QWidget*> widgets = main().findChildren<QWidget*>();
    widgets.append(&main());
    for (QWidget* w : widgets) {
        const QFont font = w->font();
        if (font.family() == defaultFamily || named.contains(font.family()))
            continue;
        named.insert(font.family());
        EXPECT_EQ(QFontInfo(font).family().toStdString(), font.family().toStdString())
            << "font of " << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
    EXPECT_TRUE(named.contains(QStringLiteral("Liberation Sans")));
    EXPECT_TRUE(named.contains(QStringLiteral("Liberation Serif")));
}
