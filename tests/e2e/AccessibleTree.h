#pragma once
#include <QString>

// Prints the AT-SPI tree of the application with that name, one "role|name|states" line
// per visible object (states: selected, focused) indented by its depth; 0 when printed,
// 1 when it did not appear in time.
int PrintAccessibleTree(const QString& application, double timeoutSeconds);

// Waits for the accessibility event that assistive tools would hear: KIND "focus" (an
// object named TEXT takes the focus) or "name" (an object's name becomes TEXT). Prints
// "ready" once registered for it; 0 when seen, 1 when not in time.
int WaitForAnnouncement(const QString& kind, const QString& text, double timeoutSeconds);
