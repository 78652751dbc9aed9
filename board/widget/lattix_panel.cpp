// The information column right of the board: event, players, handicap and komi, clocks, the
// result and the hovered coordinate, plus the corner mark. Texts the board makes are Simplified
// Chinese in GB bytes (English with Language 2); they reach the screen through DecodeChinese.
#include <iconv.h>

#include <QPainter>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>

#include "board/widget/lattix.h"

namespace zendra {

namespace {

QRect Box(int x1, int y1, int x2, int y2) { return QRect(x1, y1, x2 - x1, y2 - y1); }

// GB2312 bytes of the board's own Chinese texts.
constexpr char kGbBet[] = "\xB6\xC4";                                     // bet
constexpr char kGbPoints[] = "\xB5\xE3";                                  // points
constexpr char kGbFee[] = "\xD6\xB8\xB5\xBC\xB7\xD1";                     // teaching fee
constexpr char kGbHandicap[] = "\xC8\xC3\xD7\xD3: ";                      // handicap:
constexpr char kGbTakesBlack[] = "\xC8\xC3\xCF\xC8";                      // takes black, no komi
constexpr char kGbKomi[] = "\xCC\xF9\xD7\xD3: ";                          // komi:
constexpr char kGbMustPlay[] = "\xB1\xD8\xD0\xEB\xCF\xC2";                // must play
constexpr char kGbMoves[] = "\xB2\xBD";                                   // moves
constexpr char kGbOverDraw[] = "\xBD\xE1\xCA\xF8, \xBA\xCD\xC6\xE5    ";  // over, draw
constexpr char kGbOver[] = "\xBD\xE1\xCA\xF8, ";                          // over,
constexpr char kGbBlackSide[] = "\xBA\xDA\xB7\xBD";                       // black
constexpr char kGbWhiteSide[] = "\xB0\xD7\xB7\xBD";                       // white
constexpr char kGbWins[] = "\xBB\xF1\xCA\xA4";                            // wins

// The strip each panel line clears: top and bottom.
struct Strip {
  int top;
  int bottom;
};

}  // namespace

QString DecodeChinese(const std::string& bytes, bool big5) {
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  iconv_t cd = iconv_open("UTF-8", big5 ? "BIG5" : "GB18030");
  if (cd == reinterpret_cast<iconv_t>(-1))
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  std::string out;
  std::string input = bytes;
  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[256];
  while (inLeft > 0) {
    char* o = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t done = iconv(cd, &in, &inLeft, &o, &outLeft);
    out.append(buffer, static_cast<std::size_t>(o - buffer));
    if (done == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // An invalid or cut-off sequence: one replacement character, then on past that byte.
      out.append("\xEF\xBF\xBD");
      ++in;
      --inLeft;
    }
  }
  iconv_close(cd);
  return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}

int TLattix::InfoFontSize() const {
  const int r = Radius();
  if (!IsGoLike()) return r < 26 ? r / 2 : 12;
  if (r >= 12) return 12;
  if (r >= 10) return 11;
  if (r >= 8) return 10;
  return 9;
}

QString TLattix::PanelText(const std::string& gbText) {
  const bool big5 = Language() == 1 && OnToBig5 != nullptr;
  return DecodeChinese(ChineseText(gbText), big5);
}

void TLattix::PaintText(int x, int y, const QString& text, int pointSize, QColor colour,
                        bool bold) {
  if (text.isEmpty()) return;
  QPainter& p = *painter_;
  QFont f = font();
  f.setPixelSize(std::max(1, (pointSize * 4 + 1) / 3));  // points at 96 dots per inch
  f.setBold(bold);
  p.setFont(f);
  p.setPen(colour);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  QRect drawn;
  p.drawText(QRect(x, y, std::max(1, width() - x), 200), Qt::AlignLeft | Qt::AlignTop, text,
             &drawn);
  Touch(drawn);
}

void TLattix::PaintCornerMark() {
  const QRect mark = Box(width() - 8, height() - 12, width() - 3, height() - 3);
  if (NotBother()) {
    painter_->fillRect(mark, Qt::black);
    painter_->setPen(QPen(Qt::red, 1));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(mark.adjusted(0, 0, -1, -1));
  } else {
    painter_->fillRect(mark, BackgroundBrush());
  }
  Touch(mark);
}

void TLattix::PaintClock(int side) {
  const int bw = BoardWidth(), x0 = bw + 30;
  const int y = side == 0 ? 220 : 140;
  const int32_t limit = TimeLimit();
  if (limit <= 0 || limit >= INT32_MAX) return;
  QPainter& p = *painter_;
  const int32_t n = TimeLeft(side);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(Box(x0, y + 3, bw + 92, y + 10).adjusted(0, 0, -1, -1));
  p.drawRect(Box(x0, y + 10, bw + 92, y + 17).adjusted(0, 0, -1, -1));
  const int w = static_cast<int>(static_cast<int64_t>(n) * 60 / limit);
  if (w > 0) p.fillRect(Box(bw + 31, y + 4, bw + 31 + w, y + 9), Qt::red);
  const int32_t secs = std::max<int32_t>(n, 0);
  QString time = QString::asprintf("%2.2d:%2.2d:%2.2d", secs / 3600, secs / 60 % 60, secs % 60);
  if (ByoYomiCount() > 0 && ByoYomiLimit() > 0 && ByoYomiLimit() >= n) {
    const int b = std::max(1, ByoYomiLimit() / ByoYomiCount());
    time += QStringLiteral("  %1 %2").arg(secs / b).arg(secs % b);
    const int w2 = (secs % b) * 60 / b;
    if (w2 > 0) p.fillRect(Box(bw + 31, y + 11, bw + 31 + w2, y + 16), Qt::red);
  }
  QString moves;
  const int m = MovesLeft(side);
  if (MoveLimit() > 0 && m > 0) {
    moves = Language() == 2 ? QStringLiteral("At least %1 moves").arg(m)
                            : PanelText(kGbMustPlay + std::to_string(m) + kGbMoves);
  }
  const int f = InfoFontSize();
  PaintText(x0, y + 20, time, f, Qt::black);
  PaintText(x0, y + 40, moves, f, Qt::black);
}

void TLattix::PaintInfoLine(InfoLine line) {
  if (line == InfoLine::CornerMark) {
    if (!NoBoard()) PaintCornerMark();
    return;
  }
  if (DisplayInfo() == 0) return;
  const bool clock = line == InfoLine::BlackClock || line == InfoLine::WhiteClock;
  if (NoBoard() && !clock) return;
  const int bw = BoardWidth(), bh = BoardHeight();
  const int x0 = bw + 30;
  const int f = InfoFontSize();
  const bool english = Language() == 2;
  auto clear = [&](Strip s, int left) { FillInfoRect(Box(left, s.top, width() - 1, s.bottom)); };
  switch (line) {
    case InfoLine::Event: {
      clear({60, 80}, x0);
      const int32_t fee = Fee();
      QString text;
      if (fee == 0) {
        text = PanelText(Event());
      } else {
        const int64_t n = fee > 0 ? fee : -static_cast<int64_t>(fee);
        const std::string digits = std::to_string(n);
        if (english)
          text = QString::fromLatin1(fee > 0 ? "Bet " : "Fee: ") + QString::fromStdString(digits) +
                 (n > 1 ? " points" : " point");
        else
          text = PanelText((fee > 0 ? kGbBet : kGbFee) + digits + kGbPoints);
      }
      PaintText(x0, 60, text, f, Qt::black);
      break;
    }
    case InfoLine::Handicap: {
      clear({80, 100}, x0);
      if (Handicap() <= 0) break;
      std::string text = english ? "Handicap: " : kGbHandicap;
      if (GameKind() == kGo) {
        if (Handicap() >= 2)
          text += std::to_string(Handicap());
        else
          text += english ? " 1" : kGbTakesBlack;
      }
      PaintText(x0, 80, english ? QString::fromStdString(text) : PanelText(text), f, Qt::black);
      break;
    }
    case InfoLine::Komi: {
      clear({100, 120}, x0);
      std::string text = english ? "Atone: " : kGbKomi;
      if (GameKind() == kGo) text += QString::number(Atone() / 4.0, 'f', 2).toStdString();
      PaintText(x0, 100, english ? QString::fromStdString(text) : PanelText(text), f, Qt::black);
      break;
    }
    case InfoLine::WhitePlayer:
    case InfoLine::BlackPlayer: {
      const int side = line == InfoLine::BlackPlayer ? 0 : 1;
      const int top = side == 0 ? 200 : 120;
      clear({top, top + 24}, x0);
      PaintText(x0, top, DecodeChinese(PlayerName(side) + "  "), f, Qt::black, Bold() == side);
      break;
    }
    case InfoLine::WhiteClock:
    case InfoLine::BlackClock: {
      const int side = line == InfoLine::BlackClock ? 0 : 1;
      const int top = side == 0 ? 220 : 140;
      clear({top, top + 60}, x0);
      PaintClock(side);
      break;
    }
    case InfoLine::Result: {
      clear({280, 304}, bw + 10);
      const int8_t w = Winner();
      if (w < 0 || w > 2) break;
      QString text;
      if (w == kDraw) {
        text = english ? QStringLiteral("Over, Draw    ") : PanelText(kGbOverDraw);
      } else if (english) {
        text = QStringLiteral("Over, %1 win").arg(w == kBlackWon ? "Black" : "White");
      } else {
        text = PanelText(std::string(kGbOver) + (w == kBlackWon ? kGbBlackSide : kGbWhiteSide) +
                         kGbWins);
      }
      PaintText(bw + 10, 280, text, 12, Qt::red);
      break;
    }
    case InfoLine::Coordinate:
      clear({bh - 16, bh}, x0);
      PaintText(x0, bh - 16, HintStr(), f, Qt::black);
      break;
    case InfoLine::CornerMark:
      break;
  }
}

}  // namespace zendra
