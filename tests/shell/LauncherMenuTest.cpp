// The launcher of the notification-area icon, reached from the "Dienste" menu as well.
#include "ShellFixture.h"

#include "services/ServiceCommands.h"
#include "services/TrayIcon.h"

#include <QMenu>

using namespace lumo;
using namespace lumo::test;

namespace {

using LauncherMenuTest = ShellTest;

// "Dienste" keeps its own entries first; the launcher follows as a submenu with the tray
// menu's own entries, opened and used from the keyboard.
TEST_F(LauncherMenuTest, ServicesMenuReachesTheTrayLauncher) {
    startWith();
    QMenu* services = main().findAction(U("Dien&ste"))->menu();
    QStringList captions;
    for (QAction* a : services->actions())
        captions << (a->isSeparator() ? U("-") : a->text());
    EXPECT_EQ(captions, Caps("&Backup erstellen...|&Update History anzeigen...|"
                             "&System-Einstellungen...|-|&Drucker...|-|"
                             "&Letzte Änderung der Schlüssellisten revidieren...|-|&Programme"));
    QMenu* programs = services->actions().last()->menu();
    ASSERT_NE(programs, nullptr);
    EXPECT_EQ(programs->actions(), program->services().trayIcon().menu()->actions());

    QTest::keyClick(&main(), Qt::Key_S, Qt::AltModifier);
    ASSERT_TRUE(services->isVisible());
    QTest::keyClick(services, Qt::Key_P);
    ASSERT_TRUE(programs->isVisible());
    QTest::keyClick(programs, Qt::Key_Return); // the first entry, "Notepad"
    EXPECT_FALSE(services->isVisible());
    EXPECT_EQ(launcher().started(), QStringList{U("notepad.exe")});
}

} // namespace
