#pragma once
// The named screen colours of the program's windows.
#include <QColor>

namespace lumo::colour {

inline const QColor Lime(0, 255, 0);
inline const QColor Aqua(0, 255, 255);
inline const QColor Fuchsia(255, 0, 255);
inline const QColor Yellow(255, 255, 0);
inline const QColor Red(255, 0, 0);
inline const QColor Blue(0, 0, 255);

} // namespace lumo::colour
