#pragma once
#include <QString>

// Prints the AT-SPI tree of the application with that name, one "role|name|states" line
// per visible object (states: selected, focused) indented by its depth; 0 when printed,
// 1 when it did not appear in time.
int PrintAccessibleTree(const QString& application, double timeoutSeconds);
