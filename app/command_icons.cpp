#include "app/command_icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <algorithm>

namespace zendra {
namespace {

// The style: everything is drawn on a 24 x 24 grid in one ink, with one accent colour; a
// disabled icon is drawn in grey.
constexpr double kGrid = 24;
const QColor kInk(0x33, 0x3d, 0x47);
const QColor kAccent(0x1f, 0x6f, 0xc8);
const QColor kWood(0xdc, 0xb3, 0x5c);
const QColor kStop(0xc6, 0x2b, 0x2b);
const QColor kDisabled(0xa0, 0xa4, 0xa8);

struct Pens {
  QColor ink;
  QColor accent;
  QColor wood;
  QColor stop;
};

QPen Stroke(const QColor& c, double w = 2.0) {
  return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A triangle pointing left (dir -1) or right (dir 1), its tip at x.
void Triangle(QPainter& p, double x, int dir, const QColor& fill) {
  QPainterPath t;
  t.moveTo(x, 12);
  t.lineTo(x - dir * 7, 5);
  t.lineTo(x - dir * 7, 19);
  t.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(t);
}

void Bar(QPainter& p, double x, const QColor& c) {
  p.setPen(Stroke(c, 2.5));
  p.drawLine(QPointF(x, 5), QPointF(x, 19));
}

void Magnifier(QPainter& p, const Pens& c) {
  p.setPen(Stroke(c.ink, 2.2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
  p.setPen(Stroke(c.ink, 3.2));
  p.drawLine(QPointF(15, 15), QPointF(21, 21));
}

void Speaker(QPainter& p, const Pens& c) {
  QPainterPath s;
  s.moveTo(3, 9);
  s.lineTo(7, 9);
  s.lineTo(12, 4);
  s.lineTo(12, 20);
  s.lineTo(7, 15);
  s.lineTo(3, 15);
  s.closeSubpath();
  p.setPen(Stroke(c.ink, 1.5));
  p.setBrush(c.ink);
  p.drawPath(s);
}

// A circular arrow, open at the top right, its head at the end of the arc.
void RoundArrow(QPainter& p, const Pens& c) {
  p.setPen(Stroke(c.accent, 2.4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(4.5, 4.5, 15, 15), 60 * 16, 290 * 16);
  QPainterPath head;
  head.moveTo(19.5, 3);
  head.lineTo(19.5, 10);
  head.lineTo(12.5, 9);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(c.accent);
  p.drawPath(head);
}

void Draw(QPainter& p, CommandIcon which, const Pens& c) {
  switch (which) {
    case CommandIcon::kOpen: {
      QPainterPath back;
      back.moveTo(2.5, 6);
      back.lineTo(9, 6);
      back.lineTo(11, 8);
      back.lineTo(20.5, 8);
      back.lineTo(20.5, 19);
      back.lineTo(2.5, 19);
      back.closeSubpath();
      p.setPen(Stroke(c.ink, 1.6));
      p.setBrush(c.wood);
      p.drawPath(back);
      QPainterPath front;
      front.moveTo(2.5, 19);
      front.lineTo(6, 11);
      front.lineTo(22.5, 11);
      front.lineTo(20.5, 19);
      front.closeSubpath();
      p.setBrush(c.wood.lighter(115));
      p.drawPath(front);
      break;
    }
    case CommandIcon::kIndex:
      p.setPen(Stroke(c.ink, 1.4));
      p.setBrush(c.wood);
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) p.drawRect(QRectF(2.5 + 7 * i, 2.5 + 7 * j, 5, 5));
      break;
    case CommandIcon::kSolveIt:
      p.setPen(Stroke(c.ink, 1.6));
      p.setBrush(c.wood);
      p.drawRect(QRectF(2.5, 2.5, 19, 19));
      p.setPen(Stroke(c.ink, 1.0));
      for (int i = 1; i < 4; ++i) {
        p.drawLine(QPointF(2.5 + 4.75 * i, 2.5), QPointF(2.5 + 4.75 * i, 21.5));
        p.drawLine(QPointF(2.5, 2.5 + 4.75 * i), QPointF(21.5, 2.5 + 4.75 * i));
      }
      p.setPen(Stroke(c.ink, 1.2));
      p.setBrush(c.ink);
      p.drawEllipse(QPointF(12, 12), 4.2, 4.2);
      break;
    case CommandIcon::kFirstProblem:
      Bar(p, 6, c.ink);
      Triangle(p, 8, -1, c.accent);
      break;
    case CommandIcon::kPriorProblem:
      Triangle(p, 8.5, -1, c.accent);
      break;
    case CommandIcon::kNextProblem:
      Triangle(p, 15.5, 1, c.accent);
      break;
    case CommandIcon::kLastProblem:
      Triangle(p, 16, 1, c.accent);
      Bar(p, 18, c.ink);
      break;
    case CommandIcon::kFirstPage:
      Bar(p, 3, c.ink);
      Triangle(p, 5, -1, c.accent);
      Triangle(p, 12, -1, c.accent);
      break;
    case CommandIcon::kPriorPage:
      Triangle(p, 5, -1, c.accent);
      Triangle(p, 12, -1, c.accent);
      break;
    case CommandIcon::kNextPage:
      Triangle(p, 12, 1, c.accent);
      Triangle(p, 19, 1, c.accent);
      break;
    case CommandIcon::kLastPage:
      Triangle(p, 12, 1, c.accent);
      Triangle(p, 19, 1, c.accent);
      Bar(p, 21, c.ink);
      break;
    case CommandIcon::kSolveAgain:
      RoundArrow(p, c);
      break;
    case CommandIcon::kBack: {
      QPainterPath bend;
      bend.moveTo(8, 9);
      bend.lineTo(15, 9);
      bend.cubicTo(21, 9, 21, 19, 15, 19);
      bend.lineTo(10, 19);
      p.setPen(Stroke(c.accent, 2.4));
      p.setBrush(Qt::NoBrush);
      p.drawPath(bend);
      QPainterPath head;
      head.moveTo(2.5, 9);
      head.lineTo(9, 3.5);
      head.lineTo(9, 14.5);
      head.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(c.accent);
      p.drawPath(head);
      break;
    }
    case CommandIcon::kNextVariation: {
      p.setPen(Stroke(c.ink, 2.2));
      p.setBrush(Qt::NoBrush);
      p.drawLine(QPointF(3, 12), QPointF(9, 12));
      QPainterPath up;
      up.moveTo(9, 12);
      up.cubicTo(12, 12, 12, 6, 16, 6);
      p.drawPath(up);
      p.setPen(Stroke(c.accent, 2.2));
      QPainterPath down;
      down.moveTo(9, 12);
      down.cubicTo(12, 12, 12, 18, 16, 18);
      p.drawPath(down);
      p.setPen(Qt::NoPen);
      p.setBrush(c.ink);
      p.drawPolygon(QPolygonF({QPointF(21.5, 6), QPointF(15.5, 2.5), QPointF(15.5, 9.5)}));
      p.setBrush(c.accent);
      p.drawPolygon(QPolygonF({QPointF(21.5, 18), QPointF(15.5, 14.5), QPointF(15.5, 21.5)}));
      break;
    }
    case CommandIcon::kResult: {
      p.setPen(Stroke(c.accent, 2.0));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
      QPainterPath q;
      q.moveTo(8.8, 9.5);
      q.cubicTo(8.8, 5.5, 15.2, 5.5, 15.2, 9.5);
      q.cubicTo(15.2, 12, 12, 12, 12, 14.5);
      p.setPen(Stroke(c.ink, 2.2));
      p.drawPath(q);
      p.setPen(Qt::NoPen);
      p.setBrush(c.ink);
      p.drawEllipse(QPointF(12, 17.8), 1.4, 1.4);
      break;
    }
    case CommandIcon::kHint: {
      QPainterPath bulb;
      bulb.moveTo(9, 16);
      bulb.cubicTo(9, 13, 5, 11.5, 5, 8.5);
      bulb.cubicTo(5, 4.5, 8.5, 2, 12, 2);
      bulb.cubicTo(15.5, 2, 19, 4.5, 19, 8.5);
      bulb.cubicTo(19, 11.5, 15, 13, 15, 16);
      bulb.closeSubpath();
      p.setPen(Stroke(c.ink, 1.6));
      p.setBrush(QColor(0xff, 0xd8, 0x4a));
      if (c.accent == kDisabled) p.setBrush(Qt::NoBrush);
      p.drawPath(bulb);
      p.setPen(Stroke(c.ink, 1.8));
      p.drawLine(QPointF(9.5, 18.5), QPointF(14.5, 18.5));
      p.drawLine(QPointF(10.5, 21), QPointF(13.5, 21));
      break;
    }
    case CommandIcon::kTry:
      p.setPen(Stroke(c.ink, 1.0));
      p.setBrush(c.ink);
      p.drawEllipse(QPointF(10, 10), 3.8, 3.8);
      Magnifier(p, c);
      break;
    case CommandIcon::kStopTry:
      p.setPen(Stroke(c.stop, 1.5));
      p.setBrush(c.stop);
      p.drawRoundedRect(QRectF(5, 5, 14, 14), 2, 2);
      break;
    case CommandIcon::kZoomIn:
    case CommandIcon::kZoomOut:
      Magnifier(p, c);
      p.setPen(Stroke(c.accent, 2.0));
      p.drawLine(QPointF(7, 10), QPointF(13, 10));
      if (which == CommandIcon::kZoomIn) p.drawLine(QPointF(10, 7), QPointF(10, 13));
      break;
    case CommandIcon::kSoundOn:
      Speaker(p, c);
      p.setPen(Stroke(c.accent, 1.8));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(10, 7, 8, 10), -50 * 16, 100 * 16);
      p.drawArc(QRectF(9, 3.5, 13, 17), -50 * 16, 100 * 16);
      break;
    case CommandIcon::kSoundOff:
      Speaker(p, c);
      p.setPen(Stroke(c.stop, 2.2));
      p.drawLine(QPointF(15, 8.5), QPointF(21, 15.5));
      p.drawLine(QPointF(21, 8.5), QPointF(15, 15.5));
      break;
  }
}

class CommandIconEngine final : public QIconEngine {
 public:
  explicit CommandIconEngine(CommandIcon which) : which_(which) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    const bool off = mode == QIcon::Disabled;
    const Pens pens{off ? kDisabled : kInk, off ? kDisabled : kAccent,
                    off ? kDisabled.lighter(125) : kWood, off ? kDisabled : kStop};
    const double side = std::min(rect.width(), rect.height());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2);
    painter->scale(side / kGrid, side / kGrid);
    Draw(*painter, which_, pens);
    painter->restore();
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    QPixmap pm(size * scale);
    pm.fill(Qt::transparent);
    {
      QPainter p(&pm);
      paint(&p, QRect(QPoint(0, 0), size * scale), mode, state);
    }
    pm.setDevicePixelRatio(scale);
    return pm;
  }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
  QString key() const override { return QStringLiteral("zendra-command-icon"); }
  QIconEngine* clone() const override { return new CommandIconEngine(which_); }

 private:
  CommandIcon which_;
};

}  // namespace

QIcon MakeCommandIcon(CommandIcon which) { return QIcon(new CommandIconEngine(which)); }

}  // namespace zendra
