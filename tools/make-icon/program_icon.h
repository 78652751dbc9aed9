// The program's icon, drawn in code: a corner of a wooden board, its lines, two black stones and
// a white one, and a check mark, on a 256 x 256 canvas. make-icon writes it as SVG and PNG for
// the install; the program paints it for its window and About box when first shown.
#pragma once

#include <QIcon>
#include <QString>

class QPainter;

namespace zendra {

// Paints the icon into the square (0, 0, side, side) of `painter`.
void PaintProgramIcon(QPainter& painter, double side);
// The same shapes as an SVG document.
QString ProgramIconSvg();
// The icon as a QIcon that paints itself at each size asked for (nothing is read).
QIcon ProgramIcon();

}  // namespace zendra
